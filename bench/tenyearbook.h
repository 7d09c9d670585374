#pragma once

// The book the benchmarks run on: 20 consultants, 40 time rows, a busy page
// for every day of N years (ten unless `--years=N` says otherwise), on the
// db.mdb file or on a PostgreSQL server (QUILLON_TEST_PG names its
// maintenance database, as for the tests; ./test.sh's scripts/test-server.sh
// starts one). One size per run: bench/book-sizes.sh runs each size.
#include "benchplace.h"
#include "book/core/bookcontroller.h"
#include "book/pages/pagestore.h"
#include "book/pages/pagetext.h"
#include "store/core/schema.h"
#include "store/core/searchindex.h"
#include "store/core/settings.h"
#include "ui/core/desktop.h"
#include "ui/core/windows.h"

#include <QElapsedTimer>
#include <QFile>
#include <QSqlError>
#include <QSqlQuery>

namespace bench {

inline constexpr int Consultants = 20;
inline const QDate FirstDay(2017, 1, 1);
// The book's years and days, set by `--years=N` before any book is made.
inline int Years = 10;
inline int Days = 3652;

inline void setYears(int years)
{
    Years = years;
    Days = static_cast<int>(FirstDay.daysTo(FirstDay.addYears(years)));
}

// Takes `--years=N` off the command line (the benchmark library refuses
// flags it does not know).
inline void takeYears(int &argc, char **argv)
{
    int out = 1;
    for (int i = 1; i < argc; ++i) {
        const QByteArray a(argv[i]);
        if (a.startsWith("--years="))
            setYears(std::max(1, a.mid(8).toInt()));
        else
            argv[out++] = argv[i];
    }
    argc = out;
    benchmark::AddCustomContext("book_years", std::to_string(Years));
}

struct Book : Desk {
    std::unique_ptr<book::BookController> controller;
    double indexMs = 0;   // building the search index of the book
    double generateMs = 0;

    explicit Book(Engine engine) : Desk(engine)
    {
        if (!open())
            return;
        // 07:00 AM to 04:45 PM by 15 minutes: 40 time rows.
        QStringList names;
        for (int c = 1; c <= Consultants; ++c)
            names << QStringLiteral("Consultant %1").arg(c);
        store::SettingsStore(db).write({{"open", "07:00 AM"}, {"Close", "04:45 PM"}, {"timeslot", 15},
                                        {"Listno", Consultants}, {"names", book::page::joinList(names)}});
        const int rows = book::page::dataRows(
            static_cast<int>(book::page::timeRows(7 * 60, 16 * 60 + 45, 15).size()));
        QElapsedTimer generating;
        generating.start();
        // Every page in one transaction, through two statements prepared
        // once: thirty years are made in seconds. The five page texts differ
        // only by the day modulo five; each is made once.
        db.beginWrite();
        QStringList texts;
        for (int d = 0; d < 5; ++d) {
            book::page::Cells cells(static_cast<size_t>(rows));
            for (int r = 0; r < rows; ++r)
                for (int c = 0; c < Consultants; ++c)
                    cells[static_cast<size_t>(r)] << ((r + c + d) % 5 == 0 ? QString()
                                                                           : QStringLiteral("Patient %1-%2").arg(r).arg(c));
            texts << book::page::encode(cells);
        }
        const QString joined = book::page::joinList(names);
        const std::vector<std::pair<QString, QVariant>> fields{
            {"CalDate", QVariant()}, {"Data", QVariant()}, {"location", "Office"}, {"open", "07:00 AM"},
            {"Close", "04:45 PM"}, {"timeslot", 15}, {"Listno", Consultants}, {"names", joined}, {"Memo", ""},
            {"CColor", "0"}, {"Spare", "0"}, {"Clinic", false}, {"BlankPage", ""}};
        QStringList columns, marks;
        for (const auto &f : fields) {
            columns << store::Dialect::quote(f.first);
            marks << QStringLiteral("?");
        }
        QSqlQuery page(db.connection()), color(db.connection());
        page.prepare(QStringLiteral("INSERT INTO %1 (%2) VALUES (%3)")
                         .arg(store::Dialect::quote(store::tables::Appt), columns.join(", "), marks.join(", ")));
        // The yes/no field as a boolean: a server column of that type takes
        // no number.
        for (int i = 2; i < static_cast<int>(fields.size()); ++i)
            page.bindValue(i, fields[static_cast<size_t>(i)].second);
        color.prepare(QStringLiteral("INSERT INTO %1 (%2, %3, %4) VALUES (?, ?, ?)")
                          .arg(store::Dialect::quote(store::tables::Color), store::Dialect::quote("caldate"),
                               store::Dialect::quote("CColor"), store::Dialect::quote("Spare")));
        color.bindValue(1, "0");
        color.bindValue(2, "0");
        for (int d = 0; d < Days; ++d) {
            const QVariant date = store::Database::toSql(FirstDay.addDays(d));
            page.bindValue(0, date);
            page.bindValue(1, texts[d % 5]);
            color.bindValue(0, date);
            if (!page.exec() || !color.exec())
                throw store::DbError::from(page.lastError().isValid() ? page.lastError() : color.lastError());
        }
        generateMs = static_cast<double>(generating.elapsed());
        // As the step that makes the index for an existing book does.
        QElapsedTimer indexing;
        indexing.start();
        store::SearchIndex::rebuild(db);
        indexMs = static_cast<double>(indexing.elapsed());
        db.commit();
        // A copy of the file for timing the program's start on it.
        if (const QString keep = qEnvironmentVariable("QUILLON_BENCH_KEEP"); !keep.isEmpty() && !db.onServer()) {
            QFile::remove(keep);
            QFile::copy(place.dir.filePath("db.mdb"), keep);
        }
        controller = std::make_unique<book::BookController>(services);
        controller->load(FirstDay);
        ready = true;
    }
};

// Made on first use, closed before the application object goes.
inline std::unique_ptr<Book> books[2];

// The book of an engine (of the years chosen), or null when that engine is
// not there.
inline Book *tenYearBook(Engine engine)
{
    auto &book = books[static_cast<int>(engine)];
    if (!book)
        book = std::make_unique<Book>(engine);
    return book->controller ? book.get() : nullptr;
}

} // namespace bench
