#include "book/core/bookcontroller.h"

#include "book/core/appointmentshistory.h"
#include "book/pages/blockops.h"
#include "book/core/columnexport.h"
#include "book/core/namesearch.h"
#include "book/core/nextavailable.h"
#include "book/core/pagehistory.h"
#include "book/core/recurrentbooking.h"
#include "book/core/spreadsheet.h"
#include "book/core/writefailure.h"
#include "store/core/changewatcher.h"
#include "store/core/database.h"
#include "ui/core/appstate.h"
#include "ui/core/clock.h"
#include "ui/core/prompter.h"
#include "ui/core/textdelivery.h"
#include "ui/core/windows.h"

#include <algorithm>

namespace book {

using store::DbError;

BookController::BookController(ui::Services &services, QObject *parent)
    : QObject(parent),
      m_s(services),
      m_session(*this, services),
      m_entry(*this, m_session, services),
      m_panel(*this, m_session, services),
      m_nav(*this, m_session, services),
      m_printing(*this, m_session, services),
      m_blocks(std::make_unique<BlockOps>(BlockOps::Kind::Page, *this, services.prompter, services.clipboard)),
      m_recurrent(std::make_unique<RecurrentBooking>(*this, m_session, services)),
      m_search(std::make_unique<NameSearch>(*this, m_session, services)),
      m_history(std::make_unique<AppointmentsHistory>(*this, m_session, services)),
      m_pageHistory(std::make_unique<PageHistory>(m_session, services.db)),
      m_next(std::make_unique<NextAvailable>(*this, m_session, services))
{
    // Paths that unload the book from elsewhere (the menu's Exit, backup,
    // setup) stop at a typed entry as F3 does.
    m_s.windows.setSettler(ui::win::Appt, [this] { return m_entry.leaveEditor(); });
    m_pendingRetry.setSingleShot(true);
    m_pendingRetry.setInterval(store::ChangeWatcher::PollMs / 2);
    connect(&m_pendingRetry, &QTimer::timeout, this, [this] { showPendingChange(); });
    // Stations that stop without a word drop out of the count by the clock.
    m_recount.setInterval(store::Presence::BeatSeconds * 1000);
    connect(&m_recount, &QTimer::timeout, this, [this] { recountStations(); });
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
    m_admin = true;
    if (!m_session.beginLoad(today))
        return false;
    m_nav.startAt(today);
    if (!m_session.finishLoad(today))
        return false;
    emit calendarChanged();
    pageChanged();
    emit panelChanged();
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
    recountStations();
    m_recount.start();
}

void BookController::recountStations()
{
    try {
        m_others = store::Presence::others(m_s.db, m_s.clock.now());
    } catch (const DbError &) {
        // The count stays as it was until the next look.
        return;
    }
    emit stationsChanged();
}

QString BookController::stationsCaption() const
{
    if (m_others.empty())
        return {};
    return m_others.size() == 1 ? QStringLiteral("1 other station open")
                                : QStringLiteral("%1 other stations open").arg(m_others.size());
}

QString BookController::stationsTip() const
{
    QStringList names;
    for (const store::StationSeen &s : m_others)
        names << s.label();
    return names.join(QLatin1Char('\n'));
}

void BookController::otherStationChanged(const QString &kind, const QString &key)
{
    if (kind.isEmpty() || kind == QLatin1String("station"))
        recountStations();
    // "data": all of it was replaced (a restore on the server).
    if (!kind.isEmpty() && kind != QLatin1String("data") &&
        !(kind == QLatin1String("page") && key == displayedDate().toString(Qt::ISODate)))
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
        emit cellsChangedElsewhere();
    return true;
}

void BookController::pageChanged()
{
    emit captionsChanged();
    emit statusChanged();
    emit lockChanged();
    emit memosChanged();
    emit bookNameChanged();
    emit undoChanged();
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
    m_recount.stop();
    m_s.windows.show(ui::win::Menu);
    emit closeRequested();
    m_s.windows.unload(ui::win::Appt);
    return true;
}

void BookController::refreshCommand()
{
    if (m_entry.leaveEditor())
        refreshGrid();
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

void BookController::commandStored(const QString &command, int row, int col)
{
    m_session.keepStep(command, row, col, {m_session.takeStoredEdit()});
}

namespace {

// The cells taken back, marked as a range from their first cell, so that the
// user sees them and the next block command acts on them.
void markCells(BookController &book, const CellList &cells)
{
    book.blocks().plainClick(book.grid().row(), book.grid().col());   // an earlier mark is let go
    if (cells.empty())
        return;
    int top = cells.front().first, left = cells.front().second, bottom = top, right = left;
    for (const auto &[r, c] : cells) {
        top = std::min(top, r);
        left = std::min(left, c);
        bottom = std::max(bottom, r);
        right = std::max(right, c);
    }
    book.grid().setCursor(top, left);
    if (bottom != top || right != left)
        book.blocks().shiftClick(bottom, right);
}

} // namespace

void BookController::undo()
{
    if (!m_entry.visible())
        markCells(*this, m_session.undo());
}

void BookController::redo()
{
    if (!m_entry.visible())
        markCells(*this, m_session.redo());
}

// ---------------------------------------------------------------- recurrent bookings and searches

void BookController::recurrentBooking()
{
    m_recurrent->run();
}

void BookController::searchClient()
{
    m_search->start();
}

void BookController::answerYes()
{
    m_search->yes();
}

void BookController::answerNo()
{
    m_search->no();
}

void BookController::searchHistory()
{
    m_history->run();
}

void BookController::cellHistory()
{
    const ui::GridModel &g = m_session.grid();
    if (!pos::inData(g.row(), g.col()))
        return;
    QString text;
    try {
        text = PageHistory::report(QStringLiteral("Cell History:  %1  %2").arg(m_session.dateCaption(),
                                                                            cellLabel(m_session.layout(), g.row(), g.col())
                                                                                .replace(QLatin1Char('\t'), QLatin1Char(' '))),
                                   m_pageHistory->currentCell());
    } catch (const store::DbError &e) {
        m_s.prompter.message(e.numbered(), QStringLiteral("Cell History"), ui::Icon::Critical);
        return;
    }
    requestFocus(Focus::Grid);
    ui::deliverText(m_s, QStringLiteral("Cell History"), text);
}

void BookController::deletedOnPage()
{
    try {
        m_deletedShown = m_pageHistory->deletedHere();
    } catch (const store::DbError &e) {
        m_s.prompter.message(e.numbered(), QStringLiteral("Deleted on this page"), ui::Icon::Critical);
        return;
    }
    emit deletedListRequested();
}

void BookController::putBack(const CellChange &deleted)
{
    const QString title = QStringLiteral("Put back");
    switch (m_pageHistory->putBack(deleted)) {
    case PageHistory::PutBack::Done:
        break;
    case PageHistory::PutBack::Occupied:
        m_s.prompter.message(QStringLiteral("The cell is not empty any more: the booking was not put back."), title,
                             ui::Icon::Warning);
        break;
    case PageHistory::PutBack::NoSuchCell:
        m_s.prompter.message(QStringLiteral("This page has no cell at %1 for %2 any more.")
                                 .arg(deleted.time, deleted.consultant),
                             title, ui::Icon::Warning);
        break;
    case PageHistory::PutBack::Failed:
        m_s.prompter.message(QStringLiteral("The booking could not be put back. Please try again."), title,
                             ui::Icon::Warning);
        refreshGrid();
        break;
    }
    requestFocus(Focus::Grid);
}

void BookController::nextAvailableByRow()
{
    m_next->byRow();
}

void BookController::nextAvailableByColumn()
{
    m_next->byColumn();
}

void BookController::nextAvailableOnDate()
{
    m_next->onDate();
}

// ---------------------------------------------------------------- block host

QString BookController::failureText(const store::DbError &error, const QString &outcome) const
{
    return writeFailure(error, m_s.db, outcome);
}

QString BookController::blockoutText()
{
    store::Settings &settings = m_session.settings();
    try {
        settings.blockout = m_session.settingsStore().field(QStringLiteral("Blockout")).toString();
    } catch (const DbError &) {
    }
    return settings.blockout;
}

void BookController::changeBlockoutString()
{
    if (!m_admin) {
        m_s.prompter.message(QStringLiteral("Sorry, Blockout string can only be changed at admin/server station!"),
                             QStringLiteral("Blockout"));
        return;
    }
    const auto answer = m_s.prompter.input(QStringLiteral("Enter Blockout String"),
                                           QStringLiteral("Blockout"), blockoutText());
    if (!answer || answer->isEmpty())
        return;
    try {
        m_session.settingsStore().write({{QStringLiteral("Blockout"), *answer}});
        m_session.settings().blockout = *answer;
    } catch (const DbError &e) {
        m_s.prompter.message(e.numbered(), QStringLiteral("Blockout"), ui::Icon::Critical);
    }
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
