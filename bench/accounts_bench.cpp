// 100,000 invoices of 30,000 patients: the first screen of each account
// summary list (going to the last row where the list does), and the
// recomputation of an invoice's amounts. On db.mdb and, with
// QUILLON_TEST_PG, on a server.
#include "benchplace.h"
#include "accounts/core/accountcontroller.h"
#include "accounts/core/accountfields.h"
#include "accounts/core/summarycontroller.h"
#include "store/core/schema.h"
#include "support/doubles/recordingreporter.h"

#include <QDate>
#include <memory>

namespace {

constexpr int Patients = 30000;
constexpr int Invoices = 100000;
using bench::Engine;

// The practice the benchmarks of this file share.
struct Practice : bench::Desk {
    explicit Practice(Engine e) : Desk(e)
    {
        if (!open())
            return;
        db.beginWrite();
        std::vector<int> files;
        for (int i = 0; i < Patients; ++i)
            files.push_back(db.insert(store::tables::PatientDetails,
                                      {{"PFirstName", QString("FIRST%1").arg(i % 500)},
                                       {"PLastName", QString("LAST%1").arg(i, 5, 10, QChar('0'))}}));
        for (int i = 0; i < Invoices; ++i) {
            const bool paid = i % 3 == 0;
            const QString fee = QString::number(50 + i % 40) + ".00";
            db.insert(store::tables::Accounts,
                      {{"FileNo", files[size_t(i % Patients)]},
                       // Ten years of working days, and a fee list of forty amounts.
                       {"IssueDate", QDate(2016, 1, 4).addDays(i % 3650).toString("MM/dd/yyyy")},
                       {"Amount1", fee}, {"Subtotal", fee}, {"Discount", "00.00"},
                       {"AmountPaid", paid ? fee : "00.00"}, {"BalanceDue", paid ? "00.00" : fee},
                       {"Referrer", QString("REF%1").arg(i % 200)}, {"PayTo", "DR AVERY"},
                       {"Cash", paid && i % 2 == 0}});
        }
        db.commit();
        ready = true;
    }
};

std::unique_ptr<Practice> practices[2];

Practice *practice(Engine e, benchmark::State &state)
{
    return bench::practiceFor(practices, e, state);
}

// 0 all by issue date, 1 sorted by name, 2 unpaid, 3 one referrer, 4 one patient.
void BM_SummaryFirstScreen(benchmark::State &state, Engine e)
{
    Practice *p = practice(e, state);
    if (!p)
        return;
    accounts::SummaryController sums(p->services);
    const int file = p->db.scalar("SELECT FileNo FROM tbl_PatientDetails WHERE PLastName = 'LAST12345'").toInt();
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

BENCHMARK_CAPTURE(BM_SummaryFirstScreen, sqlite, Engine::Sqlite)->DenseRange(0, 4)->Unit(benchmark::kMillisecond);
BENCHMARK_CAPTURE(BM_SummaryFirstScreen, postgres, Engine::Postgres)->DenseRange(0, 4)->Unit(benchmark::kMillisecond);
BENCHMARK_CAPTURE(BM_SummaryTotals, sqlite, Engine::Sqlite)->DenseRange(0, 1)->Unit(benchmark::kMillisecond);
BENCHMARK_CAPTURE(BM_SummaryTotals, postgres, Engine::Postgres)->DenseRange(0, 1)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_InvoiceRecompute)->Unit(benchmark::kMicrosecond);

void closeAccountPractices()
{
    for (auto &p : practices)
        p.reset();
}
