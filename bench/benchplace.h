#pragma once

// Where a benchmark's practice lives and the station around it: the db.mdb
// file in a temporary folder, or a new database on the PostgreSQL server that
// QUILLON_TEST_PG names (as for the tests; ./test.sh's scripts/test-server.sh
// starts one), dropped at the end.
#include "store/core/conninfo.h"
#include "store/core/database.h"
#include "support/doubles/fixedclock.h"
#include "support/doubles/memoryclipboard.h"
#include "support/doubles/recordingdesktop.h"
#include "support/doubles/recordingwindows.h"
#include "support/doubles/scriptedprompter.h"
#include "ui/core/appstate.h"
#include "ui/core/services.h"

#include <QSqlDatabase>
#include <QSqlQuery>
#include <QTemporaryDir>
#include <QUuid>
#include <benchmark/benchmark.h>
#include <memory>

namespace bench {

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

// A station over a practice database: the database and the services the
// controllers need, with the test doubles for the user and the desktop.
struct Desk {
    Place place;
    store::Database db;
    ui::ScriptedPrompter prompter;
    ui::RecordingWindows windows;
    ui::AppState state;
    ui::FixedClock clock;
    ui::MemoryClipboard clipboard;
    ui::RecordingDesktop desktop;
    ui::Services services{db, prompter, state, windows, clock, clipboard, desktop};
    bool ready = false;

    // Opens the database; false (the benchmark skips) without a server.
    explicit Desk(Engine e) : place(e) {}
    bool open() { return place.usable() && place.open(db); }
    ~Desk() { db.close(); }
};

inline const char *const NoServer = "no server: set QUILLON_TEST_PG (scripts/test-server.sh start)";

// The practice of each engine, made on first use and kept for the run.
template <typename P>
P *practiceFor(std::unique_ptr<P> (&made)[2], Engine e, benchmark::State &state)
{
    auto &p = made[static_cast<int>(e)];
    if (!p)
        p = std::make_unique<P>(e);
    if (!p->ready) {
        state.SkipWithError(NoServer);
        return nullptr;
    }
    return p.get();
}

} // namespace bench
