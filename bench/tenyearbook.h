#pragma once

// The ten-year book the benchmarks run on: 20 consultants, 40 time rows, a
// busy page for every day of ten years, on the db.mdb file or on a
// PostgreSQL server (QUILLON_TEST_PG names its maintenance database, as for
// the tests; ./test.sh's scripts/test-server.sh starts one).
#include "benchplace.h"
#include "book/core/bookcontroller.h"
#include "book/pages/pagestore.h"
#include "book/pages/pagetext.h"
#include "store/core/schema.h"
#include "store/core/searchindex.h"
#include "store/core/settings.h"
#include "ui/core/clipboard.h"
#include "ui/core/windows.h"

#include <QElapsedTimer>

namespace bench {

inline constexpr int Consultants = 20;
inline const QDate FirstDay(2017, 1, 1);
inline constexpr int Days = 3652;

struct Book : Desk {
    std::unique_ptr<book::BookController> controller;
    double indexMs = 0;   // building the search index of the ten years

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
        db.beginWrite();
        for (int d = 0; d < Days; ++d) {
            book::page::Cells cells(static_cast<size_t>(rows));
            for (int r = 0; r < rows; ++r)
                for (int c = 0; c < Consultants; ++c)
                    cells[static_cast<size_t>(r)] << ((r + c + d) % 5 == 0 ? QString()
                                                                           : QStringLiteral("Patient %1-%2").arg(r).arg(c));
            const QDate date = FirstDay.addDays(d);
            db.insert(store::tables::Appt, {{"CalDate", date}, {"Data", book::page::encode(cells)},
                                            {"location", "Office"}, {"open", "07:00 AM"},
                                            {"Close", "04:45 PM"}, {"timeslot", 15},
                                            {"Listno", Consultants}, {"names", book::page::joinList(names)},
                                            {"Memo", ""}, {"CColor", "0"}, {"Spare", "0"},
                                            {"Clinic", false}, {"BlankPage", ""}});
            db.insert(store::tables::Color, {{"caldate", date}, {"CColor", "0"}, {"Spare", "0"}});
        }
        // As the step that makes the index for an existing book does.
        QElapsedTimer indexing;
        indexing.start();
        store::SearchIndex::rebuild(db);
        indexMs = static_cast<double>(indexing.elapsed());
        db.commit();
        controller = std::make_unique<book::BookController>(services);
        controller->load(FirstDay);
        ready = true;
    }
};

// Made on first use, closed before the application object goes.
inline std::unique_ptr<Book> books[2];

// The ten-year book of an engine, or null when that engine is not there.
inline Book *tenYearBook(Engine engine)
{
    auto &book = books[static_cast<int>(engine)];
    if (!book)
        book = std::make_unique<Book>(engine);
    return book->controller ? book.get() : nullptr;
}

} // namespace bench
