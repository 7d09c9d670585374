#pragma once

#include "ui/widgets/celleditorbox.h"
#include "book/core/bookcontroller.h"
#include "ui/core/services.h"
#include "ui/widgets/commandtable.h"
#include "ui/widgets/taskwindow.h"

#include <QDate>
#include <memory>
#include <QTimer>

class QAction;
class QCheckBox;
class QComboBox;
class QFrame;
class QLabel;
class QLineEdit;
class QMenu;
class QPlainTextEdit;
class QPushButton;
class QToolBar;

namespace ui {
class GridView;
class SheetPrinter;
}

namespace book {

class CalendarView;
class ChangeFlash;
class KeyBinder;
class PrintPanel;

// frmAppt, "Appointments Scheduler": the appointment book. It draws what its
// BookController holds (the page grid, the cell editor, the calendar, memos,
// status and captions) and forwards every event of the user to it.
class BookWindow : public ui::TaskWindow {
    Q_OBJECT
public:
    explicit BookWindow(ui::Services &services, QWidget *parent = nullptr);
    ~BookWindow() override;

    // Window load: settings, calendar and today's page. False when no page
    // could be opened (the controller has said why).
    bool load();                   // today by the services' clock
    bool load(const QDate &today);

    BookController &controller() { return m_controller; }
    ui::GridView *gridView() const { return m_grid; }
    QPlainTextEdit *cellEditor() const { return m_edit; }
    CalendarView *calendarView() const { return m_calendar; }
    QMenu *gridMenu() const { return m_gridMenu; }
    PrintPanel *printPanel() const { return m_printPanel; }
    QToolBar *toolBar() const { return m_toolBar; }

protected:
    bool eventFilter(QObject *watched, QEvent *event) override;
    bool closeByUser() override;
    void activated() override;

private:
    // bookwindow.cpp: building and showing the controller's state
    QWidget *buildNavigation();
    QWidget *buildPage();
    QWidget *buildAnswerPanel();
    void connectController();
    void syncPage();             // every control of the page, as below
    void syncCaptions();
    void syncStatus();
    void syncLock();
    void syncMemos();
    void syncBookName();
    void syncPanel();
    void syncCalendar();
    void syncEditor();
    void syncTimer();
    void syncAnswerPanel();
    void syncUndo();             // the Undo and Redo entries and buttons
    void applyFocus(Focus f);
    void setBoxColor(QWidget *w, QRgb rgb);

    // bookwindow_events.cpp: the controls' keys bound to the book's keymap,
    // and their focus changes
    void bindControlKeys();
    bool memoEvent(QPlainTextEdit *box, bool fixed, QEvent *e);
    bool bookNameEvent(QEvent *e);

    // bookwindow_commands.cpp: the command table, and the menu bar, toolbar
    // and grid context menu built from it
    void addCommands();
    void buildCommands();
    void showGridMenu(int row, int col);
    void openByDate();
    void dropDown(QComboBox *box);

    ui::Services &m_services;
    BookController m_controller;
    ui::CommandTable m_commands;

    ui::GridView *m_grid = nullptr;                // Grid1
    ChangeFlash *m_flash = nullptr;                // over the grid: cells changed elsewhere
    ui::CellEditorBox *m_edit = nullptr;           // txtEdit
    CalendarView *m_calendar = nullptr;            // Picture2
    QWidget *m_nav = nullptr;                      // the navigation panel
    QComboBox *m_status = nullptr;                 // Combo(0)
    QComboBox *m_month = nullptr;                  // Combo(1)
    QComboBox *m_year = nullptr;                   // Combo(2)
    QPushButton *m_today = nullptr;                // CmdToday
    QPushButton *m_up = nullptr;                   // cmdUp
    QPushButton *m_down = nullptr;                 // cmdDown
    QCheckBox *m_lock = nullptr;                   // Check2
    QLineEdit *m_book = nullptr;                   // txtBook
    QLabel *m_dailyLabel = nullptr;                // lblDailyMemo
    QLabel *m_fixedLabel = nullptr;                // lblFixedMemo
    QPlainTextEdit *m_dailyMemo = nullptr;         // TxtMemo
    QPlainTextEdit *m_fixedMemo = nullptr;         // TxtFixedMemo
    QPushButton *m_memoButton = nullptr;           // cmdMemo
    QPushButton *m_demo = nullptr;                 // Command1
    QLabel *m_calDate = nullptr;                   // lblCalDate
    QLabel *m_calDay = nullptr;                    // lblCalDay
    QLabel *m_stations = nullptr;                  // lblStations: other stations open
    QLabel *m_keys = nullptr;                      // lblFunctionKeys
    QFrame *m_answer = nullptr;                    // Frame2, the name search's answer panel
    QLabel *m_answerText = nullptr;                // lblMessage
    QPushButton *m_yes = nullptr;                  // cmdYes
    QPushButton *m_no = nullptr;                   // cmdNo
    QToolBar *m_toolBar = nullptr;                 // tbToolBar
    QAction *m_openAction = nullptr;               // toolbar Open
    QMenu *m_gridMenu = nullptr;                   // mnuGrid
    PrintPanel *m_printPanel = nullptr;            // Frame3
    KeyBinder *m_keyBinder = nullptr;              // the controls' keys
    QTimer m_timer;                                // Timer1
    std::unique_ptr<ui::SheetPrinter> m_printer;   // the column print's

    QDate m_memoDate;            // the page whose daily memo the box shows
    bool m_syncing = false;      // the window itself is filling a control
    bool m_closing = false;
};

} // namespace book
