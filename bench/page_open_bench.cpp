// Opening a day page (find or create, build the grid, fill it) on a book
// holding ten years of busy pages: 20 consultants, 40 time rows; and four
// stations booking into one page at the same moment. Each on the db.mdb file
// and on a PostgreSQL server (QUILLON_TEST_PG names its maintenance database,
// as for the tests; ./test.sh's scripts/test-server.sh starts one).
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

#include <QCoreApplication>
#include <QSqlDatabase>
#include <QSqlQuery>
#include <QTemporaryDir>
#include <QUuid>
#include <benchmark/benchmark.h>
#include <atomic>
#include <memory>
#include <thread>
#include <vector>

namespace {

constexpr int Consultants = 20;
const QDate FirstDay(2017, 1, 1);
constexpr int Days = 3652;

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

const char *const NoServer = "no server: set QUILLON_TEST_PG (scripts/test-server.sh start)";

// Made on first use, closed before the application object goes.
std::unique_ptr<Book> books[2];

// The ten-year book of an engine, or null when that engine is not there.
Book *tenYearBook(Engine engine)
{
    auto &book = books[static_cast<int>(engine)];
    if (!book)
        book = std::make_unique<Book>(engine);
    return book->controller ? book.get() : nullptr;
}

void BM_OpenPage(benchmark::State &state, Engine engine)
{
    Book *book = tenYearBook(engine);
    if (!book) {
        state.SkipWithError(NoServer);
        return;
    }
    int i = 0;
    for (auto _ : state) {
        // 1,000 different dates spread over the ten years.
        const QDate date = FirstDay.addDays((i++ % 1000) * 3 + 1);
        book->controller->openPage(date);
        benchmark::DoNotOptimize(book->controller->grid().textMatrix(3, 1));
    }
}
BENCHMARK_CAPTURE(BM_OpenPage, sqlite, Engine::Sqlite)
    ->Iterations(1000)->Repetitions(5)->ReportAggregatesOnly(true)->Unit(benchmark::kMillisecond);
BENCHMARK_CAPTURE(BM_OpenPage, postgres, Engine::Postgres)
    ->Iterations(1000)->Repetitions(5)->ReportAggregatesOnly(true)->Unit(benchmark::kMillisecond);

// Four stations, each with its own connection, book 25 free slots each into
// the same page at the same moment (the merging write, guarded by the empty
// cell it saw). One iteration is the whole burst of 100 bookings.
void BM_BookingBurst(benchmark::State &state, Engine engine)
{
    constexpr int Stations = 4, Each = 25;
    Place place(engine);
    store::Database db;
    if (!place.usable() || !place.open(db)) {
        state.SkipWithError(NoServer);
        return;
    }
    // 08:00 to 05:00 by 30 minutes (18 time rows), eight consultants.
    store::SettingsStore(db).write({{"Listno", 2 * Stations}, {"names", "A%B%C%D%E%F%G%H%"}});
    const store::Settings settings = store::SettingsStore(db).load();
    int day = 0;
    for (auto _ : state) {
        const int id = book::PageStore(db).seek(FirstDay.addDays(day++), settings).id;
        std::atomic<int> kept{0};
        std::vector<std::thread> stations;
        for (int s = 0; s < Stations; ++s)
            stations.emplace_back([&, s] {
                store::Database mine;
                if (!place.open(mine))
                    return;
                book::PageStore pages(mine);
                for (int n = 0; n < Each; ++n) {
                    // Two consultant columns of its own, row by row.
                    const std::pair<int, int> cell{3 + n % 18, 2 * s + 1 + n / 18};
                    const book::CellChanges expected{{cell, QString()}};
                    try {
                        if (!pages.writeCells(id, {{cell, QStringLiteral("Patient %1").arg(n)}}, &expected).conflict)
                            ++kept;
                    } catch (const store::DbError &) {
                        // Busy past the timeout: not kept, reported below.
                    }
                }
            });
        for (auto &t : stations)
            t.join();
        if (kept.load() != Stations * Each)
            state.SkipWithError("bookings were refused");
    }
    state.SetItemsProcessed(state.iterations() * Stations * Each);
}
BENCHMARK_CAPTURE(BM_BookingBurst, sqlite, Engine::Sqlite)
    ->Iterations(20)->Repetitions(3)->ReportAggregatesOnly(true)->UseRealTime()->Unit(benchmark::kMillisecond);
BENCHMARK_CAPTURE(BM_BookingBurst, postgres, Engine::Postgres)
    ->Iterations(20)->Repetitions(3)->ReportAggregatesOnly(true)->UseRealTime()->Unit(benchmark::kMillisecond);

// The floor under every page open: the indexed read of the page text and
// its split into cells, nothing else. Page open is measured against it.
void BM_PageReadFloor(benchmark::State &state, Engine engine)
{
    Book *book = tenYearBook(engine);
    if (!book) {
        state.SkipWithError(NoServer);
        return;
    }
    int i = 0;
    for (auto _ : state) {
        const QDate date = FirstDay.addDays((i++ % 1000) * 3 + 1);
        const QVariant data =
            book->db.scalar(QStringLiteral("SELECT Data FROM tbl_Appt WHERE CalDate = ?"), {date});
        benchmark::DoNotOptimize(book::page::decode(data.toString()));
    }
}
BENCHMARK_CAPTURE(BM_PageReadFloor, sqlite, Engine::Sqlite)
    ->Iterations(1000)->Repetitions(5)->ReportAggregatesOnly(true)->Unit(benchmark::kMillisecond);
BENCHMARK_CAPTURE(BM_PageReadFloor, postgres, Engine::Postgres)
    ->Iterations(1000)->Repetitions(5)->ReportAggregatesOnly(true)->Unit(benchmark::kMillisecond);

} // namespace

int main(int argc, char **argv)
{
    QCoreApplication app(argc, argv);
    benchmark::Initialize(&argc, argv);
    benchmark::RunSpecifiedBenchmarks();
    benchmark::Shutdown();
    for (auto &b : books)
        b.reset();
    return 0;
}
