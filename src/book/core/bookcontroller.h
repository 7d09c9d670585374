#pragma once

#include "book/pages/blockops.h"
#include "book/core/bookhub.h"
#include "book/core/booknavigation.h"
#include "book/core/bookprinting.h"
#include "book/core/cellentry.h"
#include "book/core/otherstations.h"
#include "book/core/pageblockhost.h"
#include "book/core/pagesession.h"
#include "book/core/sidepanel.h"
#include "ui/core/commandset.h"
#include "ui/core/services.h"

#include <QDate>
#include <QObject>
#include <QString>
#include <QTimer>
#include <functional>
#include <memory>

namespace store {
class ChangeWatcher;
}

namespace book {

class AppointmentsHistory;
class PageHistory;
class NameSearch;
class NextAvailable;
class RecurrentBooking;

// The appointment book: it makes the parts (the page session, the cell
// entry, the side panel, the navigation, printing, the block commands, the
// bookings in series, the searches and the page's history), each over the
// hub and only the siblings it uses, and keeps what spans them: load and
// close, other stations' changes, undo and redo. The window binds to the
// parts and listens to the hub.
class BookController : public QObject {
    Q_OBJECT
public:
    explicit BookController(ui::Services &services, QObject *parent = nullptr);
    ~BookController() override;

    BookHub &hub() { return m_hub; }
    // The window's commands, keys and legend (bookcommands.h).
    ui::CommandSet &commands() { return m_commands; }
    PageSession &session() { return m_session; }
    const PageSession &session() const { return m_session; }
    CellEntry &entry() { return m_entry; }
    const CellEntry &entry() const { return m_entry; }
    SidePanel &panel() { return m_panel; }
    const SidePanel &panel() const { return m_panel; }
    BookNavigation &navigation() { return m_nav; }
    const BookNavigation &navigation() const { return m_nav; }
    BookPrinting &printing() { return m_printing; }
    BlockOps &blocks() { return m_blocks; }
    PageBlockHost &blockHost() { return m_blockHost; }
    OtherStations &stations() { return m_stations; }
    const OtherStations &stations() const { return m_stations; }
    RecurrentBooking &recurrent() { return *m_recurrent; }
    NameSearch &search() { return *m_search; }
    const NameSearch &search() const { return *m_search; }
    AppointmentsHistory &history() { return *m_history; }
    PageHistory &pageHistory() { return *m_pageHistory; }
    NextAvailable &nextAvailable() { return *m_next; }

    // Window load: settings, calendar and today's page. False when the
    // database could not give a page (a message has been shown).
    bool load();                           // today by the services' clock
    bool load(const QDate &today);
    void activate();                       // the window comes to the front
    bool closeBook();                      // back to the main menu; false: an entry is unsaved
    void refreshCommand();                 // F3, toolbar Refresh: asks first about an unsaved entry
    // A click in the grid also closes the answer and print panels.
    void gridMouseDown(int button, int shift, int row, int col);
    void goToday();                        // the answer panel closes too

    // ---- other stations' changes, shown as they happen
    // What the watcher reports: the page of a date changed elsewhere (an
    // empty kind: something changed, the page is read to see).
    void otherStationChanged(const QString &kind, const QString &key);
    // Shows a change reported, unless this station is in the middle of
    // something (a write waiting, a question open, a page being loaded):
    // then it waits for the next moment. False while one is still waiting.
    bool showPendingChange();
    // The window says whether it may be disturbed now (no message box open).
    void setQuietCheck(std::function<bool()> quiet) { m_quiet = std::move(quiet); }
    store::ChangeWatcher *watcher() const { return m_watcher.get(); }
    // The cells the last change from elsewhere touched.
    const CellList &changedElsewhere() const { return m_changedElsewhere; }

    // ---- undo and redo (Ctrl+Z, Ctrl+Y): this station's changes to the page on display
    // Neither acts while a cell editor is open: its text has its own undo.
    void undo();
    void redo();

    // ---- commands of the window
    void showHelp();
    void about();
    void exportColumn();                         // grid menu "Export to text file"
    void openSpreadsheet();                      // toolbar Info

private:
    ui::Services &m_s;
    BookHub m_hub;
    OtherStations m_stations;
    // Declared in this order: the entry's editor lies on the session's grid.
    // A part may hold a sibling declared after it; it uses it only once all
    // are made.
    PageSession m_session;
    CellEntry m_entry;
    SidePanel m_panel;
    BookNavigation m_nav;
    BookPrinting m_printing;
    PageBlockHost m_blockHost;
    BlockOps m_blocks;
    std::unique_ptr<RecurrentBooking> m_recurrent;
    std::unique_ptr<NameSearch> m_search;
    std::unique_ptr<AppointmentsHistory> m_history;
    std::unique_ptr<PageHistory> m_pageHistory;
    std::unique_ptr<NextAvailable> m_next;
    ui::CommandSet m_commands;
    std::unique_ptr<store::ChangeWatcher> m_watcher;
    std::function<bool()> m_quiet;
    bool m_changePending = false;
    QTimer m_pendingRetry;
    CellList m_changedElsewhere;

    void watchStore();
    void markCells(const CellList &cells);
};

} // namespace book
