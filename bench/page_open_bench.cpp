// Opening a day page (find or create, build the grid, fill it) on the
// ten-year book; and four stations booking into one page at the same moment.
// Each on the db.mdb file and on a PostgreSQL server.
#include "tenyearbook.h"

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

using namespace bench;

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
void BM_BookingBurst(benchmark::State &state, Engine engine, bool withoutIndex)
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
                if (withoutIndex)   // the save alone, as before the search index
                    mine.setSearchIndex({});
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
BENCHMARK_CAPTURE(BM_BookingBurst, sqlite, Engine::Sqlite, false)
    ->Iterations(20)->Repetitions(3)->ReportAggregatesOnly(true)->UseRealTime()->Unit(benchmark::kMillisecond);
BENCHMARK_CAPTURE(BM_BookingBurst, postgres, Engine::Postgres, false)
    ->Iterations(20)->Repetitions(3)->ReportAggregatesOnly(true)->UseRealTime()->Unit(benchmark::kMillisecond);
BENCHMARK_CAPTURE(BM_BookingBurst, sqlite_no_index, Engine::Sqlite, true)
    ->Iterations(20)->Repetitions(3)->ReportAggregatesOnly(true)->UseRealTime()->Unit(benchmark::kMillisecond);
BENCHMARK_CAPTURE(BM_BookingBurst, postgres_no_index, Engine::Postgres, true)
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

void closePatientPractices();
void closeAccountPractices();
void closeWritePractices();

int main(int argc, char **argv)
{
    QCoreApplication app(argc, argv);
    benchmark::Initialize(&argc, argv);
    benchmark::RunSpecifiedBenchmarks();
    benchmark::Shutdown();
    for (auto &b : books)
        b.reset();
    closePatientPractices();
    closeAccountPractices();
    closeWritePractices();
    return 0;
}
