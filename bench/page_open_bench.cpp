// Opening a day page (find or create, build the grid, fill it) on the book
// of N years; and four stations booking into one page at the same moment.
// Each on the db.mdb file and on a PostgreSQL server.
#include "tenyearbook.h"

#include "store/core/changewatcher.h"

#include <QCoreApplication>
#include <QSqlDatabase>
#include <QSqlQuery>
#include <QTemporaryDir>
#include <QUuid>
#include <benchmark/benchmark.h>
#include <algorithm>
#include <atomic>
#include <chrono>
#include <memory>
#include <mutex>
#include <thread>
#include <vector>

namespace {

using namespace bench;

// The i-th of 1,000 days spread over the book.
int spread(int i)
{
    return static_cast<int>((static_cast<qint64>(i % 1000) * (Days - 1)) / 1000);
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
        // 1,000 different dates spread over the years.
        const QDate date = FirstDay.addDays(spread(i++));
        book->controller->session().openPage(date);
        benchmark::DoNotOptimize(book->controller->session().grid().textMatrix(3, 1));
    }
}
BENCHMARK_CAPTURE(BM_OpenPage, sqlite, Engine::Sqlite)
    ->Iterations(1000)->Repetitions(5)->ReportAggregatesOnly(true)->Unit(benchmark::kMillisecond);
BENCHMARK_CAPTURE(BM_OpenPage, postgres, Engine::Postgres)
    ->Iterations(1000)->Repetitions(5)->ReportAggregatesOnly(true)->Unit(benchmark::kMillisecond);

struct LogSize {
    double entries = 0;
    double bytes = 0;
};
LogSize logSize(store::Database &db);
void logCounters(benchmark::State &state, store::Database &db, const LogSize &before);

// The saves so far on each engine's book, over the repetitions: each save
// sets a cell that no save before it set, so that every one is a change
// (a repetition that wrote the first one's texts again would change nothing).
int logged[2] = {0, 0};
int unlogged[2] = {0, 0};

// Every page of the book read once, so that neither save benchmark meets
// the pages colder than the other.
void warmUp(book::PageStore &pages)
{
    benchmark::DoNotOptimize(pages.pagesBetween(FirstDay, FirstDay.addDays(Days)).size());
}

// One booking saved as the cell editor saves it: a guarded write of one cell
// of a page, with its change log entry in the same transaction. A different
// page each time, over the ten years. Counters: the change log's bytes per
// cell change, tables and indexes (on the file as far as the engine says).
// `withoutIndex`: the same save leaving the search index alone, its baseline
// (the cells it writes are looked for by no other benchmark).
void BM_BookingSave(benchmark::State &state, Engine engine, bool withoutIndex)
{
    Book *book = tenYearBook(engine);
    if (!book) {
        state.SkipWithError(NoServer);
        return;
    }
    const store::SearchIndex::State kept = book->db.searchIndex();
    if (withoutIndex)
        book->db.setSearchIndex({});
    book::PageStore pages(book->db);
    warmUp(pages);
    LogSize before;
    try {
        before = logSize(book->db);
    } catch (const store::DbError &) {
        // A build without the change log: no counters.
    }
    int &i = logged[static_cast<int>(engine)];
    for (auto _ : state) {
        state.PauseTiming();
        const QDate date = FirstDay.addDays((i * 7) % Days);
        const std::pair<int, int> cell{3 + i % 40, 1 + (i / 40) % 20};
        const book::PageRecord page = pages.find(date);
        const book::CellChanges expected{{cell, book::page::cellAt(book::page::decode(page.data), cell.first, cell.second)}};
        const QString booking = QStringLiteral("Booked %1 ph 555 01%2").arg(i).arg(i % 100, 2, 10, QLatin1Char('0'));
        ++i;
        state.ResumeTiming();
        benchmark::DoNotOptimize(pages.writeCells(page.id, {{cell, booking}}, &expected).conflict);
    }
    store::Database &db = book->db;
    db.setSearchIndex(kept);
    try {
        logCounters(state, db, before);
    } catch (const store::DbError &) {
        // A build without the change log: no counters.
    }
}

// The same booking saved without a change log: the statements of the
// guarded cell write (the page read locked, its cell checked and set, the
// page written, its search index cells and the stations told) in one
// transaction, and nothing else. The baseline of the save above.
void BM_BookingSaveUnlogged(benchmark::State &state, Engine engine)
{
    Book *book = tenYearBook(engine);
    if (!book) {
        state.SkipWithError(NoServer);
        return;
    }
    store::Database &db = book->db;
    const QString read = QStringLiteral("SELECT %1 FROM %2 WHERE %3 = ?")
                             .arg(store::Dialect::quote("Data"), store::Dialect::quote(store::tables::Appt),
                                  store::Dialect::quote("ID"));
    book::PageStore pages(db);
    warmUp(pages);
    int &i = unlogged[static_cast<int>(engine)];
    for (auto _ : state) {
        state.PauseTiming();
        const QDate date = FirstDay.addDays((i * 7 + 3) % Days);
        const std::pair<int, int> cell{3 + i % 40, 1 + (i / 40) % 20};
        const book::PageRecord page = pages.find(date);
        const QString expected = book::page::cellAt(book::page::decode(page.data), cell.first, cell.second);
        const QString booking = QStringLiteral("Booked %1 ph 555 01%2").arg(i).arg(i % 100, 2, 10, QLatin1Char('0'));
        ++i;
        state.ResumeTiming();
        store::WriteTransaction tx(db);
        const auto rec = db.selectOneForUpdate(read, {page.id});
        book::page::Cells cells = book::page::decode(rec->value(0).toString());
        if (book::page::cellAt(cells, cell.first, cell.second) == expected) {
            book::page::setCellAt(cells, cell.first, cell.second, book::page::cleanCell(booking));
            const QString written = book::page::encode(cells);
            db.update(store::tables::Appt, page.id, {{"Data", written}});
            store::SearchIndex::pageChanged(db, date, rec->value(0).toString(), written);
            store::ChangeWatcher::announce(db, QStringLiteral("page"), date.toString(Qt::ISODate));
        }
        tx.commit();
    }
}
BENCHMARK_CAPTURE(BM_BookingSaveUnlogged, sqlite, Engine::Sqlite)
    ->Iterations(500)->Repetitions(5)->ReportAggregatesOnly(true)->Unit(benchmark::kMillisecond);
