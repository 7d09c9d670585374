#pragma once

// The ten-year book the benchmarks run on: 20 consultants, 40 time rows, a
// busy page for every day of ten years, on the db.mdb file or on a
// PostgreSQL server (QUILLON_TEST_PG names its maintenance database, as for
// the tests; ./test.sh's scripts/test-server.sh starts one).
#include "book/core/bookcontroller.h"
#include "book/pages/pagestore.h"
#include "store/core/conninfo.h"
#include "store/core/database.h"
#include "store/core/settings.h"
#include "book/pages/pagetext.h"
#include "store/core/schema.h"
#include "ui/core/appstate.h"
#include "ui/core/clipboard.h"
#include "ui/core/services.h"
#include "ui/core/windows.h"
#include "support/doubles/scriptedprompter.h"
#include "support/doubles/recordingwindows.h"
#include "support/doubles/memoryclipboard.h"
#include "support/doubles/recordingdesktop.h"
#include "support/doubles/fixedclock.h"

#include <QSqlDatabase>
#include <QSqlQuery>
#include <QTemporaryDir>
#include <QUuid>
#include <memory>

namespace bench {

inline constexpr int Consultants = 20;
inline const QDate FirstDay(2017, 1, 1);
inline constexpr int Days = 3652;

enum class Engine { Sqlite, Postgres };

// Where a benchmark's practice database is: db.mdb in a temporary folder, or
// a new database on the server, dropped at the end.
struct Place {
    Engine engine;
    QTemporaryDir dir;
    QString conninfo;
    QString dbName;

    explicit Place(Engine e) : engine(e)
    {
        if (e == Engine::Sqlite)
            return;
        const QString base = qEnvironmentVariable("QUILLON_TEST_PG");
        if (base.isEmpty())
            return;
        dbName = "quillon_bench_" + QUuid::createUuid().toString(QUuid::Id128).left(12);
        admin(base, "CREATE DATABASE " + dbName);
        auto info = store::ConnInfo::parse(base);
        info->set("dbname", dbName);
        conninfo = info->toString();
    }
    ~Place()
    {
        if (!dbName.isEmpty())
            admin(qEnvironmentVariable("QUILLON_TEST_PG"), "DROP DATABASE IF EXISTS " + dbName + " WITH (FORCE)");
    }
    bool usable() const { return engine == Engine::Sqlite || !conninfo.isEmpty(); }
    bool open(store::Database &db) const
    {
        return (engine == Engine::Sqlite ? db.open(dir.filePath("db.mdb")) : db.openServer(conninfo)).ok();
    }
    static void admin(const QString &conninfo, const QString &sql)
    {
        {
            QSqlDatabase a = QSqlDatabase::addDatabase("QPSQL", "bench-admin");
            a.setConnectOptions(conninfo);
            if (a.open())
                QSqlQuery(a).exec(sql);
        }
        QSqlDatabase::removeDatabase("bench-admin");
    }
};

struct Book {
    Place place;
    store::Database db;
    ui::ScriptedPrompter prompter;
    ui::RecordingWindows windows;
    ui::AppState state;
    ui::FixedClock clock;
    ui::MemoryClipboard clipboard;
    ui::RecordingDesktop desktop;
    std::unique_ptr<ui::Services> services;
    std::unique_ptr<book::BookController> controller;

    explicit Book(Engine engine) : place(engine)
    {
        if (!place.usable() || !place.open(db))
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
        db.commit();
        services = std::make_unique<ui::Services>(ui::Services{db, prompter, state, windows, clock, clipboard, desktop});
        controller = std::make_unique<book::BookController>(*services);
        controller->load(FirstDay);
    }
};

inline const char *const NoServer = "no server: set QUILLON_TEST_PG (scripts/test-server.sh start)";

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
