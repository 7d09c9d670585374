// 100,000 invoices of 30,000 patients: the first screen of each account
// summary list (going to the last row where the list does), and the
// recomputation of an invoice's amounts. On db.mdb and, with
// QUILLON_TEST_PG, on a server.
#include "accounts/core/accountcontroller.h"
#include "accounts/core/accountfields.h"
#include "accounts/core/summarycontroller.h"
#include "store/core/conninfo.h"
#include "store/core/database.h"
#include "store/core/schema.h"
#include <QDate>
#include "support/doubles/fixedclock.h"
#include "support/doubles/memoryclipboard.h"
#include "support/doubles/recordingdesktop.h"
#include "support/doubles/recordingreporter.h"
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

namespace {

constexpr int Patients = 30000;
constexpr int Invoices = 100000;
enum class Engine { Sqlite, Postgres };

struct Practice {
    QTemporaryDir dir;
    QString dbName;
    store::Database db;
    ui::ScriptedPrompter prompter;
    ui::RecordingWindows windows;
    ui::AppState state;
    ui::FixedClock clock;
    ui::MemoryClipboard clipboard;
    ui::RecordingDesktop desktop;
    ui::Services services{db, prompter, state, windows, clock, clipboard, desktop};
    bool ready = false;

    static void admin(const QString &conninfo, const QString &sql)
    {
        {
            QSqlDatabase a = QSqlDatabase::addDatabase("QPSQL", "accounts-bench-admin");
            a.setConnectOptions(conninfo);
            if (a.open())
                QSqlQuery(a).exec(sql);
        }
        QSqlDatabase::removeDatabase("accounts-bench-admin");
    }

    explicit Practice(Engine e)
    {
        bool opened = false;
        if (e == Engine::Sqlite) {
            opened = db.open(dir.filePath("db.mdb")).ok();
        } else if (const QString base = qEnvironmentVariable("QUILLON_TEST_PG"); !base.isEmpty()) {
            dbName = "quillon_accounts_" + QUuid::createUuid().toString(QUuid::Id128).left(12);
            admin(base, "CREATE DATABASE " + dbName);
            auto info = store::ConnInfo::parse(base);
            info->set("dbname", dbName);
            opened = db.openServer(info->toString()).ok();
        }
        if (!opened)
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
    ~Practice()
    {
        db.close();
        if (!dbName.isEmpty())
            admin(qEnvironmentVariable("QUILLON_TEST_PG"), "DROP DATABASE IF EXISTS " + dbName + " WITH (FORCE)");
    }
};

std::unique_ptr<Practice> practices[2];

Practice *practice(Engine e, benchmark::State &state)
{
    auto &p = practices[static_cast<int>(e)];
    if (!p)
        p = std::make_unique<Practice>(e);
    if (!p->ready) {
        state.SkipWithError("no server: set QUILLON_TEST_PG (scripts/test-server.sh start)");
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
