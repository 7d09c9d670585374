// Backing up and restoring a database holding ten years of busy pages
// (20 consultants, 40 time rows), as the page benchmark builds it.
#include "backup/core/backupcontroller.h"
#include "store/core/database.h"
#include "book/pages/pagetext.h"
#include "store/core/schema.h"
#include "ui/core/appstate.h"
#include "support/doubles/scriptedprompter.h"
#include "ui/core/services.h"
#include "ui/core/windows.h"
#include "support/doubles/fixedclock.h"
#include "support/doubles/memoryclipboard.h"
#include "support/doubles/recordingdesktop.h"
#include "support/doubles/recordingwindows.h"

#include <QFileInfo>
#include <QTemporaryDir>
#include <benchmark/benchmark.h>
#include <memory>

namespace {

struct Station {
    QTemporaryDir app;
    QTemporaryDir media;
    store::Database db;
    ui::ScriptedPrompter prompter;
    ui::RecordingWindows windows;
    ui::FixedClock clock;
    ui::MemoryClipboard clipboard;
    ui::RecordingDesktop desktop;
    ui::AppState state;
    std::unique_ptr<ui::Services> services;
    std::unique_ptr<backup::BackupController> controller;

    Station()
    {
        state.places.setData(app.path());
        db.open(app.filePath("db.mdb"));
        constexpr int consultants = 20;
        const QDate first(2017, 1, 1);
        QStringList names;
        for (int c = 1; c <= consultants; ++c)
            names << QStringLiteral("Consultant %1").arg(c);
        const int rows = book::page::dataRows(
            static_cast<int>(book::page::timeRows(7 * 60, 16 * 60 + 45, 15).size()));
        db.beginWrite();
        for (int d = 0; d < 3652; ++d) {
            book::page::Cells cells(static_cast<size_t>(rows));
            for (int r = 0; r < rows; ++r)
                for (int c = 0; c < consultants; ++c)
                    cells[static_cast<size_t>(r)] << ((r + c + d) % 5 == 0 ? QString()
                                                                           : QStringLiteral("Patient %1-%2").arg(r).arg(c));
            const QDate date = first.addDays(d);
            db.insert(store::tables::Appt, {{"CalDate", date}, {"Data", book::page::encode(cells)},
                                            {"location", "Office"}, {"open", "07:00 AM"},
                                            {"Close", "04:45 PM"}, {"timeslot", 15},
                                            {"Listno", consultants}, {"names", book::page::joinList(names)}});
            db.insert(store::tables::Color, {{"caldate", date}, {"CColor", "0"}, {"Spare", "0"}});
        }
        db.commit();
        services = std::make_unique<ui::Services>(ui::Services{db, prompter, state, windows, clock, clipboard, desktop});
        controller = std::make_unique<backup::BackupController>(*services);
        controller->setDestination(media.filePath("backup"));
        controller->setSource(media.filePath("backup"));
    }
};

Station &tenYearStation()
{
    static Station station;
    return station;
}

void BM_BackupTenYears(benchmark::State &state)
{
    Station &s = tenYearStation();
    for (auto _ : state)
        if (s.controller->backup() != backup::BackupController::Outcome::Done)
            state.SkipWithError("backup failed");
    state.counters["MB"] = double(QFileInfo(s.app.filePath("db.mdb")).size()) / 1e6;
}
BENCHMARK(BM_BackupTenYears)->Iterations(5)->Unit(benchmark::kMillisecond);

// Checks the source, keeps a safety copy and replaces the working database.
void BM_RestoreTenYears(benchmark::State &state)
{
    Station &s = tenYearStation();
    if (s.controller->backup() != backup::BackupController::Outcome::Done)
        state.SkipWithError("backup failed");
    for (auto _ : state) {
        s.prompter.answerYes();
        if (s.controller->restore() != backup::BackupController::Outcome::Done)
            state.SkipWithError("restore failed");
    }
}
BENCHMARK(BM_RestoreTenYears)->Iterations(5)->Unit(benchmark::kMillisecond);

} // namespace
