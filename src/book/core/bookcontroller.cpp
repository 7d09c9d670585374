#include "book/core/bookcontroller.h"

#include "book/core/appointmentshistory.h"
#include "book/core/bookcommands.h"
#include "book/pages/blockops.h"
#include "book/core/columnexport.h"
#include "book/core/namesearch.h"
#include "book/core/nextavailable.h"
#include "book/core/pagehistory.h"
#include "book/core/recurrentbooking.h"
#include "book/core/spreadsheet.h"
#include "store/core/changewatcher.h"
#include "store/core/database.h"
#include "ui/core/appstate.h"
#include "ui/core/desktop.h"
#include "ui/core/prompter.h"
#include "ui/core/windows.h"

#include <algorithm>

namespace book {

using store::DbError;

BookController::BookController(ui::Services &services, QObject *parent)
    : QObject(parent),
      m_s(services),
      m_stations(m_hub, services),
      m_session(m_hub, services, m_entry),
      m_entry(m_hub, m_session, services, m_panel, m_nav, m_blocks),
      m_panel(m_hub, m_session, services, m_entry, m_stations),
      m_nav(m_hub, m_session, services, m_entry, m_panel),
      m_printing(m_hub, m_session, services, m_entry, m_nav),
      m_blockHost(m_hub, m_session, m_entry, services),
      m_blocks(BlockOps::Kind::Page, m_blockHost, services.prompter, services.clipboard),
      m_recurrent(std::make_unique<RecurrentBooking>(m_session, services, m_entry)),
      m_search(std::make_unique<NameSearch>(m_hub, m_session, services, m_entry, m_nav)),
      m_history(std::make_unique<AppointmentsHistory>(m_hub, m_session, services)),
      m_pageHistory(std::make_unique<PageHistory>(m_hub, m_session, services)),
      m_next(std::make_unique<NextAvailable>(m_hub, m_session, services, m_entry, m_nav))
{
    // Paths that unload the book from elsewhere (the menu's Exit, backup,
    // setup) stop at a typed entry as F3 does.
    m_s.windows.setSettler(ui::win::Appt, [this] { return m_entry.leaveEditor(); });
    addBookCommands(m_commands, *this);
    m_pendingRetry.setSingleShot(true);
    m_pendingRetry.setInterval(store::ChangeWatcher::PollMs / 2);
    connect(&m_pendingRetry, &QTimer::timeout, this, [this] { showPendingChange(); });
}

BookController::~BookController()
{
    m_s.windows.clearSettler(ui::win::Appt);
}

bool BookController::load()
{
    return load(m_s.clock.today());
}

bool BookController::load(const QDate &today)
{
    if (!m_session.beginLoad(today))
        return false;
    m_nav.startAt(today);
    if (!m_session.finishLoad(today))
        return false;
    emit m_hub.calendarChanged();
    m_hub.pageChanged();
    emit m_hub.panelChanged();
    watchStore();
    return true;
}

void BookController::watchStore()
{
    if (m_watcher)
        return;
    m_watcher = std::make_unique<store::ChangeWatcher>(m_s.db);
    connect(m_watcher.get(), &store::ChangeWatcher::changed, this, &BookController::otherStationChanged);
    m_watcher->start();
    m_stations.start();
}

void BookController::otherStationChanged(const QString &kind, const QString &key)
{
    if (kind.isEmpty() || kind == QLatin1String("station"))
        m_stations.recount();
    // "data": all of it was replaced (a restore on the server).
    if (!kind.isEmpty() && kind != QLatin1String("data") &&
        !(kind == QLatin1String("page") && key == m_session.date().toString(Qt::ISODate)))
        return;
    m_changePending = true;
    showPendingChange();
}

bool BookController::showPendingChange()
{
    if (!m_changePending)
        return true;
    // A refresh in the middle of a command would move what the command
    // works on; it waits until the command is done.
    if (m_session.loading() || m_session.busy() || m_s.state.refreshHolds > 0 || m_s.db.inTransaction() ||
        m_s.db.waiting() ||
        (m_quiet && !m_quiet())) {
        m_pendingRetry.start();
        return false;
    }
    m_changePending = false;
    m_changedElsewhere = m_session.showOthersChanges();
    if (!m_changedElsewhere.empty())
        emit m_hub.cellsChangedElsewhere();
    return true;
}

void BookController::activate()
{
    m_panel.armTimer();
}

bool BookController::closeBook()
{
    if (!m_entry.leaveEditor())
        return false;
    m_panel.stopTimer();
    if (m_watcher)
        m_watcher->stop();
    m_stations.stop();
    m_s.windows.show(ui::win::Menu);
    emit m_hub.closeRequested();
    m_s.windows.unload(ui::win::Appt);
    return true;
}

void BookController::refreshCommand()
{
    if (m_entry.leaveEditor())
        m_session.refreshGrid();
}

void BookController::gridMouseDown(int button, int shift, int row, int col)
{
    if (button == 1 && shift == 0) {
        m_search->hidePanel();
        m_printing.hidePanel();
    }
    m_entry.gridMouseDown(button, shift, row, col);
}

void BookController::goToday()
{
    m_search->hidePanel();
    m_nav.goToday();
}

// ---------------------------------------------------------------- undo and redo

// The cells taken back, marked as a range from their first cell, so that the
// user sees them and the next block command acts on them.
void BookController::markCells(const CellList &cells)
{
    ui::GridModel &grid = m_session.grid();
    m_blocks.plainClick(grid.row(), grid.col());   // an earlier mark is let go
    if (cells.empty())
        return;
    int top = cells.front().first, left = cells.front().second, bottom = top, right = left;
    for (const auto &[r, c] : cells) {
        top = std::min(top, r);
        left = std::min(left, c);
        bottom = std::max(bottom, r);
        right = std::max(right, c);
    }
    grid.setCursor(top, left);
    if (bottom != top || right != left)
        m_blocks.shiftClick(bottom, right);
}

void BookController::undo()
{
    if (!m_entry.visible())
        markCells(m_session.undo());
}

void BookController::redo()
{
    if (!m_entry.visible())
        markCells(m_session.redo());
}

// ---------------------------------------------------------------- commands

void BookController::showHelp()
{
    m_s.windows.show(ui::win::Help);
}

void BookController::exportColumn()
{
    book::exportColumn(m_s, m_session);
}

void BookController::openSpreadsheet()
{
    book::openSpreadsheet(m_s);
}

void BookController::about()
{
    m_s.prompter.message(QStringLiteral("Quillon Appointments Scheduler, version 3.6.5.\n\nPlease visit "
                                        "our website for the latest software updates and fixes."),
                         QStringLiteral("About us"), ui::Icon::Information);
}

} // namespace book
