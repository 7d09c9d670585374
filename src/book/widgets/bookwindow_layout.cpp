// The book window's controls and where they stand: the navigation panel on
// the left, the date captions, the page grid with its cell editor and the
// function-key legend on the right.
#include "book/widgets/bookwindow.h"
#include "ui/widgets/celleditorbox.h"

#include "book/core/calendar.h"
#include "ui/core/dateinput.h"
#include "book/core/namesearch.h"
#include "book/widgets/boxtext.h"
#include "book/widgets/calendarview.h"
#include "ui/widgets/gridview.h"
#include "ui/widgets/controls.h"

#include <QApplication>
#include <QCheckBox>
#include <QComboBox>
#include <QFrame>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QVBoxLayout>

namespace book {

namespace {
constexpr int kLegendWidthTwips = 11500;

// One of the window's two frames (fraNavigation, fraPage): its parts in a
// column, edge to edge.
QVBoxLayout *frameColumn(QWidget *frame, const QString &name, int spacing)
{
    frame->setObjectName(name);
    auto *v = new QVBoxLayout(frame);
    v->setContentsMargins(0, 0, 0, 0);
    v->setSpacing(spacing);
    return v;
}
} // namespace

QWidget *BookWindow::buildNavigation()
{
    auto *nav = new QWidget;
    auto *v = frameColumn(nav, QStringLiteral("fraNavigation"), 5);

    m_calendar = new CalendarView(m_controller.navigation(), m_controller.hub(), nav);
    m_calendar->setDayFacts(CalendarView::pageFacts(m_services.db));
    v->addWidget(m_calendar);

    m_month = ui::named(new QComboBox(nav), QStringLiteral("Combo1"));
    m_month->addItems(monthNames());
    m_month->setMaxVisibleItems(12);
    m_year = ui::named(new QComboBox(nav), QStringLiteral("Combo2"));
    m_year->addItems(CalendarModel::yearEntries());
    m_year->setMaxVisibleItems(16);
    auto *selectors = new QHBoxLayout;
    selectors->setSpacing(4);
    selectors->addWidget(m_month, 3);
    selectors->addWidget(m_year, 2);
    v->addLayout(selectors);

    m_today = ui::named(new QPushButton(QStringLiteral("Today"), nav), QStringLiteral("CmdToday"));
    m_up = ui::named(new QPushButton(QStringLiteral("Up"), nav), QStringLiteral("cmdUp"));
    m_down = ui::named(new QPushButton(QStringLiteral("Down"), nav), QStringLiteral("cmdDown"));
    auto *buttons = new QHBoxLayout;
    buttons->setSpacing(4);
    for (QPushButton *b : {m_today, m_up, m_down}) {
        b->setAutoDefault(false);
        buttons->addWidget(b);
    }
    v->addLayout(buttons);
    v->addSpacing(4);

    m_status = ui::named(new QComboBox(nav), QStringLiteral("Combo0"));
    v->addWidget(m_status);

    m_lock = ui::named(new QCheckBox(QStringLiteral("Page Lock"), nav), QStringLiteral("Check2"));
    m_lock->setBackgroundRole(QPalette::Window);
    m_lock->setAutoFillBackground(true);
    v->addWidget(m_lock, 0, Qt::AlignLeft);

    auto *bookLabel = ui::named(new QLabel(QStringLiteral("Book"), nav), QStringLiteral("lblBook"));
    m_book = ui::named(new QLineEdit(nav), QStringLiteral("txtBook"));
    m_book->setReadOnly(true);
    bookLabel->setBuddy(m_book);
    auto *bookRow = new QHBoxLayout;
    bookRow->setSpacing(6);
    bookRow->addWidget(bookLabel);
    bookRow->addWidget(m_book, 1);
    v->addLayout(bookRow);
    v->addSpacing(4);

    m_dailyLabel = ui::named(new QLabel(QStringLiteral("Daily Memo (F9)"), nav), QStringLiteral("lblDailyMemo"));
    m_dailyMemo = ui::named(new QPlainTextEdit(nav), QStringLiteral("TxtMemo"));
    m_fixedLabel = ui::named(new QLabel(QStringLiteral("Fixed Memo (F9)"), nav), QStringLiteral("lblFixedMemo"));
    m_fixedMemo = ui::named(new QPlainTextEdit(nav), QStringLiteral("TxtFixedMemo"));
    for (QPlainTextEdit *memo : {m_dailyMemo, m_fixedMemo}) {
        memo->setTabChangesFocus(false);
        memo->setAutoFillBackground(true);
        setBoxColor(memo, boxes::Inactive);
    }
    QFont labelFont = m_dailyLabel->font();
    labelFont.setBold(true);
    m_dailyLabel->setFont(labelFont);
    m_fixedLabel->setFont(labelFont);
    v->addWidget(m_dailyLabel);
    v->addWidget(m_dailyMemo, 1);
    v->addWidget(m_fixedLabel);
    v->addWidget(m_fixedMemo, 1);
    m_fixedLabel->hide();
    m_fixedMemo->hide();

    m_memoButton = ui::named(new QPushButton(nav), QStringLiteral("cmdMemo"));
    m_memoButton->setAutoDefault(false);
    v->addWidget(m_memoButton);

    const int width = std::max(m_calendar->sizeHint().width(), 224);
    nav->setFixedWidth(width);
    m_calendar->setFixedHeight(m_calendar->sizeHint().height() * width / m_calendar->sizeHint().width());

    connect(m_month, &QComboBox::activated, this, [this](int i) { m_controller.navigation().monthChosen(i); });
    connect(m_year, &QComboBox::activated, this, [this](int i) { m_controller.navigation().yearChosen(i); });
    connect(m_status, &QComboBox::activated, this, [this](int i) { m_controller.panel().statusChosen(i); });
    connect(m_today, &QPushButton::clicked, this, [this] {
        const ui::BusyPointer busy;
        m_controller.goToday();
    });
    connect(m_up, &QPushButton::clicked, this, [this] { m_controller.navigation().upButton(); });
    connect(m_down, &QPushButton::clicked, this, [this] { m_controller.navigation().downButton(); });
    connect(m_lock, &QCheckBox::clicked, this, [this](bool on) { m_controller.panel().setPageLock(on); });
    connect(m_memoButton, &QPushButton::clicked, this, [this] { m_controller.panel().memoCommand(); });
    return nav;
}

QWidget *BookWindow::buildPage()
{
    auto *page = new QWidget;
    auto *v = frameColumn(page, QStringLiteral("fraPage"), 4);

    m_calDate = ui::named(new QLabel(page), QStringLiteral("lblCalDate"));
    m_calDay = ui::named(new QLabel(page), QStringLiteral("lblCalDay"));
    QFont captionFont = m_calDate->font();
    captionFont.setPointSizeF(captionFont.pointSizeF() * 1.35);
    captionFont.setBold(true);
    m_calDate->setFont(captionFont);
    m_calDay->setFont(captionFont);
    auto *captions = new QHBoxLayout;
    captions->setSpacing(14);
    captions->addWidget(m_calDay);
    captions->addWidget(m_calDate);
    captions->addStretch(1);
    // How many other stations are open; their names on hover.
    m_stations = ui::named(new QLabel(page), QStringLiteral("lblStations"));
    captions->addWidget(m_stations);
    v->addLayout(captions);

    m_grid = new ui::GridView(page);
    m_grid->setAccessibleName(QStringLiteral("Appointments"));
    m_grid->setObjectName(QStringLiteral("Grid1"));
    m_grid->setModel(&m_controller.session().grid());
    m_grid->setClickMovesCursor(false);
    v->addWidget(m_grid, 1);

    // The cell editor lies on the grid's viewport, over the edited cell.
    m_edit = new ui::CellEditorBox(m_grid);
    connect(m_edit, &ui::CellEditorBox::edited, this, [this](const QString &text) {
        if (!m_syncing)
            m_controller.entry().setEditorText(text);
    });

    v->addWidget(buildAnswerPanel());

    m_keys = m_commands.legendLabel(page, QStringLiteral("lblFunctionKeys"));
    m_keys->setAlignment(Qt::AlignCenter);
    m_keys->setMinimumWidth(qRound(kLegendWidthTwips * m_keys->logicalDpiX() / 1440.0));
    v->addWidget(m_keys, 0, Qt::AlignHCenter);

    connect(m_grid, &ui::GridView::keyDown, this, [this](int key, int shift) {
        if (m_controller.entry().gridKeyDown(key, shift))
            m_grid->consumeKey();
    });
    connect(m_grid, &ui::GridView::keyPressed, this, [this](QChar ch) {
        m_grid->consumeKey();
        m_controller.entry().gridKeyPress(ch);
    });
    connect(m_grid, &ui::GridView::mouseDown, this, [this](int button, int shift, int row, int col) {
        m_controller.gridMouseDown(button, shift, row, col);
    });
    connect(m_grid, &ui::GridView::mouseUp, this, [this](int button, int shift, int row, int col) {
        m_controller.entry().gridMouseUp(button, shift, row, col);
    });
    connect(m_grid, &ui::GridView::doubleClicked, this, [this](int, int) { m_controller.entry().gridDoubleClick(); });
    connect(m_grid, &ui::GridView::scrolled, this, [this] { m_controller.entry().gridScrolled(); });
    return page;
}

QWidget *BookWindow::buildAnswerPanel()
{
    m_answer = new QFrame;
    m_answer->setObjectName(QStringLiteral("Frame2"));
    m_answer->setFrameShape(QFrame::StyledPanel);
    m_answer->setAutoFillBackground(true);
    m_answerText = ui::named(new QLabel(m_answer), QStringLiteral("lblMessage"));
    QFont bold = m_answerText->font();
    bold.setBold(true);
    m_answerText->setFont(bold);
    m_yes = ui::named(new QPushButton(QStringLiteral("&Yes"), m_answer), QStringLiteral("cmdYes"));
    m_no = ui::named(new QPushButton(QStringLiteral("&No"), m_answer), QStringLiteral("cmdNo"));
    auto *h = new QHBoxLayout(m_answer);
    h->setContentsMargins(10, 4, 10, 4);
    h->addWidget(m_answerText, 1);
    for (QPushButton *b : {m_yes, m_no}) {
        // Enter answers as a click does: the panel is worked from the keyboard.
        b->setAutoDefault(true);
        b->setMinimumWidth(90);
        h->addWidget(b);
    }
    m_answer->hide();
    connect(m_yes, &QPushButton::clicked, this, [this] {
        const ui::BusyPointer busy;
        m_controller.search().yes();
    });
    connect(m_no, &QPushButton::clicked, this, [this] { m_controller.search().no(); });
    return m_answer;
}

} // namespace book