BENCHMARK_CAPTURE(BM_BookingSaveUnlogged, postgres, Engine::Postgres)
    ->Iterations(500)->Repetitions(5)->ReportAggregatesOnly(true)->Unit(benchmark::kMillisecond);

// The change log's entries and size: rows and indexes, in pages as the
// engine keeps them (on the file as far as the engine says).
LogSize logSize(store::Database &db)
{
    LogSize out;
    out.entries = db.scalar("SELECT COUNT(*) FROM sys_ChangeLog").toDouble();
    if (db.onServer()) {
        out.bytes = db.scalar("SELECT pg_total_relation_size('sys_changelog')").toDouble();
        return out;
    }
    try {
        out.bytes = db.scalar("SELECT SUM(pgsize) FROM dbstat WHERE lower(name) LIKE 'sys_changelog%'").toDouble();
    } catch (const store::DbError &) {
        // No page statistics in this engine: the stored values below.
    }
    if (out.bytes <= 0) {
        QStringList lengths;
        for (const char *f : {"At", "Station", "Host", "OSUser", "Command", "Kind", "RecordKey", "Changes"})
            lengths << QStringLiteral("COALESCE(LENGTH(%1), 0)").arg(QLatin1String(f));
        out.bytes = db.scalar("SELECT SUM(" + lengths.join(" + ") + " + 16) FROM sys_ChangeLog").toDouble();
    }
    return out;
}

// log_bytes_per_change: the whole log per entry (an empty table's first
// pages weigh on a short log); log_growth_per_change: what the log grew by
// per entry in this repetition, the cost of one more change on a long log.
void logCounters(benchmark::State &state, store::Database &db, const LogSize &before)
{
    const LogSize now = logSize(db);
    state.counters["log_entries"] = now.entries;
    state.counters["log_bytes_per_change"] = now.entries > 0 ? now.bytes / now.entries : 0;
    const double added = now.entries - before.entries;
    state.counters["log_growth_per_change"] = added > 0 ? (now.bytes - before.bytes) / added : 0;
}
BENCHMARK_CAPTURE(BM_BookingSave, sqlite, Engine::Sqlite, false)
    ->Iterations(500)->Repetitions(5)->ReportAggregatesOnly(true)->Unit(benchmark::kMillisecond);
BENCHMARK_CAPTURE(BM_BookingSave, postgres, Engine::Postgres, false)
    ->Iterations(500)->Repetitions(5)->ReportAggregatesOnly(true)->Unit(benchmark::kMillisecond);
BENCHMARK_CAPTURE(BM_BookingSave, sqlite_no_index, Engine::Sqlite, true)
    ->Iterations(500)->Repetitions(5)->ReportAggregatesOnly(true)->Unit(benchmark::kMillisecond);
BENCHMARK_CAPTURE(BM_BookingSave, postgres_no_index, Engine::Postgres, true)
    ->Iterations(500)->Repetitions(5)->ReportAggregatesOnly(true)->Unit(benchmark::kMillisecond);

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
    std::vector<double> waits;   // each save's wall time, ms
    std::mutex waitsLock;
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
                std::vector<double> mineWaits;
                for (int n = 0; n < Each; ++n) {
                    // Two consultant columns of its own, row by row.
                    const std::pair<int, int> cell{3 + n % 18, 2 * s + 1 + n / 18};
                    const book::CellChanges expected{{cell, QString()}};
                    const auto start = std::chrono::steady_clock::now();
                    try {
                        if (!pages.writeCells(id, {{cell, QStringLiteral("Patient %1").arg(n)}}, &expected).conflict)
                            ++kept;
                    } catch (const store::DbError &) {
                        // Busy past the timeout: not kept, reported below.
                    }
                    mineWaits.push_back(
                        std::chrono::duration<double, std::milli>(std::chrono::steady_clock::now() - start).count());
                }
                const std::lock_guard lock(waitsLock);
                waits.insert(waits.end(), mineWaits.begin(), mineWaits.end());
            });
        for (auto &t : stations)
            t.join();
        if (kept.load() != Stations * Each)
            state.SkipWithError("bookings were refused");
    }
    state.SetItemsProcessed(state.iterations() * Stations * Each);
    // The slowest saves a receptionist meets: the 99th percentile and the
    // longest, over every save of the repetition.
    if (!waits.empty()) {
        std::sort(waits.begin(), waits.end());
        state.counters["p99_ms"] = waits[std::min(waits.size() - 1, waits.size() * 99 / 100)];
        state.counters["max_ms"] = waits.back();
    }
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
        const QDate date = FirstDay.addDays(spread(i++));
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
    bench::takeYears(argc, argv);
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
