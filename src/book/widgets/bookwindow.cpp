#include "book/widgets/bookwindow.h"
#include "book/widgets/keybinder.h"

#include "book/core/namesearch.h"
#include "ui/widgets/celleditorbox.h"

#include "book/core/calendar.h"
#include "ui/core/dateinput.h"
#include "book/core/pagegrid.h"
#include "book/widgets/boxtext.h"
#include "book/widgets/calendarview.h"
#include "book/widgets/changeflash.h"
#include "book/widgets/deletedlist.h"
#include "book/widgets/printpanel.h"
#include "report/widgets/sheetprinters.h"
#include "ui/core/appstate.h"
#include "ui/core/desktop.h"
#include "ui/core/windows.h"
#include "ui/widgets/accessiblenames.h"
#include "ui/widgets/gridview.h"
#include "ui/widgets/windowregistry.h"
#include "ui/widgets/controls.h"

#include <QApplication>
#include <QCheckBox>
#include <QComboBox>
#include <QHBoxLayout>
#include <QLabel>
#include <QLayout>
#include <QLineEdit>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QSignalBlocker>
#include <QTextCursor>
#include <QVBoxLayout>

namespace book {

namespace {

void setPlainIfDiffers(QPlainTextEdit *box, const QString &text)
{
    if (box->toPlainText() == text)
        return;
    box->setPlainText(text);
    box->moveCursor(QTextCursor::End);
}

} // namespace

BookWindow::BookWindow(ui::Services &services, QWidget *parent)
    : ui::TaskWindow(parent), m_services(services), m_controller(services), m_commands(m_controller.commands())
{
    setObjectName(ui::win::Appt);
    setWindowTitle(QStringLiteral("Appointments Scheduler"));
    addCommands();

    auto *central = ui::named(new QWidget(this), QStringLiteral("central"));
    auto *box = new QHBoxLayout(central);
    box->setContentsMargins(6, 4, 6, 4);
    box->setSpacing(8);
    m_nav = buildNavigation();
    m_nav->setParent(central);
    box->addWidget(m_nav);
    box->addWidget(buildPage(), 1);
    setCentralWidget(central);

    // The demonstration button lies left of the window's edge: only a
    // program (or a demonstrator who knows it) presses it.
    m_demo = ui::named(new QPushButton(central), QStringLiteral("cmdDemo"));
    m_demo->setFocusPolicy(Qt::NoFocus);
    m_demo->setGeometry(-400, 0, 90, 24);
    connect(m_demo, &QPushButton::clicked, this, [this] {
        const ui::BusyPointer busy;
        m_controller.navigation().demo();
    });

    m_printPanel = new PrintPanel(m_controller.printing(), central);
    m_printer = std::make_unique<report::DefaultSheetPrinter>();
    m_controller.printing().setPrinter(m_printer.get());

    buildCommands();
    connectController();

    m_timer.setObjectName(QStringLiteral("Timer1"));
    connect(&m_timer, &QTimer::timeout, this, [this] { m_controller.panel().timerTick(); });

    // The controls' focus changes and keys are looked at before the controls
    // act on them; the command set's keys act wherever the focus is, before those.
    const auto children = findChildren<QWidget *>();
    for (QWidget *w : children)
        w->installEventFilter(this);
    bindControlKeys();
    m_commands.bindKeys(this);

    // Other stations' changes are shown as they come, but never under an
    // open message box or menu: they wait until it is closed.
    m_flash = new ChangeFlash(m_grid);
    m_controller.setQuietCheck(
        [] { return !QApplication::activeModalWidget() && !QApplication::activePopupWidget(); });
    connect(&m_controller.hub(), &BookHub::cellsChangedElsewhere, this,
            [this] { m_flash->flash(m_controller.changedElsewhere()); });
    connect(&m_controller.hub(), &BookHub::stationsChanged, this, [this] {
        m_stations->setText(m_controller.stations().caption());
        m_stations->setToolTip(m_controller.stations().tip());
    });
    resize(1000, 640);
}

BookWindow::~BookWindow()
{
    m_timer.stop();
    // The focus leaves the controls while the controller is still there to
    // hear of it (destroying a shown window moves the focus too late for it).
    if (QWidget *f = QApplication::focusWidget(); f && isAncestorOf(f))
        f->clearFocus();
    // The controller goes before the controls do: nothing of theirs may reach it.
    delete m_printPanel;   // it filters its own controls' events into the controller
    m_printPanel = nullptr;
    delete m_keyBinder;
    m_keyBinder = nullptr;
    const auto children = findChildren<QObject *>();
    for (QObject *c : children) {
        c->removeEventFilter(this);
        disconnect(c, nullptr, this, nullptr);
    }
}

bool BookWindow::load()
{
    return load(m_services.clock.today());
}

bool BookWindow::load(const QDate &today)
{
    m_services.state.widthFactor = widthFactor();
    bool ok = false;
    {
        const ui::BusyPointer busy;
        ok = m_controller.load(today);
    }
    syncCalendar();
    syncPage();
    syncEditor();
    return ok && !m_closing;
}

void BookWindow::connectController()
{
    connect(&m_controller.hub(), &BookHub::editorChanged, this, [this] {
        syncEditor();
        syncUndo();
    });
    connect(&m_controller.hub(), &BookHub::undoChanged, this, [this] { syncUndo(); });
    connect(&m_controller.hub(), &BookHub::captionsChanged, this, [this] { syncCaptions(); });
    connect(&m_controller.hub(), &BookHub::statusChanged, this, [this] { syncStatus(); });
    connect(&m_controller.hub(), &BookHub::lockChanged, this, [this] { syncLock(); });
    connect(&m_controller.hub(), &BookHub::memosChanged, this, [this] { syncMemos(); });
    connect(&m_controller.hub(), &BookHub::bookNameChanged, this, [this] { syncBookName(); });
    connect(&m_controller.hub(), &BookHub::panelChanged, this, [this] { syncPanel(); });
    connect(&m_controller.hub(), &BookHub::calendarChanged, this, [this] { syncCalendar(); });
    connect(&m_controller.hub(), &BookHub::timerChanged, this, [this] { syncTimer(); });
    connect(&m_controller.hub(), &BookHub::searchPanelChanged, this, [this] { syncAnswerPanel(); });
    connect(&m_controller.hub(), &BookHub::printPanelChanged, this, [this] { m_printPanel->sync(); });
    connect(&m_controller.hub(), &BookHub::busyChanged, this, [](bool busy) {
        if (busy)
            QApplication::setOverrideCursor(Qt::WaitCursor);
        else
            QApplication::restoreOverrideCursor();
    });
    connect(&m_controller.hub(), &BookHub::focusRequested, this, [this](Focus f) { applyFocus(f); });
    connect(&m_controller.hub(), &BookHub::contextMenuRequested, this,
            [this](int row, int col) { showGridMenu(row, col); });
    connect(&m_controller.hub(), &BookHub::deletedListRequested, this, [this] {
        DeletedList list(m_controller.pageHistory(), m_controller.pageHistory().deletedShown(), this);
        list.exec();
    });
    connect(&m_controller.hub(), &BookHub::closeRequested, this, [this] {
        if (m_closing)
            return;
        m_closing = true;
        m_timer.stop();
        // A memo being typed in is stored as if the user had left it.
        if (m_dailyMemo->hasFocus())
            m_controller.panel().memoFocusOut(false, boxes::fromBox(m_dailyMemo->toPlainText()));
        else if (m_fixedMemo->hasFocus())
            m_controller.panel().memoFocusOut(true, boxes::fromBox(m_fixedMemo->toPlainText()));
        m_services.windows.unload(ui::win::Appt);
    });
}

// ---- showing the controller's state -------------------------------------

void BookWindow::setBoxColor(QWidget *w, QRgb rgb)
{
    QPalette p = w->palette();
    p.setColor(QPalette::Base, QColor(rgb));
    w->setPalette(p);
}

void BookWindow::syncPage()
{
    syncCaptions();
    syncStatus();
    syncLock();
    syncMemos();
    syncBookName();
    syncPanel();
}

void BookWindow::syncCaptions()
{
    const BookController &c = m_controller;
    m_calDate->setText(c.session().dateCaption());
    m_calDay->setText(c.session().dayCaption());
}

void BookWindow::syncStatus()
{
    const BookController &c = m_controller;
    const bool was = m_syncing;
    m_syncing = true;
    const QStringList entries = c.panel().statusEntries();
    QStringList shown;
    for (int i = 0; i < m_status->count(); ++i)
        shown << m_status->itemText(i);
    if (shown != entries) {
        m_status->clear();
        m_status->addItems(entries);
    }
    m_status->setCurrentIndex(c.panel().statusIndex());
    m_syncing = was;
}

void BookWindow::syncLock()
{
    const BookController &c = m_controller;
    const bool was = m_syncing;
    m_syncing = true;
    m_lock->setChecked(c.session().locked());
    QPalette lp = m_lock->palette();
    lp.setColor(QPalette::Window, c.session().locked() ? QColor(boxes::Locked) : palette().color(QPalette::Window));
    m_lock->setPalette(lp);
    m_syncing = was;
}

void BookWindow::syncMemos()
{
    const BookController &c = m_controller;
    const bool was = m_syncing;
    m_syncing = true;
    // A memo being typed in keeps the user's text until it is left; another
    // page's memo replaces it all the same.
    if (!m_dailyMemo->hasFocus() || m_memoDate != c.session().date())
        setPlainIfDiffers(m_dailyMemo, boxes::toBox(c.panel().dailyMemo()));
    m_memoDate = c.session().date();
    const auto meanwhile = c.panel().dailyMemoStoredMeanwhile();
    m_dailyMemo->setToolTip(meanwhile ? QStringLiteral("Another station has stored this memo meanwhile:\n%1")
                                            .arg(boxes::toBox(*meanwhile))
                                      : QString());
    if (!m_fixedMemo->hasFocus())
        setPlainIfDiffers(m_fixedMemo, boxes::toBox(c.panel().fixedMemo()));
    m_syncing = was;
}

void BookWindow::syncBookName()
{
    const BookController &c = m_controller;
    const bool was = m_syncing;
    m_syncing = true;
    if (!m_book->hasFocus() || c.panel().bookNameLocked())
        if (m_book->text() != c.panel().bookName())
            m_book->setText(c.panel().bookName());
    m_book->setReadOnly(c.panel().bookNameLocked());
    setBoxColor(m_book, m_book->hasFocus() && !c.panel().bookNameLocked() ? boxes::Typing : palette().color(QPalette::Window).rgb());
    m_syncing = was;
}

void BookWindow::syncPanel()
{
    const BookController &c = m_controller;
    const bool was = m_syncing;
    m_syncing = true;
    // The box that goes is left for the one that comes, so the focus does
    // not wander along the focus chain meanwhile.
    const bool fixed = c.panel().fixedMemoShown();
    QPlainTextEdit *shownMemo = fixed ? m_fixedMemo : m_dailyMemo;
    QPlainTextEdit *hiddenMemo = fixed ? m_dailyMemo : m_fixedMemo;
    (fixed ? m_fixedLabel : m_dailyLabel)->show();
    shownMemo->show();
    if (hiddenMemo->hasFocus())
        shownMemo->setFocus(Qt::OtherFocusReason);
    (fixed ? m_dailyLabel : m_fixedLabel)->hide();
    hiddenMemo->hide();
    m_memoButton->setText(c.panel().memoButtonCaption());
    m_demo->setText(c.navigation().demoCaption());

    if (c.navigation().panelShown() != m_nav->isVisibleTo(this)) {
        if (!c.navigation().panelShown() && m_nav->isAncestorOf(QApplication::focusWidget()))
            m_grid->setFocus(Qt::OtherFocusReason);
        m_nav->setVisible(c.navigation().panelShown());
    }
    m_syncing = was;
}

void BookWindow::syncCalendar()
{
    const CalendarModel &cal = m_controller.navigation().calendar();
    {
        const QSignalBlocker bm(m_month), by(m_year);
        // The years widen when a page beyond them is opened.
        const QStringList years = cal.years();
        if (m_year->count() != years.size() || m_year->itemText(0) != years.front()) {
            m_year->clear();
            m_year->addItems(years);
        }
        m_month->setCurrentIndex(cal.monthIndex());
        m_year->setCurrentIndex(cal.yearIndex());
    }
    m_calendar->update();
}

void BookWindow::syncEditor()
{
    const CellEditor::State &ed = m_controller.entry().editor();
    if (!ed.visible) {
        m_edit->close();
        return;
    }
    const bool was = m_syncing;
    m_syncing = true;
    m_edit->open(ed.row, ed.col, ed.text, ed.readOnly, ed.multiLine);
    m_syncing = was;
}

void BookWindow::syncTimer()
{
    if (m_controller.panel().timerEnabled() && m_controller.panel().timerIntervalMs() > 0)
        m_timer.start(m_controller.panel().timerIntervalMs());
    else
        m_timer.stop();
}

void BookWindow::syncAnswerPanel()
{
    m_answerText->setText(m_controller.search().panelMessage());
    const bool shown = m_controller.search().panelShown();
    m_answer->setVisible(shown);
    ui::describeQuestion(m_answer, m_answerText->text(), {m_yes, m_no});
    if (shown) {
        // The panel takes its room from the grid at once, and the cell found
        // (the editor on it) moves into sight above the panel.
        if (QLayout *l = m_answer->parentWidget()->layout())
            l->activate();
        const ui::GridModel &g = m_controller.session().grid();
        m_grid->ensureVisible(g.row(), g.col());
    }
}

void BookWindow::applyFocus(Focus f)
{
    QWidget *w = nullptr;
    switch (f) {
    case Focus::Grid: w = m_grid; break;
    case Focus::Editor: w = m_edit; break;
    case Focus::Calendar: w = m_calendar; break;
    case Focus::DailyMemo: w = m_dailyMemo; break;
    case Focus::FixedMemo: w = m_fixedMemo; break;
    case Focus::BookName: w = m_book; break;
    case Focus::Status: w = m_status; break;
    case Focus::Month: w = m_month; break;
    case Focus::Year: w = m_year; break;
    case Focus::AnswerYes: w = m_yes; break;
    case Focus::PrintPanel:
        m_printPanel->focusDailyChoice();
        return;
    }
    if (w && !w->hasFocus())
        w->setFocus(Qt::OtherFocusReason);
}

} // namespace book
