// The account summaries of a practice of 100,000, 300,000 or 1,000,000
// invoices (of 30,000, 100,000 or 300,000 patients; the size is the
// benchmark's second argument): the first screen of each list (going to
// the last row where the list does), the totals and aged lines, and the
// recomputation of an invoice's amounts. On db.mdb and, with
// QUILLON_TEST_PG, on a server.
#include "benchplace.h"
#include "bulkrows.h"
#include "accounts/core/accountcontroller.h"
#include "accounts/core/accountfields.h"
#include "accounts/core/accountsums.h"
#include "accounts/core/summarycontroller.h"
#include "store/core/schema.h"
#include "support/doubles/recordingreporter.h"

#include <QDate>
#include <map>
#include <memory>

namespace {

using bench::Engine;

// The practice the benchmarks of this file share, one per engine and size.
struct Practice : bench::Desk {
    Practice(Engine e, int invoices) : Desk(e)
    {
        if (!open())
            return;
        const int patients = invoices / 10 * 3;
        db.beginWrite();
        bench::insertRows(db, store::tables::PatientDetails, {"PFirstName", "PLastName"}, patients, [](int i) {
            return QVariantList{QString("FIRST%1").arg(i % 500), QString("LAST%1").arg(i, 6, 10, QChar('0'))};
        });
        std::vector<int> files;
        db.forEachRow("SELECT FileNo FROM tbl_PatientDetails WHERE PLastName LIKE 'LAST%' ORDER BY FileNo", {},
                      [&](const QSqlQuery &r) { files.push_back(r.value(0).toInt()); });
        bench::insertRows(db, store::tables::Accounts,
                          {"FileNo", "IssueDate", "Amount1", "Subtotal", "Discount", "AmountPaid", "BalanceDue",
                           "Referrer", "PayTo", "Cash"},
                          invoices, [&](int i) {
                              const bool paid = i % 3 == 0;
                              const QString fee = QString::number(50 + i % 40) + ".00";
                              // Ten years of working days, and a fee list of forty amounts.
                              return QVariantList{files[size_t(i % patients)],
                                                  QDate(2016, 1, 4).addDays(i % 3650).toString("MM/dd/yyyy"),
                                                  fee, fee, "00.00", paid ? fee : "00.00", paid ? "00.00" : fee,
                                                  QString("REF%1").arg(i % 200), "DR AVERY", paid && i % 2 == 0};
                          });
        db.commit();
        // As the database step that adds them makes them for the invoices there.
        accounts::AccountSums::rebuild(db);
        ready = true;
    }
};

std::map<std::pair<Engine, int>, std::unique_ptr<Practice>> practices;

Practice *practice(Engine e, benchmark::State &state)
{
    auto &p = practices[{e, int(state.range(1))}];
    if (!p)
        p = std::make_unique<Practice>(e, int(state.range(1)));
    if (!p->ready) {
        state.SkipWithError(bench::NoServer);
        return nullptr;
    }
    return p.get();
}

// 0 all by issue date, 1 sorted by name, 2 unpaid, 3 one referrer, 4 one patient.
void BM_SummaryFirstScreen(benchmark::State &state, Engine e)
{
    Practice *p = practice(e, state);
    if (!p)
        return;
    accounts::SummaryController sums(p->services);
    const int file = p->db.scalar("SELECT FileNo FROM tbl_PatientDetails WHERE PLastName = 'LAST012345'").toInt();
    for (auto _ : state) {
        switch (state.range(0)) {
        case 0: sums.allAccounts(); break;
        case 1: sums.sortAccounts(); break;
        case 2: sums.unpaidAccounts(); break;
        case 3: p->prompter.answerInput("ref17"); sums.referrerAccounts(); break;
        default: p->state.currentFileNo = file; sums.arrive();
        }
        const int last = std::min(sums.list().rowCount(), sums.row() + 30);
        for (int r = std::max(0, last - 30); r < last; ++r)
            for (int c = 0; c < sums.list().columnCount(); ++c)
                benchmark::DoNotOptimize(sums.list().data(sums.list().index(r, c)));
    }
    state.counters["rows"] = sums.list().rowCount();
}

// The totals and aged lines the window shows right after the first screen.
void BM_SummaryTotals(benchmark::State &state, Engine e)
{
    Practice *p = practice(e, state);
    if (!p)
        return;
    accounts::SummaryController sums(p->services);
    for (auto _ : state) {
        state.PauseTiming();
        state.range(0) == 0 ? sums.allAccounts() : sums.unpaidAccounts();
        state.ResumeTiming();
        benchmark::DoNotOptimize(sums.totalsLine());
        benchmark::DoNotOptimize(sums.agedLine());
    }
}

void BM_InvoiceRecompute(benchmark::State &state)
{
    Practice *p = practice(Engine::Sqlite, state);
    if (!p)
        return;
    report::RecordingReporter reporter;
    accounts::AccountController inv(p->services, reporter);
    inv.load();
    namespace b = accounts::invoice::box;
    for (int i = 0; i < 6; ++i)
        inv.form().setText(b::amount(i), "12.34");
    for (auto _ : state)
        inv.amountFocusChanged();
}

} // namespace

const std::vector<int64_t> Sizes = {100000, 300000, 1000000};
BENCHMARK_CAPTURE(BM_SummaryFirstScreen, sqlite, Engine::Sqlite)->ArgsProduct({{0, 1, 2, 3, 4}, Sizes})->Unit(benchmark::kMillisecond);
BENCHMARK_CAPTURE(BM_SummaryFirstScreen, postgres, Engine::Postgres)->ArgsProduct({{0, 1, 2, 3, 4}, Sizes})->Unit(benchmark::kMillisecond);
BENCHMARK_CAPTURE(BM_SummaryTotals, sqlite, Engine::Sqlite)->ArgsProduct({{0, 1}, Sizes})->Unit(benchmark::kMillisecond);
BENCHMARK_CAPTURE(BM_SummaryTotals, postgres, Engine::Postgres)->ArgsProduct({{0, 1}, Sizes})->Unit(benchmark::kMillisecond);
BENCHMARK(BM_InvoiceRecompute)->Args({0, 100000})->Unit(benchmark::kMicrosecond);

void closeAccountPractices()
{
    practices.clear();
}
