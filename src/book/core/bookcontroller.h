#pragma once

#include "book/pages/blockhost.h"
#include "book/core/booknavigation.h"
#include "book/core/bookprinting.h"
#include "book/core/calendar.h"
#include "book/core/cellentry.h"
#include "book/core/pagehistory.h"
#include "book/core/pagesession.h"
#include "book/core/sidepanel.h"
#include "book/pages/celleditor.h"
#include "book/pages/pagegrid.h"
#include "book/pages/pagestore.h"
#include "store/core/presence.h"
#include "store/core/settings.h"
#include "ui/core/gridmodel.h"
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
class BlockOps;
class NameSearch;
class NextAvailable;
class RecurrentBooking;

// Where the window should put the keyboard focus.
enum class Focus { Grid, Editor, Calendar, DailyMemo, FixedMemo, BookName, Status, Month, Year, AnswerYes, PrintPanel };


// The appointment book window's state and rules. It holds the parts (the
// page session, the cell entry, the side panel, the navigation and the block
// commands), hands the window's events to them and carries their signals.
class BookController : public QObject, public BlockHost {
    Q_OBJECT
public:
    explicit BookController(ui::Services &services, QObject *parent = nullptr);
    ~BookController() override;

    PageSession &session() { return m_session; }
    CellEntry &entry() { return m_entry; }
    SidePanel &panel() { return m_panel; }
    const SidePanel &panel() const { return m_panel; }
    BookNavigation &navigation() { return m_nav; }
    BookPrinting &printing() { return m_printing; }

    // ---- the page on display
    // Window load: settings, calendar and today's page. False when the
    // database could not give a page (a message has been shown).
    bool load();                           // today by the services' clock
    bool load(const QDate &today);
    void activate();                       // the window comes to the front
    void openPage(const QDate &date) { m_session.openPage(date); }
    void fillGrid() { m_session.fillGrid(); }
    void refreshGrid(bool hideEditor = true) { m_session.refreshGrid(hideEditor); }
    bool closeBook();                      // back to the main menu; false: an entry is unsaved
    void refreshCommand();                 // F3, toolbar Refresh: asks first about an unsaved entry

    ui::GridModel &grid() { return m_session.grid(); }
    const ui::GridModel &grid() const { return m_session.grid(); }
    QDate displayedDate() const { return m_session.page().date; }
    QDate today() const { return m_session.today(); }
    const PageRecord &page() const { return m_session.page(); }
    const PageLayout &layout() const { return m_session.layout(); }
    const store::Settings &settings() const { return m_session.settings(); }
    QString dateCaption() const { return m_session.dateCaption(); }
    QString dayCaption() const { return m_session.dayCaption(); }
    bool loading() const { return m_session.loading(); }
    QStringList statusEntries() const { return m_panel.statusEntries(); }
    int statusIndex() const { return m_panel.statusIndex(); }
    bool dayClosed() const override { return m_session.closed(); }   // Check1

    // ---- cell entry
    using Editor = CellEditor::State;
    Editor editor() const { return m_entry.editor(); }
    bool clean() const { return m_entry.clean(); }
    void gridKeyPress(QChar ch) { m_entry.gridKeyPress(ch); }
    bool gridKeyDown(int qtKey, int shift) { return m_entry.gridKeyDown(qtKey, shift); }
    void gridDoubleClick() { m_entry.gridDoubleClick(); }
    void gridMouseDown(int button, int shift, int row, int col);
    void gridMouseUp(int button, int shift, int row, int col) { m_entry.gridMouseUp(button, shift, row, col); }
    void gridScrolled() { m_entry.gridScrolled(); }
    bool editorKeyDown(int qtKey, int shift) { return m_entry.editorKeyDown(qtKey, shift); }
    bool editorKeyPress(QChar ch) { return m_entry.editorKeyPress(ch); }
    void setEditorText(const QString &text) { m_entry.setEditorText(text); }
    bool checkUnsavedEntry() { return m_entry.checkUnsavedEntry(); }
    void saveFromEditor() { m_entry.saveFromEditor(); }

