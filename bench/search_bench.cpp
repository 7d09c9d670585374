// The book's searches and recurrent bookings on the book of N years: a name
// search through every page without a find, beside a raw scan of all page
// texts in SQL and beside opening every page; the appointments history over
// all the years; the next free cell over 90 fully booked days; a weekly
// booking over 24 weeks.
#include "tenyearbook.h"

#include "book/core/appointmentshistory.h"
#include "book/core/namesearch.h"
#include "book/core/nextavailable.h"
#include "book/core/recurrentbooking.h"

#include <benchmark/benchmark.h>

namespace {

using namespace bench;

const QString NoOne = QStringLiteral("Nobody Known");
constexpr int Series = 18;   // weekly series, each over its own 24 weeks
const QString Rare = QStringLiteral("Ms Rare");       // booked every 30 days: 120 times in ten years

// The series need 18 x 25 weeks of the book.
bool seriesFit()
{
    return 7 * 25 * Series <= Days;
}

// 91 fully booked days after the book's years.
QDate booked()
{
    return FirstDay.addDays(Days);
}

int rareVisits()
{
    return (Days - 11 + 29) / 30;
}

// What the benchmarks below add to the book, once per engine.
void prepare(Book &b)
{
    const QDate Booked = booked();
    if (b.db.scalar(QStringLiteral("SELECT COUNT(*) FROM tbl_Appt WHERE CalDate >= ?"), {Booked}).toInt() > 0)
        return;
    book::PageStore pages(b.db);
    const store::Settings s = store::SettingsStore(b.db).load();
    b.db.beginWrite();
    for (int i = 0; i < rareVisits(); ++i) {
        const int id = pages.find(FirstDay.addDays(i * 30 + 11)).id;
        pages.writeCells(id, {{{3 + i % 40, 1 + i % Consultants}, Rare}});
    }
    book::page::Cells full(44, QStringList());
    for (auto &row : full)
        for (int c = 0; c < Consultants; ++c)
            row << QStringLiteral("Booked");
    for (int d = 0; d <= 90; ++d) {
        const int id = pages.seek(Booked.addDays(d), s).id;
        b.db.update(store::tables::Appt, id, {{"Data", book::page::encode(full)}});
        store::SearchIndex::pageChanged(b.db, Booked.addDays(d), QString(), book::page::encode(full));
    }
    // The series' source cells, and their targets emptied.
    for (int i = 0; i < Series && seriesFit(); ++i) {
        const QDate start = FirstDay.addDays(7 * 25 * i);
        pages.writeCells(pages.find(start).id, {{{5, 1}, QStringLiteral("Series %1").arg(i)}});
        for (int k = 1; k <= 23; ++k)
            pages.writeCells(pages.find(start.addDays(7 * k)).id, {{{5, 1}, QString()}});
    }
    b.db.commit();
}

// The process's resident size (VmRSS) or its peak since resetPeak() (VmHWM).
double residentMB(const char *field)
{
    QFile f(QStringLiteral("/proc/self/status"));
    if (!f.open(QIODevice::ReadOnly))
        return 0;
    for (const QByteArray &line : f.readAll().split('\n'))
        if (line.startsWith(field))
            return line.mid(static_cast<qsizetype>(qstrlen(field)) + 1).trimmed().split(' ').value(0).toDouble() / 1024;
    return 0;
}

void resetPeak()
{
    QFile f(QStringLiteral("/proc/self/clear_refs"));
    if (f.open(QIODevice::WriteOnly))
        f.write("5");
}

// The station searches with the index, or (`scan`) as if it had none.
Book *ready(benchmark::State &state, Engine engine, bool scan = false)
{
    Book *b = tenYearBook(engine);
    if (!b) {
        state.SkipWithError(NoServer);
        return b;
    }
    b->db.probeSearchIndex();
    prepare(*b);
    if (scan)
        b->db.setSearchIndex({true, false, QStringLiteral("timing the scan")});
    else if (!b->db.searchIndex().searchable)
        state.SkipWithError("no search index here");
    return b;
}

// The index of the book: how long building it took, its size beside the
// page texts it covers (on the server: the cells' table, the GIN index, and
// the rest: TOAST, primary key, free space map).
void BM_SearchIndexOfBook(benchmark::State &state, Engine engine)
{
    Book *b = ready(state, engine);
    if (!b)
        return;
    for (auto _ : state) {
    }
    const bool server = b->db.onServer();
    const double texts = b->db.scalar(server ? "SELECT SUM(octet_length(Data)) FROM tbl_Appt"
                                             : "SELECT SUM(length(CAST(Data AS BLOB))) FROM tbl_Appt").toDouble();
    const double index = b->db.scalar(server ? "SELECT pg_total_relation_size('sys_find')"
                                             : "SELECT SUM(pgsize) FROM dbstat WHERE name LIKE 'sys_Find%'").toDouble();
    if (server) {
        state.counters["table_MB"] = b->db.scalar("SELECT pg_relation_size('sys_find')").toDouble() / 1e6;
        state.counters["gin_MB"] = b->db.scalar("SELECT pg_relation_size('sys_find_words')").toDouble() / 1e6;
        state.counters["rows_k"] = b->db.scalar("SELECT COUNT(*) FROM sys_find").toDouble() / 1e3;
    }
    state.counters["generate_ms"] = b->generateMs;
    state.counters["build_ms"] = b->indexMs;
    state.counters["index_MB"] = index / 1e6;
    state.counters["texts_MB"] = texts / 1e6;
}
BENCHMARK_CAPTURE(BM_SearchIndexOfBook, sqlite, Engine::Sqlite)->Iterations(1)->Unit(benchmark::kMillisecond);
BENCHMARK_CAPTURE(BM_SearchIndexOfBook, postgres, Engine::Postgres)->Iterations(1)->Unit(benchmark::kMillisecond);

void BM_NameSearchNoHit(benchmark::State &state, Engine engine, bool scan)
{
    Book *b = ready(state, engine, scan);
    if (!b)
        return;
    for (auto _ : state) {
        b->prompter.clear();
        b->prompter.answerInput(NoOne);
        b->controller->search().start();
        if (b->controller->search().panelMessage() != book::NameSearch::Unsuccessful)
            state.SkipWithError("found something");
    }
}
BENCHMARK_CAPTURE(BM_NameSearchNoHit, sqlite, Engine::Sqlite, false)->Repetitions(3)->ReportAggregatesOnly(true)->Unit(benchmark::kMillisecond);
BENCHMARK_CAPTURE(BM_NameSearchNoHit, postgres, Engine::Postgres, false)->Repetitions(3)->ReportAggregatesOnly(true)->Unit(benchmark::kMillisecond);
BENCHMARK_CAPTURE(BM_NameSearchNoHit, sqlite_scan, Engine::Sqlite, true)->Repetitions(3)->ReportAggregatesOnly(true)->Unit(benchmark::kMillisecond);
BENCHMARK_CAPTURE(BM_NameSearchNoHit, postgres_scan, Engine::Postgres, true)->Repetitions(3)->ReportAggregatesOnly(true)->Unit(benchmark::kMillisecond);

// The floor: one scan of every page text in SQL for the name, nothing else.
void BM_RawScan(benchmark::State &state, const char *condition)
{
    Book *b = ready(state, Engine::Sqlite);
    if (!b)
        return;
    const QString sql = QStringLiteral("SELECT CalDate FROM tbl_Appt WHERE ") + QLatin1String(condition);
    const QString bind = QLatin1String(condition).contains(QLatin1String("LIKE")) ? "%" + NoOne + "%" : NoOne;
    for (auto _ : state)
        benchmark::DoNotOptimize(b->db.select(sql, {bind}));
}
BENCHMARK_CAPTURE(BM_RawScan, like, "Data LIKE ?")->Repetitions(3)->ReportAggregatesOnly(true)->Unit(benchmark::kMillisecond);
BENCHMARK_CAPTURE(BM_RawScan, instr, "instr(Data, ?) > 0")->Repetitions(3)->ReportAggregatesOnly(true)->Unit(benchmark::kMillisecond);

// The other way: every page opened in the grid and looked at cell by cell.
void BM_OpenEveryPage(benchmark::State &state)
{
    Book *b = ready(state, Engine::Sqlite);
    if (!b)
        return;
    for (auto _ : state) {
        int found = 0;
        for (int d = Days - 1; d >= 0; --d) {
            b->controller->session().openPage(FirstDay.addDays(d));
            const ui::GridModel &g = b->controller->session().grid();
            for (int c = 1; c < g.cols(); ++c)
                for (int r = 3; r < g.rows(); ++r)
                    found += g.textMatrix(r, c).contains(NoOne, Qt::CaseInsensitive);
        }
        benchmark::DoNotOptimize(found);
    }
}
BENCHMARK(BM_OpenEveryPage)->Iterations(1)->Unit(benchmark::kMillisecond);

// The history of a patient booked every 30 days, and of a name on four
// pages of five.
void BM_History(benchmark::State &state, Engine engine, bool everyPage, bool scan)
{
    Book *b = ready(state, engine, scan);
    if (!b)
        return;
    const QString needle = everyPage ? QStringLiteral("Patient 7-3") : Rare;
    book::PageStore pages(b->db);
    size_t lines = 0;
    // The most the history makes the process hold above what it held.
    const double before = residentMB("VmRSS");
    resetPeak();
    for (auto _ : state) {
        const QString report =
            book::AppointmentsHistory::report(needle, pages, FirstDay, FirstDay.addDays(Days - 1));
        lines = static_cast<size_t>(report.count(QChar(10)));
    }
    state.counters["lines"] = static_cast<double>(lines);
    state.counters["peak_growth_MB"] = residentMB("VmHWM") - before;
}
BENCHMARK_CAPTURE(BM_History, sqlite, Engine::Sqlite, false, false)->Repetitions(3)->ReportAggregatesOnly(true)->Unit(benchmark::kMillisecond);
BENCHMARK_CAPTURE(BM_History, postgres, Engine::Postgres, false, false)->Repetitions(3)->ReportAggregatesOnly(true)->Unit(benchmark::kMillisecond);
BENCHMARK_CAPTURE(BM_History, sqlite_every_page, Engine::Sqlite, true, false)->Repetitions(3)->ReportAggregatesOnly(true)->Unit(benchmark::kMillisecond);
BENCHMARK_CAPTURE(BM_History, postgres_every_page, Engine::Postgres, true, false)->Repetitions(3)->ReportAggregatesOnly(true)->Unit(benchmark::kMillisecond);
BENCHMARK_CAPTURE(BM_History, sqlite_scan, Engine::Sqlite, false, true)->Repetitions(3)->ReportAggregatesOnly(true)->Unit(benchmark::kMillisecond);
BENCHMARK_CAPTURE(BM_History, postgres_scan, Engine::Postgres, false, true)->Repetitions(3)->ReportAggregatesOnly(true)->Unit(benchmark::kMillisecond);
BENCHMARK_CAPTURE(BM_History, sqlite_every_page_scan, Engine::Sqlite, true, true)->Repetitions(3)->ReportAggregatesOnly(true)->Unit(benchmark::kMillisecond);
BENCHMARK_CAPTURE(BM_History, postgres_every_page_scan, Engine::Postgres, true, true)->Repetitions(3)->ReportAggregatesOnly(true)->Unit(benchmark::kMillisecond);

void BM_NextAvailable90Booked(benchmark::State &state, Engine engine)
{
    Book *b = ready(state, engine);
    if (!b)
        return;
    for (auto _ : state) {
        state.PauseTiming();
        b->controller->session().openPage(booked());
        b->controller->session().grid().setCursor(42, Consultants);
        b->prompter.clear();
        b->prompter.expectMessage();
        state.ResumeTiming();
        b->controller->nextAvailable().byRow();
        if (b->controller->session().date() != booked().addDays(90))
            state.SkipWithError("a free cell was found");
    }
}
BENCHMARK_CAPTURE(BM_NextAvailable90Booked, sqlite, Engine::Sqlite)->Repetitions(3)->ReportAggregatesOnly(true)->Unit(benchmark::kMillisecond);
BENCHMARK_CAPTURE(BM_NextAvailable90Booked, postgres, Engine::Postgres)->Repetitions(3)->ReportAggregatesOnly(true)->Unit(benchmark::kMillisecond);

// Weekly over 24 weeks: 23 pages read, checked and written in one write.
void BM_Recurrent24Weeks(benchmark::State &state, Engine engine)
{
    Book *b = ready(state, engine);
    if (!b)
        return;
    if (!seriesFit()) {
        state.SkipWithError("the book is too short for the series");
        return;
    }
    int i = 0;
    for (auto _ : state) {
        state.PauseTiming();
        const QDate start = FirstDay.addDays(7 * 25 * (i++ % Series));
        b->controller->session().openPage(start);
        b->controller->session().grid().setCursor(5, 1);
        b->prompter.clear();
        b->prompter.answerInput("1").answerInput("24").answerYes();
        state.ResumeTiming();
        b->controller->recurrent().run();
        if (!b->prompter.allAnswered() || b->prompter.transcript().size() != 3)
            state.SkipWithError("the series was not written");
    }
}
BENCHMARK_CAPTURE(BM_Recurrent24Weeks, sqlite, Engine::Sqlite)->Iterations(Series)->Repetitions(1)->Unit(benchmark::kMillisecond);
BENCHMARK_CAPTURE(BM_Recurrent24Weeks, postgres, Engine::Postgres)->Iterations(Series)->Repetitions(1)->Unit(benchmark::kMillisecond);

} // namespace
