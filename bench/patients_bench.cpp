// A practice of 30,000, 100,000 or 300,000 patient files (the benchmark's
// last argument): the manual search's first screen,
// positioned on a last-name initial, and a search by each index of the
// search menu. On the db.mdb file and, with QUILLON_TEST_PG, on a server.
#include "benchplace.h"
#include "bulkrows.h"
#include "accounts/core/manualsearch.h"
#include "accounts/core/patientforms.h"
#include "accounts/core/searchmenucontroller.h"
#include "store/core/schema.h"

#include <map>
#include <optional>
#include <memory>

namespace {

using bench::Engine;

// The practice the benchmarks of this file share, one per engine and size.
struct Practice : bench::Desk {
    Practice(Engine e, int files) : Desk(e)
    {
        if (!open())
            return;
        db.beginWrite();
        bench::insertRows(db, store::tables::PatientDetails,
                          {"Title", "PFirstName", "PMI", "PLastName", "Sex", "DateOfBirth", "PAddress", "PCity",
                           "SocialSecurityNo", "HomeNo"},
                          files, [](int i) {
                              const QChar initial = QChar('A' + (i * 7) % 26);
                              return QVariantList{"MS", QString("FIRST%1").arg(i % 500), QString(QChar('A' + i % 26)),
                                                  QString("%1AST%2").arg(initial).arg(i, 6, 10, QChar('0')),
                                                  i % 2 ? "F" : "M",
                                                  QString("01/%1/1970").arg(1 + i % 28, 2, 10, QChar('0')),
                                                  QString("%1 LONG STREET").arg(i), "PORT ELMS",
                                                  QString("SSN-%1").arg(i), "5550 1234"};
                          });
        db.commit();
        ready = true;
    }
};

std::map<std::pair<Engine, int>, std::unique_ptr<Practice>> practices;

Practice *practice(Engine e, benchmark::State &state, int files)
{
    auto &p = practices[{e, files}];
    if (!p)
        p = std::make_unique<Practice>(e, files);
    if (!p->ready) {
        state.SkipWithError(bench::NoServer);
        return nullptr;
    }
    return p.get();
}

// The window comes forward on an initial and shows a screenful of rows.
// `uncounted`: as before the counts by initial, the files counted at each
// showing (the counts dropped in a transaction undone afterwards).
void BM_ManualSearchFirstScreen(benchmark::State &state, Engine e, bool uncounted = false)
{
    Practice *p = practice(e, state, int(state.range(0)));
    if (!p)
        return;
    p->state.searchLastName = "MAST";
    std::optional<store::WriteTransaction> without;
    if (uncounted) {
        without.emplace(p->db);
        p->db.exec("DROP TABLE " + store::Dialect::quote(store::tables::FileCounts) +
                   (p->db.onServer() ? " CASCADE" : ""));
    }
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
    Practice *p = practice(e, state, int(state.range(1)));
    if (!p)
        return;
    namespace s = accounts::search;
    accounts::SearchMenuController menu(p->services);
    const int i = 17321;
    const QString last = QString("%1AST%2").arg(QChar('A' + (i * 7) % 26)).arg(i, 6, 10, QChar('0'));
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

const std::vector<int64_t> Sizes = {30000, 100000, 300000};
BENCHMARK_CAPTURE(BM_ManualSearchFirstScreen, sqlite, Engine::Sqlite)->ArgsProduct({Sizes})->Unit(benchmark::kMillisecond);
BENCHMARK_CAPTURE(BM_ManualSearchFirstScreen, postgres, Engine::Postgres)->ArgsProduct({Sizes})->Unit(benchmark::kMillisecond);
BENCHMARK_CAPTURE(BM_ManualSearchFirstScreen, sqlite_uncounted, Engine::Sqlite, true)->Arg(300000)->Unit(benchmark::kMillisecond);
BENCHMARK_CAPTURE(BM_ManualSearchFirstScreen, postgres_uncounted, Engine::Postgres, true)->Arg(300000)->Unit(benchmark::kMillisecond);
BENCHMARK_CAPTURE(BM_SearchBy, sqlite, Engine::Sqlite)->ArgsProduct({{0, 1, 2, 3}, Sizes})->Unit(benchmark::kMicrosecond);
BENCHMARK_CAPTURE(BM_SearchBy, postgres, Engine::Postgres)->ArgsProduct({{0, 1, 2, 3}, Sizes})->Unit(benchmark::kMicrosecond);

// Closed before the application object of the benchmarks' main goes.
void closePatientPractices()
{
    practices.clear();
}
