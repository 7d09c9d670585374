// A practice with 30,000 patient files: the manual search's first screen,
// positioned on a last-name initial, and a search by each index of the
// search menu. On the db.mdb file and, with QUILLON_TEST_PG, on a server.
#include "benchplace.h"
#include "accounts/core/manualsearch.h"
#include "accounts/core/patientforms.h"
#include "accounts/core/searchmenucontroller.h"
#include "store/core/schema.h"

#include <memory>

namespace {

constexpr int Files = 30000;
using bench::Engine;

// The practice the benchmarks of this file share.
struct Practice : bench::Desk {
    explicit Practice(Engine e) : Desk(e)
    {
        if (!open())
            return;
        db.beginWrite();
        for (int i = 0; i < Files; ++i) {
            const QChar initial = QChar('A' + (i * 7) % 26);
            db.insert(store::tables::PatientDetails,
                      {{"Title", "MS"}, {"PFirstName", QString("FIRST%1").arg(i % 500)}, {"PMI", QString(QChar('A' + i % 26))},
                       {"PLastName", QString("%1AST%2").arg(initial).arg(i, 5, 10, QChar('0'))},
                       {"Sex", i % 2 ? "F" : "M"}, {"DateOfBirth", QString("01/%1/1970").arg(1 + i % 28, 2, 10, QChar('0'))},
                       {"PAddress", QString("%1 LONG STREET").arg(i)}, {"PCity", "PORT ELMS"},
                       {"SocialSecurityNo", QString("SSN-%1").arg(i)}, {"HomeNo", "5550 1234"}});
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

// The window comes forward on an initial and shows a screenful of rows.
void BM_ManualSearchFirstScreen(benchmark::State &state, Engine e)
{
    Practice *p = practice(e, state);
    if (!p)
        return;
    p->state.searchLastName = "MAST";
    accounts::ManualSearch search(p->services);
    for (auto _ : state) {
        search.activated();
        const int row = search.currentRow();
        for (int r = row; r < row + 30; ++r)
            for (int c = 0; c < search.list().columnCount(); ++c)
                benchmark::DoNotOptimize(search.list().data(search.list().index(r, c)));
    }
    state.counters["pages"] = benchmark::Counter(search.list().pagesRead(), benchmark::Counter::kAvgIterations);
}

// Search by file number, SSN, name and date of birth, name and address.
void BM_SearchBy(benchmark::State &state, Engine e)
{
    Practice *p = practice(e, state);
    if (!p)
        return;
    namespace s = accounts::search;
    accounts::SearchMenuController menu(p->services);
    const int i = 17321;
    const QString last = QString("%1AST%2").arg(QChar('A' + (i * 7) % 26)).arg(i, 5, 10, QChar('0'));
    const QString first = QString("FIRST%1").arg(i % 500), mi = QString(QChar('A' + i % 26));
    const int file = p->db.scalar("SELECT FileNo FROM tbl_PatientDetails WHERE SocialSecurityNo = ?",
                                  {QString("SSN-%1").arg(i)}).toInt();
    for (auto _ : state) {
        state.PauseTiming();
        menu.cancel();
        switch (state.range(0)) {
        case 0: menu.setText(s::FileNo, QString::number(file)); break;
        case 1: menu.setText(s::SSN, QString("SSN-%1").arg(i)); break;
        case 2:
            menu.setText(s::FirstName, first), menu.setText(s::MI, mi), menu.setText(s::LastName, last);
            menu.setText(s::DOB, QString("01/%1/1970").arg(1 + i % 28, 2, 10, QChar('0')));
            break;
        default:
            menu.setText(s::FirstName, first), menu.setText(s::MI, mi), menu.setText(s::LastName, last);
            menu.setText(s::Address, QString("%1 LONG STREET").arg(i));
        }
        p->windows.clearLog();
        state.ResumeTiming();
        menu.search();
        if (p->state.currentFileNo != file)
            state.SkipWithError("the search did not find the file");
    }
}

} // namespace

BENCHMARK_CAPTURE(BM_ManualSearchFirstScreen, sqlite, Engine::Sqlite)->Unit(benchmark::kMillisecond);
BENCHMARK_CAPTURE(BM_ManualSearchFirstScreen, postgres, Engine::Postgres)->Unit(benchmark::kMillisecond);
BENCHMARK_CAPTURE(BM_SearchBy, sqlite, Engine::Sqlite)->DenseRange(0, 3)->Unit(benchmark::kMicrosecond);
BENCHMARK_CAPTURE(BM_SearchBy, postgres, Engine::Postgres)->DenseRange(0, 3)->Unit(benchmark::kMicrosecond);

// Closed before the application object of the benchmarks' main goes.
void closePatientPractices()
{
    for (auto &p : practices)
        p.reset();
}