    // ---- memos, book name, office status, page lock, auto-refresh
    bool fixedMemoShown() const { return m_panel.fixedMemoShown(); }
    QString memoButtonCaption() const { return m_panel.memoButtonCaption(); }
    QString dailyMemo() const { return m_panel.dailyMemo(); }
    QString fixedMemo() const { return m_panel.fixedMemo(); }
    void memoCommand() { m_panel.memoCommand(); }
    void memoFocusIn(bool fixed) { m_panel.memoFocusIn(fixed); }
    void memoFocusOut(bool fixed, const QString &text) { m_panel.memoFocusOut(fixed, text); }
    void memoTab(bool fixed, const QString &text) { m_panel.memoTab(fixed, text); }
    QString bookName() const { return m_panel.bookName(); }
    bool bookNameLocked() const { return m_panel.bookNameLocked(); }
    void bookNameFocusIn() { m_panel.bookNameFocusIn(); }
    void bookNameEntered(const QString &text) { m_panel.bookNameEntered(text); }
    void statusChosen(int index) { m_panel.statusChosen(index); }
    bool pageLocked() const { return m_session.locked(); }  // Check2
    void setPageLock(bool locked) { m_panel.setPageLock(locked); }
    bool timerEnabled() const { return m_panel.timerEnabled(); }
    int timerIntervalMs() const { return m_panel.timerIntervalMs(); }
    void timerTick() { m_panel.timerTick(); }
    std::optional<QString> dailyMemoStoredMeanwhile() const { return m_panel.dailyMemoStoredMeanwhile(); }

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
    // The other stations running now, as last counted.
    const std::vector<store::StationSeen> &otherStations() const { return m_others; }
    QString stationsCaption() const;      // "2 other stations open"; empty for none
    QString stationsTip() const;          // their names, one a line
    void recountStations();
    bool isAdminStation() const { return m_admin; }

    // ---- date navigation
    CalendarModel &calendar() { return m_nav.calendar(); }
    const CalendarModel &calendar() const { return m_nav.calendar(); }
    void calendarFocusIn() { m_nav.calendarFocusIn(); }
    void calendarFocusOut() { m_nav.calendarFocusOut(); }
    bool calendarKeyDown(int qtKey) { return m_nav.calendarKeyDown(qtKey); }
    void calendarKeyPress(QChar ch) { m_nav.calendarKeyPress(ch); }
    void dayClicked(int cell) { m_nav.dayClicked(cell); }
    void goToday();
    void goToDate(const QDate &date) { m_nav.goToDate(date); }
    void upButton() { m_nav.upButton(); }
    void downButton() { m_nav.downButton(); }
    void monthChosen(int index) { m_nav.monthChosen(index); }
    void yearChosen(int index) { m_nav.yearChosen(index); }
    void selectorEnter() { m_nav.selectorEnter(); }
    void selectorBrowsing(bool on) { m_nav.selectorBrowsing(on); }
    void openPageByDate() { m_nav.openPageByDate(); }
    QString demoCaption() const { return m_nav.demoCaption(); }
    void demo() { m_nav.demo(); }
    bool navigationPanelShown() const { return m_nav.panelShown(); }
    void toggleFullWidth() { m_nav.toggleFullWidth(); }
    void prepareWeek() { m_nav.prepareWeek(); }
    void weeklyView() { m_nav.weeklyView(); }
    void returnDay() { m_nav.returnDay(); }
    void weekBack() { m_nav.weekBack(); }

    // ---- block commands and colours
    BlockOps &blocks() { return *m_blocks; }
    void changeBlockoutString();                 // toolbar Blockout

    // ---- undo and redo (Ctrl+Z, Ctrl+Y): this station's changes to the page on display
    // Neither acts while a cell editor is open: its text has its own undo.
    void undo();
    void redo();
    // The Edit menu's and toolbar's words ("Undo Cut 08:00 AM Dr Avery");
    // empty when there is nothing to undo (redo) on the page.
    QString undoText() const { return m_session.undoText(); }
    QString redoText() const { return m_session.redoText(); }

