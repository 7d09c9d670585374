#pragma once

#include "book/pages/pagetext.h"
#include "store/core/database.h"
#include "support/doubles/fixedclock.h"
#include "support/doubles/memoryclipboard.h"
#include "support/doubles/recordingdesktop.h"
#include "support/doubles/recordingwindows.h"
#include "support/doubles/scriptedprompter.h"
#include "support/testdir.h"
#include "support/teststore.h"
#include "ui/core/appstate.h"
#include "ui/core/services.h"

#include <QDate>

namespace testsupport {

// One station of the practice in a test: its own connection to the
// database, the doubles every controller is given (a prompter that fails the
// test on a prompt it was not told of, a clock standing at a fixed time, a
// clipboard of its own) and the services over them. `Registry` is the window
// registry: a recording one for the core tests, the program's own for the
// window tests.
template <class Registry = ui::RecordingWindows>
struct Station {
    store::Database db;
    ui::ScriptedPrompter prompter;
    Registry windows;
    ui::AppState state;
    ui::FixedClock clock;
    ui::MemoryClipboard clipboard;
    ui::RecordingDesktop desktop;
    ui::Services services{db, prompter, state, windows, clock, clipboard, desktop};

    // The practice's database of a test store (db.mdb or a server database),
    // or db.mdb in a test folder.
    store::Database::OpenResult open(const TestStore &store)
    {
        state.places.setData(store.appDir());
        return store.open(db);
    }
    store::Database::OpenResult open(const TestDir &dir)
    {
        state.places.setData(dir.path());
        return db.open(dir.file(QStringLiteral("db.mdb")));
    }

    // The stored text of one cell (grid position) of the page of a date.
    QString stored(const QDate &date, int row, int col)
    {
        const QVariant v = db.scalar(QStringLiteral("SELECT Data FROM tbl_Appt WHERE CalDate = ?"), {date});
        return book::page::cellAt(book::page::decode(v.toString()), row, col);
    }
};

} // namespace testsupport
