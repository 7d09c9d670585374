#pragma once

#include "book/core/blockhost.h"
#include "book/core/calendar.h"
#include "book/pages/celleditor.h"
#include "book/pages/pagegrid.h"
#include "book/pages/pagestore.h"
#include "store/core/settings.h"
#include "ui/core/gridmodel.h"
#include "ui/core/services.h"

#include <QDate>
#include <QObject>
#include <QString>
#include <memory>
#include <optional>

namespace ui {
class Clipboard;
}

namespace book {

class BlockOps;

// Where the window should put the keyboard focus.
enum class Focus { Grid, Editor, Calendar, DailyMemo, FixedMemo, BookName, Status, Month, Year };


// The appointment book window's state and rules: the page on display, the
// cell editor, memos and office status, the calendar and the block commands.
// The window forwards the user's events here and draws what it holds.
class BookController : public QObject, public BlockHost {
    Q_OBJECT
public:
    explicit BookController(ui::Services &services, QObject *parent = nullptr);
    ~BookController() override;

    // ---- the page on display
    // Window load: settings, calendar and today's page. False when the
    // database could not give a page (a message has been shown).
    bool load();                           // today by the services' clock
    bool load(const QDate &today);
    void activate();                       // the window comes to the front
    void openPage(const QDate &date);      // find or create the page, fill the grid
    void fillGrid();                       // show the stored page anew
    void refreshGrid(bool hideEditor = true);  // re-read the page, cursor kept
    bool closeBook();                      // back to the main menu; false: an entry is unsaved
    void refreshCommand();                 // F3, toolbar Refresh: asks first about an unsaved entry

    ui::GridModel &grid() { return m_grid; }
    const ui::GridModel &grid() const { return m_grid; }
    QDate displayedDate() const { return m_page.date; }
    QDate today() const { return m_today; }
    const PageRecord &page() const { return m_page; }
    const PageLayout &layout() const { return m_layout; }
    const store::Settings &settings() const { return m_settings; }
    QString dateCaption() const;           // short date
    QString dayCaption() const;            // "dddd"
    bool loading() const { return m_loading; }
    QStringList statusEntries() const;     // " <location> Open", " <location> Closed"
    int statusIndex() const { return m_closed ? 1 : 0; }
    bool dayClosed() const override { return m_closed; }   // Check1

    // ---- cell entry
    using Editor = CellEditor::State;
    Editor editor() const { return m_cell.state(); }
    bool clean() const { return m_clean; }
    void gridKeyPress(QChar ch);                 // Tab, Enter or a typed character
    bool gridKeyDown(int qtKey, int shift);      // true when the key was used here
    void gridDoubleClick();
    void gridMouseDown(int button, int shift, int row, int col);
    void gridMouseUp(int button, int shift, int row, int col);
    void gridScrolled();
    bool editorKeyDown(int qtKey, int shift);    // true when the key was used here
    bool editorKeyPress(QChar ch);               // true when the key is dropped
    void setEditorText(const QString &text);     // every change of the editor box
    bool checkUnsavedEntry();                    // true when the editor may be left
    void saveFromEditor();

    // ---- memos, book name, office status, page lock, auto-refresh
    bool fixedMemoShown() const { return m_fixedMemoShown; }
    QString memoButtonCaption() const;
    // What the memo boxes show: the stored memo, or the user's text kept
    // when it could not be stored yet.
    QString dailyMemo() const { return m_dailyMemoDraft.value_or(m_page.memo); }
    QString fixedMemo() const { return m_fixedMemoDraft.value_or(m_settings.fixedMemo); }
    void memoCommand();                          // cmdMemo, F9, Navigate > Memo
    void memoFocusIn(bool fixed);
    void memoFocusOut(bool fixed, const QString &text);
    void memoTab(bool fixed, const QString &text);
    QString bookName() const { return m_settings.bookNo; }
    bool bookNameLocked() const { return m_bookLocked; }
    void bookNameFocusIn();
    void bookNameEntered(const QString &text);   // Enter or Tab in txtBook
    void statusChosen(int index);                // office status confirmed
    bool pageLocked() const { return m_locked; }  // Check2
    void setPageLock(bool locked);
    bool timerEnabled() const { return m_timerRunning; }
    int timerIntervalMs() const { return m_settings.refresh * 1000; }
    void timerTick();
    bool isAdminStation() const { return m_admin; }

