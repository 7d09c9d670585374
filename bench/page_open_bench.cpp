// Opening a day page (find or create, build the grid, fill it) on a book
// holding ten years of busy pages: 20 consultants, 40 time rows.
#include "book/core/bookcontroller.h"
#include "store/core/database.h"
#include "book/pages/pagetext.h"
#include "store/core/schema.h"
#include "ui/core/appstate.h"
#include "ui/core/clipboard.h"
#include "ui/core/services.h"
#include "ui/core/windows.h"
#include "support/doubles/scriptedprompter.h"
#include "support/doubles/recordingwindows.h"
#include "support/doubles/memoryclipboard.h"
#include "support/doubles/fixedclock.h"

#include <QCoreApplication>
#include <QTemporaryDir>
#include <benchmark/benchmark.h>
#include <memory>

namespace {

constexpr int Consultants = 20;
const QDate FirstDay(2017, 1, 1);
constexpr int Days = 3652;

struct Book {
    QTemporaryDir dir;
    store::Database db;
    ui::ScriptedPrompter prompter;
    ui::RecordingWindows windows;
    ui::AppState state;
    ui::FixedClock clock;
    ui::MemoryClipboard clipboard;
    std::unique_ptr<ui::Services> services;
    std::unique_ptr<book::BookController> controller;

    Book()
    {
        db.open(dir.filePath("db.mdb"));
        // 07:00 AM to 04:45 PM by 15 minutes: 40 time rows.
        QStringList names;
        for (int c = 1; c <= Consultants; ++c)
            names << QStringLiteral("Consultant %1").arg(c);
        db.exec("UPDATE \"tbl_Setup\" SET \"open\" = '07:00 AM', \"Close\" = '04:45 PM', "
                "\"timeslot\" = 15, \"Listno\" = ?, \"names\" = ?",
                {Consultants, book::page::joinList(names)});
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
        services = std::make_unique<ui::Services>(ui::Services{db, prompter, state, windows, clock, clipboard});
        controller = std::make_unique<book::BookController>(*services);
        controller->load(FirstDay);
    }
};

Book &tenYearBook()
{
    static Book book;
    return book;
}

void BM_OpenPage(benchmark::State &state)
{
    Book &book = tenYearBook();
    int i = 0;
    for (auto _ : state) {
        // 1,000 different dates spread over the ten years.
        const QDate date = FirstDay.addDays((i++ % 1000) * 3 + 1);
        book.controller->openPage(date);
        benchmark::DoNotOptimize(book.controller->grid().textMatrix(3, 1));
    }
}
BENCHMARK(BM_OpenPage)->Iterations(1000)->Repetitions(5)->ReportAggregatesOnly(true)->Unit(benchmark::kMillisecond);

// The floor under every page open: the indexed read of the page text and
// its split into cells, nothing else. Page open is measured against it.
void BM_PageReadFloor(benchmark::State &state)
{
    Book &book = tenYearBook();
    int i = 0;
    for (auto _ : state) {
        const QDate date = FirstDay.addDays((i++ % 1000) * 3 + 1);
        const QVariant data =
            book.db.scalar(QStringLiteral("SELECT \"Data\" FROM \"tbl_Appt\" WHERE \"CalDate\" = ?"), {date});
        benchmark::DoNotOptimize(book::page::decode(data.toString()));
    }
}
BENCHMARK(BM_PageReadFloor)->Iterations(1000)->Repetitions(5)->ReportAggregatesOnly(true)->Unit(benchmark::kMillisecond);

} // namespace

int main(int argc, char **argv)
{
    QCoreApplication app(argc, argv);
    benchmark::Initialize(&argc, argv);
    benchmark::RunSpecifiedBenchmarks();
    benchmark::Shutdown();
    return 0;
}
