#include "setup/widgets/templatewindow.h"

#include "setup/core/setupcommands.h"
#include "ui/widgets/commandtable.h"
#include "ui/widgets/celleditorbox.h"

#include "book/pages/blockops.h"
#include "book/core/pagegrid.h"
#include "ui/core/services.h"
#include "ui/widgets/gridview.h"
#include "ui/widgets/qtkeys.h"
#include "ui/widgets/controls.h"

#include <QApplication>
#include <QComboBox>
#include <QHBoxLayout>
#include <QKeyEvent>
#include <QLabel>
#include <QLineEdit>
#include <QMenu>
#include <QPlainTextEdit>
#include <QPointer>
#include <QPushButton>
#include <QSignalBlocker>
#include <QTextCursor>
#include <QTimer>
#include <QVBoxLayout>

namespace setup {

namespace {

const QString Tips = QStringLiteral(
    "Tips:  type into a cell and press TAB to keep it.   Shift + click marks a block; a right click offers "
    "Copy, Cut, Paste, Delete and Blockout.   F7 keeps this day and goes to the next.   F8 office status.");

} // namespace

TemplateWindow::TemplateWindow(ui::Services &services, QWidget *parent)
    : ui::TaskWindow(parent), m_ctl(services)
{
    setObjectName(QStringLiteral("frmConfigure"));
    setWindowTitle(TemplateController::Caption);
    buildForm();
    addTemplateCommands(m_commands, m_ctl);
    m_commands.setRun(QStringLiteral("statusFocus"), [this] { applyFocus(TemplateFocus::Status); });
    m_table = new ui::CommandTable(m_commands, this);
    m_gridMenu = m_table->buildMenu(QStringLiteral("mnuGrid"), this);
    connectGrid();

    connect(&m_ctl, &TemplateController::stateChanged, this, [this] { syncState(); });
    connect(&m_ctl, &TemplateController::editorChanged, this, [this] { syncEditor(); });
    connect(&m_ctl, &TemplateController::focusRequested, this, [this](TemplateFocus f) { applyFocus(f); });
    connect(&m_ctl, &TemplateController::contextMenuRequested, this,
            [this](int row, int col) { showGridMenu(row, col); });

    // Function keys act wherever the focus is.
    const auto children = findChildren<QWidget *>();
    for (QWidget *w : children)
        w->installEventFilter(this);
    m_grid->viewport()->installEventFilter(this);
    resize(1000, 640);
}

TemplateWindow::~TemplateWindow()
{
    // The controller goes before the controls do: nothing of theirs may reach it.
    const auto children = findChildren<QObject *>();
    for (QObject *c : children) {
        c->removeEventFilter(this);
        disconnect(c, nullptr, this, nullptr);
    }
}

bool TemplateWindow::load()
{
    const bool ok = m_ctl.load(widthFactor());
    syncState();
    return ok;
}

// ---- layout -------------------------------------------------------------

void TemplateWindow::buildForm()
{
    auto *body = ui::named(new QWidget(this), QStringLiteral("body"));
    setCentralWidget(body);
    auto *v = new QVBoxLayout(body);
    v->setContentsMargins(8, 6, 8, 6);
    v->setSpacing(6);

    auto *top = new QHBoxLayout;
    top->setSpacing(10);
    m_day = ui::named(new QLabel(this), QStringLiteral("lblCalDay"));
    QFont dayFont = m_day->font();
    dayFont.setPointSizeF(dayFont.pointSizeF() * 1.5);
    dayFont.setBold(true);
    m_day->setFont(dayFont);
    m_day->setMinimumWidth(QFontMetrics(dayFont).horizontalAdvance(QStringLiteral("Wednesday")) + 12);
    top->addWidget(m_day);

    m_status = ui::named(new QComboBox(this), QStringLiteral("Combo0"));
    m_status->setMinimumContentsLength(16);
    m_status->setToolTip(QStringLiteral("Office status of this weekday (F8)"));
    top->addWidget(m_status);

    m_finish = ui::named(new QPushButton(this), QStringLiteral("CmdFinish"));
    m_finish->setAutoDefault(false);
    m_finish->setMinimumWidth(90);
    m_finish->setToolTip(QStringLiteral("Keep this day's template and go to the next day (F7)"));
    top->addWidget(m_finish);
    top->addSpacing(16);

    auto *blockoutLabel = ui::named(new QLabel(QStringLiteral("Blockout"), this), QStringLiteral("lblBlockout"));
    m_blockout = ui::named(new QLineEdit(TemplateController::InitialBlockout, this), QStringLiteral("txtBlockout"));
    m_blockout->setMinimumWidth(QFontMetrics(m_blockout->font()).horizontalAdvance(TemplateController::InitialBlockout) + 16);
    blockoutLabel->setBuddy(m_blockout);
    top->addWidget(blockoutLabel);
    top->addWidget(m_blockout);
    top->addStretch(1);
    v->addLayout(top);

    m_grid = new ui::GridView(this);
    m_grid->setAccessibleName(QStringLiteral("Template"));
    m_grid->setObjectName(QStringLiteral("Grid1"));
    m_grid->setModel(&m_ctl.grid());
    m_grid->setClickMovesCursor(false);
    v->addWidget(m_grid, 1);

    // The cell editor lies on the grid's viewport, over the edited cell.
    m_edit = new ui::CellEditorBox(m_grid);

    m_tips = ui::named(new QLabel(Tips, this), QStringLiteral("lblTips"));
    m_tips->setWordWrap(true);
    v->addWidget(m_tips);

    connect(m_edit, &ui::CellEditorBox::edited, this, [this](const QString &text) {
        if (!m_syncing)
            m_ctl.setEditorText(text);
    });
    connect(m_status, &QComboBox::activated, this, [this](int i) { m_ctl.statusChosen(i); });
    connect(m_finish, &QPushButton::clicked, this, [this] { m_ctl.finishStep(); });
    connect(m_blockout, &QLineEdit::textChanged, this, [this](const QString &t) { m_ctl.setBlockoutBox(t); });
}

void TemplateWindow::connectGrid()
{
    connect(m_grid, &ui::GridView::keyDown, this, [this](int key, int shift) {
        if (m_ctl.gridKeyDown(key, shift))
            m_grid->consumeKey();
    });
    connect(m_grid, &ui::GridView::keyPressed, this, [this](QChar ch) {
        m_grid->consumeKey();
        m_ctl.gridKeyPress(ch);
    });
    connect(m_grid, &ui::GridView::mouseDown, this,
            [this](int button, int shift, int row, int col) { m_ctl.gridMouseDown(button, shift, row, col); });
    connect(m_grid, &ui::GridView::mouseUp, this,
            [this](int button, int shift, int row, int col) { m_ctl.gridMouseUp(button, shift, row, col); });
    connect(m_grid, &ui::GridView::doubleClicked, this, [this](int, int) { m_ctl.gridDoubleClick(); });
    connect(m_grid, &ui::GridView::scrolled, this, [this] { m_ctl.gridScrolled(); });
}

// ---- events -------------------------------------------------------------

void TemplateWindow::showEvent(QShowEvent *e)
{
    ui::TaskWindow::showEvent(e);
    if (m_shownOnce)
        return;
    m_shownOnce = true;
    // The instructions come once the window is on the screen.
    QTimer::singleShot(0, this, [this] { m_ctl.activate(); });
}

bool TemplateWindow::closeByUser()
{
    return m_ctl.closeByUser();
}

bool TemplateWindow::eventFilter(QObject *watched, QEvent *e)
{
    if (e->type() == QEvent::KeyPress) {
        auto *k = static_cast<QKeyEvent *>(e);
        if (m_table->functionKey(k->key()))
            return true;
        if (watched == m_edit)
            return editorKey(k);
    }
    if (e->type() == QEvent::Wheel && watched == m_status)
        return true;   // a turn of the wheel is no choice
    return ui::TaskWindow::eventFilter(watched, e);
}

bool TemplateWindow::editorKey(QKeyEvent *k)
{
    const ui::KeyStroke s = ui::translateKey(k);
    return m_ctl.editorKey(s.key, s.shift, s.typed);
}

// ---- showing the controller's state -------------------------------------

void TemplateWindow::syncState()
{
    const bool was = m_syncing;
    m_syncing = true;
    m_day->setText(m_ctl.dayCaption());
    m_finish->setText(m_ctl.finishCaption());
    const QStringList entries = m_ctl.statusEntries();
    QStringList shown;
    for (int i = 0; i < m_status->count(); ++i)
        shown << m_status->itemText(i);
    {
        const QSignalBlocker block(m_status);
        if (shown != entries) {
            m_status->clear();
            m_status->addItems(entries);
        }
        m_status->setCurrentIndex(m_ctl.statusIndex());
    }
    if (m_blockout->text() != m_ctl.blockoutBox())
        m_blockout->setText(m_ctl.blockoutBox());
    m_syncing = was;
}

void TemplateWindow::syncEditor()
{
    const TemplateController::Editor &ed = m_ctl.editor();
    if (!ed.visible) {
        m_edit->close();
        return;
    }
    const bool was = m_syncing;
    m_syncing = true;
    m_edit->open(ed.row, ed.col, ed.text, false, ed.multiLine);
    m_syncing = was;
}

void TemplateWindow::applyFocus(TemplateFocus f)
{
    if (f == TemplateFocus::Next) {
        focusNextChild();
        return;
    }
    QWidget *w = f == TemplateFocus::Editor ? static_cast<QWidget *>(m_edit)
                 : f == TemplateFocus::Status ? static_cast<QWidget *>(m_status)
                                              : static_cast<QWidget *>(m_grid);
    // A message box closing hands the activation back to the window it
    // belonged to, which may be the menu that opened this one.
    if (!isActiveWindow()) {
        raise();
        activateWindow();
    }
    if (!w->hasFocus())
        w->setFocus(Qt::OtherFocusReason);
}

void TemplateWindow::showGridMenu(int row, int col)
{
    // At the right edge of the cell, level with its top.
    const QRect r = m_grid->cellRect(row, col);
    const QPoint at = r.isNull() ? QPoint(0, 0) : QPoint(r.right() + 1, r.top());
    m_gridMenu->popup(m_grid->viewport()->mapToGlobal(at));
}

} // namespace setup