    // ---- date navigation
    CalendarModel &calendar() { return m_calendar; }
    const CalendarModel &calendar() const { return m_calendar; }
    void calendarFocusIn();
    void calendarFocusOut();
    bool calendarKeyDown(int qtKey);             // arrows, Page Up/Down, Tab
    void calendarKeyPress(QChar ch);             // Space or Enter
    void dayClicked(int cell);
    void goToday();
    void goToDate(const QDate &date);            // as Today, for another date
    void upButton();
    void downButton();
    void monthChosen(int index);
    void yearChosen(int index);
    void selectorEnter();
    void selectorBrowsing(bool on);
    void openPageByDate();                       // Page > Open
    QString demoCaption() const { return m_demo.caption(); }
    void demo();
    bool navigationPanelShown() const { return m_panelShown; }
    void toggleFullWidth();
    void prepareWeek();                          // the weekly hand-over data
    void weeklyView();                           // F8, toolbar Week
    void returnDay();

    // ---- block commands and colours
    BlockOps &blocks() { return *m_blocks; }
    void changeBlockoutString();                 // toolbar Blockout

    // ---- commands of the window
    bool functionKey(int qtKey);                 // true when the key was used
    void showHelp();
    void about();

    // BlockHost
    ui::GridModel &blockGrid() override { return m_grid; }
    CellList storeCells(const CellChanges &changes) override;
    CellList storeColors(const ColorChanges &changes) override;
    void refreshPage() override { refreshGrid(); }
    void colorSaveFailed(const store::DbError &error) override;
    bool editorOpen() const override { return m_cell.visible(); }
    QString blockoutText() override;
    void focusGrid() override { requestFocus(Focus::Grid); }

signals:
    void editorChanged();        // shown, hidden, moved, text or read-only changed
    void pageShown();            // captions, status, lock, memos, panel changed
    void calendarChanged();
    void timerChanged();
    void focusRequested(book::Focus focus);
    void contextMenuRequested(int row, int col);
    void closeRequested();       // the window is to be unloaded
    void busyChanged(bool busy); // a write may wait for another station: busy pointer

private:
    bool seekRecord(const QDate &date);
    void populateGrid(const QDate &date);
    void readSettings();
    void setupGrid();
    void showPageColors();
    void openEditor(QChar typed);
    void hideEditor();
    bool saveCell(const QString &entry);   // false: failed, the editor stays open
    void saveFailed(const store::DbError &error);
    void keepEntry(const QString &entry);
    // The busy pointer while a statement may wait for another station.
    class BusyScope {
    public:
        explicit BusyScope(BookController &c) : m_c(c) { emit m_c.busyChanged(true); }
        ~BusyScope() { emit m_c.busyChanged(false); }
        BusyScope(const BusyScope &) = delete;
        BusyScope &operator=(const BusyScope &) = delete;

    private:
        BookController &m_c;
    };
    void armTimer();
    void stopTimer();
    void requestFocus(Focus f) { emit focusRequested(f); }
    void stepWeek(bool later);
    bool leaveEditor();          // CheckUnsavedEntry when the editor is open
    void showDay(const QDate &date);  // open by date / demo: calendar and page
    void endProgram();

    ui::Services &m_s;
    PageStore m_pages;
    store::SettingsStore m_settingsStore;
    store::Settings m_settings;
    ui::GridModel m_grid;
    PageRecord m_page;
    PageLayout m_layout;
    QString m_template;          // the weekday template last loaded
    QDate m_today;
    bool m_loading = false;
    bool m_closed = false;       // Check1
    bool m_locked = false;       // Check2
    bool m_admin = true;
    CellEditor m_cell;
    bool m_clean = true;
    int m_lastShift = 0;
    bool m_fixedMemoShown = false;
    std::optional<QString> m_dailyMemoBase;    // the memo as the user began typing
    std::optional<QString> m_fixedMemoBase;
    std::optional<QString> m_dailyMemoDraft;   // the user's text not stored yet
    std::optional<QString> m_fixedMemoDraft;
    bool m_bookLocked = true;
    bool m_timerRunning = false;
    CalendarModel m_calendar;
    DemoCycle m_demo;
    bool m_panelShown = true;
    std::unique_ptr<BlockOps> m_blocks;
};

} // namespace book