    // ---- recurrent bookings and searches
    RecurrentBooking &recurrent() { return *m_recurrent; }
    NameSearch &search() { return *m_search; }
    const NameSearch &search() const { return *m_search; }
    AppointmentsHistory &history() { return *m_history; }
    NextAvailable &nextAvailable() { return *m_next; }
    void recurrentBooking();                     // F2
    void searchClient();                         // F5, Search > Client, toolbar Search
    void answerYes();                            // cmdYes
    void answerNo();                             // cmdNo
    void searchHistory();                        // grid menu "Search History"
    PageHistory &pageHistory() { return *m_pageHistory; }
    void cellHistory();                          // grid menu "Cell History"
    void deletedOnPage();                        // grid menu "Deleted on this page"
    const std::vector<CellChange> &deletedShown() const { return m_deletedShown; }
    void putBack(const CellChange &deleted);     // Enter on a booking of that list
    void nextAvailableByRow();                   // F6, toolbar Hor
    void nextAvailableByColumn();                // F7, toolbar Vert
    void nextAvailableOnDate();                  // toolbar Date

    // ---- commands of the window
    void showHelp();
    void about();
    void exportColumn();                         // grid menu "Export to text file"
    void openSpreadsheet();                      // toolbar Info

    void requestFocus(Focus f) { emit focusRequested(f); }
    void pageChanged();          // another page, or the same one shown anew: all it shows

    // BlockHost
    ui::GridModel &blockGrid() override { return m_session.grid(); }
    store::Database *commandLog() override { return &m_s.db; }
    CellList storeCells(const CellChanges &changes) override { return m_session.storeCells(changes); }
    CellList storeColors(const ColorChanges &changes) override { return m_session.storeColors(changes); }
    CellList storeBlock(const CellChanges &cells, const ColorChanges &colors) override
    {
        return m_session.storeBlock(cells, colors);
    }
    QString failureText(const store::DbError &error, const QString &outcome) const override;
    void commandStored(const QString &command, int row, int col) override;
    void refreshPage() override { refreshGrid(); }
    void colorSaveFailed(const store::DbError &error) override { m_session.colorSaveFailed(error); }
    bool editorOpen() const override { return m_entry.visible(); }
    QString blockoutText() override;
    void focusGrid() override { requestFocus(Focus::Grid); }

signals:
    void editorChanged();        // shown, hidden, moved, text or read-only changed
    void captionsChanged();      // the date and weekday of the page
    void memosChanged();         // the daily or fixed memo, or a draft of one
    void statusChanged();        // the office status and the closed look
    void lockChanged();          // the page lock
    void bookNameChanged();      // the book name or its lock
    void panelChanged();         // full width, the memo shown and its button, the demo caption
    void calendarChanged();
    void timerChanged();
    void printPanelChanged();    // the print options panel shown, hidden or its choice changed
    void focusRequested(book::Focus focus);
    void contextMenuRequested(int row, int col);
    void closeRequested();       // the window is to be unloaded
    void busyChanged(bool busy); // a write may wait for another station: busy pointer
    void searchPanelChanged();   // the answer panel shown, hidden or its message
    void undoChanged();          // what Undo and Redo would take back, or another page
    void cellsChangedElsewhere();// another station's change is shown: changedElsewhere()
    void stationsChanged();      // otherStations() counted anew
    void deletedListRequested(); // the list of bookings deleted from the page is to be shown

private:
    ui::Services &m_s;
    bool m_admin = true;
    // Declared in this order: the entry's editor lies on the session's grid.
    PageSession m_session;
    CellEntry m_entry;
    SidePanel m_panel;
    BookNavigation m_nav;
    BookPrinting m_printing;
    std::unique_ptr<BlockOps> m_blocks;
    std::unique_ptr<RecurrentBooking> m_recurrent;
    std::unique_ptr<NameSearch> m_search;
    std::unique_ptr<AppointmentsHistory> m_history;
    std::unique_ptr<PageHistory> m_pageHistory;
    std::vector<CellChange> m_deletedShown;
    std::unique_ptr<NextAvailable> m_next;
    std::unique_ptr<store::ChangeWatcher> m_watcher;
    std::function<bool()> m_quiet;
    bool m_changePending = false;
    QTimer m_pendingRetry;
    CellList m_changedElsewhere;
    std::vector<store::StationSeen> m_others;
    QTimer m_recount;

    void watchStore();
};

} // namespace book
