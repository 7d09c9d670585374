// Stations seeing each other's changes: what an idle book's watching costs,
// and how soon four stations booking on one page see each other's bookings.
// On db.mdb (the change counter read every half second) and, with
// QUILLON_TEST_PG, on a server (notifications).
#include "benchplace.h"
#include "book/core/bookcontroller.h"
#include "store/core/changewatcher.h"

#include <QCoreApplication>
#include <QElapsedTimer>
#include <QEventLoop>
#include <QTimer>
#include <QThread>
#include <algorithm>
#include <ctime>
#include <memory>
#include <vector>

namespace {

using bench::Engine;

const QDate Day(2026, 12, 8);

struct BookDesk : bench::Desk {
    std::unique_ptr<book::BookController> book;
    explicit BookDesk(Engine e, const bench::Place *shared = nullptr) : Desk(e)
    {
        const bool opened = shared ? shared->open(db) : open();
        if (!opened)
            return;
        book = std::make_unique<book::BookController>(services);
        ready = book->load(Day);
    }
};

// The share of one core an open, idle book uses while it watches.
void BM_IdleBookWatching(benchmark::State &state, Engine e)
{
    BookDesk desk(e);
    if (!desk.ready) {
        state.SkipWithError(bench::NoServer);
        return;
    }
    constexpr int WindowMs = 5000;
    for (auto _ : state) {
        const std::clock_t cpu = std::clock();
        QElapsedTimer wall;
        wall.start();
        // Idle as a shown window is: waiting for events, not spinning.
        QEventLoop loop;
        QTimer::singleShot(WindowMs, &loop, &QEventLoop::quit);
        loop.exec();
        const double used = static_cast<double>(std::clock() - cpu) / CLOCKS_PER_SEC * 1000.0;
        state.counters["cpu_percent_of_core"] = 100.0 * used / static_cast<double>(wall.elapsed());
    }
}
BENCHMARK_CAPTURE(BM_IdleBookWatching, sqlite, Engine::Sqlite)->Iterations(1)->Unit(benchmark::kMillisecond);
BENCHMARK_CAPTURE(BM_IdleBookWatching, postgres, Engine::Postgres)->Iterations(1)->Unit(benchmark::kMillisecond);

// Four stations take turns booking a cell of the shared page; each booking
// is timed until every other station's grid shows it.
void BM_FourStationsBooking(benchmark::State &state, Engine e)
{
    bench::Place place(e);
    std::vector<std::unique_ptr<BookDesk>> desks;
    for (int i = 0; i < 4 && place.usable(); ++i)
        desks.push_back(std::make_unique<BookDesk>(e, &place));
    if (desks.size() < 4 || !std::all_of(desks.begin(), desks.end(), [](const auto &d) { return d->ready; })) {
        state.SkipWithError(bench::NoServer);
        return;
    }
    constexpr int Bookings = 40;
    std::vector<double> seen;
    for (auto _ : state) {
        for (int n = 0; n < Bookings; ++n) {
            BookDesk &writer = *desks[static_cast<size_t>(n % 4)];
            const int row = 3 + n % 20, col = 1 + (n / 20) % 2;
            const QString text = QStringLiteral("Patient %1").arg(n);
            writer.book->session().grid().setCursor(row, col);
            writer.book->entry().gridKeyPress(QChar(13));
            writer.book->entry().setEditorText(text);
            writer.book->entry().editorKeyPress(QChar(9));
            QElapsedTimer t;
            t.start();
            std::vector<bool> shown(4, false);
            shown[static_cast<size_t>(n % 4)] = true;
            while (std::count(shown.begin(), shown.end(), true) < 4 && t.elapsed() < 5000) {
                QCoreApplication::processEvents(QEventLoop::AllEvents, 5);
                for (size_t i = 0; i < 4; ++i)
                    if (!shown[i] && desks[i]->book->session().grid().textMatrix(row, col) == text) {
                        shown[i] = true;
                        seen.push_back(static_cast<double>(t.nsecsElapsed()) / 1e6);
                    }
                QThread::msleep(1);
            }
        }
    }
    std::sort(seen.begin(), seen.end());
    const auto at = [&seen](double q) {
        return seen.empty() ? 0.0 : seen[std::min(seen.size() - 1, static_cast<size_t>(q * static_cast<double>(seen.size())))];
    };
    state.counters["seen_ms_p50"] = at(0.50);
    state.counters["seen_ms_p99"] = at(0.99);
    state.counters["seen_ms_max"] = seen.empty() ? 0.0 : seen.back();
    state.counters["missed"] = static_cast<double>(3 * Bookings * state.iterations()) - static_cast<double>(seen.size());
}
BENCHMARK_CAPTURE(BM_FourStationsBooking, sqlite, Engine::Sqlite)->Iterations(1)->Unit(benchmark::kMillisecond);
BENCHMARK_CAPTURE(BM_FourStationsBooking, postgres, Engine::Postgres)->Iterations(1)->Unit(benchmark::kMillisecond);

} // namespace
