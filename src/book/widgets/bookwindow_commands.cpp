// The book window's command map: menu bar, toolbar and the page grid's
// context menu, each entry leading to the controller's operation.
#include "book/widgets/bookwindow.h"

#include "book/core/blockops.h"
#include "book/widgets/toolbaricons.h"
#include "ui/widgets/gridview.h"

#include <QAction>
#include <QApplication>
#include <QComboBox>
#include <QLineEdit>
#include <QMenu>
#include <QMenuBar>
#include <QToolBar>
#include <QToolButton>

#include <functional>

namespace book {

namespace {

const QString kLater = QStringLiteral("Not available yet");

// A menu entry; `keyLabel` shows a function key the window handles itself
// (the key is not registered twice as a shortcut).
QAction *entry(QMenu *menu, const QString &name, const QString &text, const QString &keyLabel = {})
{
    QAction *a = menu->addAction(keyLabel.isEmpty() ? text : text + QLatin1Char('\t') + keyLabel);
    a->setObjectName(name);
    return a;
}

void later(QAction *a)
{
    a->setEnabled(false);
    a->setToolTip(kLater);
    a->setStatusTip(kLater);
}

} // namespace

void BookWindow::buildMenus()
{
    QMenuBar *bar = menuBar();
    const auto add = [&](QAction *a, std::function<void()> fn) {
        connect(a, &QAction::triggered, this, [fn = std::move(fn)] { fn(); });
    };

    QMenu *page = bar->addMenu(QStringLiteral("&Page"));
    page->setObjectName(QStringLiteral("mnuPage"));
    QAction *open = entry(page, QStringLiteral("mnuPageOpen"), QStringLiteral("&Open"));
    open->setShortcut(QKeySequence(Qt::CTRL | Qt::Key_O));
    add(open, [this] { openByDate(); });
    QAction *print = entry(page, QStringLiteral("mnuPagePrint"), QStringLiteral("&Print"));
    print->setShortcut(QKeySequence(Qt::CTRL | Qt::Key_P));
    later(print);
    page->addSeparator();
    add(entry(page, QStringLiteral("mnuPageExit"), QStringLiteral("E&xit"), QStringLiteral("F11")),
        [this] { m_controller.closeBook(); });

    QMenu *edit = bar->addMenu(QStringLiteral("&Edit"));
    edit->setObjectName(QStringLiteral("mnuEdit"));
    QAction *cut = entry(edit, QStringLiteral("mnuEditCut"), QStringLiteral("Cu&t"));
    cut->setShortcut(QKeySequence(Qt::CTRL | Qt::Key_X));
    add(cut, [this] { m_controller.blocks().cut(); });
    QAction *copy = entry(edit, QStringLiteral("mnuEditCopy"), QStringLiteral("&Copy"));
    copy->setShortcut(QKeySequence(Qt::CTRL | Qt::Key_C));
    add(copy, [this] { m_controller.blocks().copy(); });
    QAction *paste = entry(edit, QStringLiteral("mnuEditPaste"), QStringLiteral("&Paste"));
    paste->setShortcut(QKeySequence(Qt::CTRL | Qt::Key_V));
    add(paste, [this] { m_controller.blocks().paste(); });
    add(entry(edit, QStringLiteral("mnuEditDelete"), QStringLiteral("&Delete")),
        [this] { m_controller.blocks().remove(); });

    QMenu *navi = bar->addMenu(QStringLiteral("&Navigate"));
    navi->setObjectName(QStringLiteral("mnuNavi"));
    add(entry(navi, QStringLiteral("mnuNaviMemo"), QStringLiteral("&Memo"), QStringLiteral("F9")),
        [this] { m_controller.memoCommand(); });
    add(entry(navi, QStringLiteral("mnuNaviBook"), QStringLiteral("&Book")),
        [this] { m_book->setFocus(Qt::ShortcutFocusReason); });
    add(entry(navi, QStringLiteral("mnuNaviStatus"), QStringLiteral("&Status")), [this] { dropDown(m_status); });
    add(entry(navi, QStringLiteral("mnuNaviMonth"), QStringLiteral("M&onth")), [this] { dropDown(m_month); });
    add(entry(navi, QStringLiteral("mnuNaviYear"), QStringLiteral("&Year")), [this] { dropDown(m_year); });

    QMenu *search = bar->addMenu(QStringLiteral("&Search"));
    search->setObjectName(QStringLiteral("mnuSearch"));
    later(entry(search, QStringLiteral("mnuSearchClient"), QStringLiteral("&Client"), QStringLiteral("F5")));

    QMenu *help = bar->addMenu(QStringLiteral("&Help"));
    help->setObjectName(QStringLiteral("mnuHelp"));
    add(entry(help, QStringLiteral("mnuHelpAbout"), QStringLiteral("&About")), [this] { m_controller.about(); });
    add(entry(help, QStringLiteral("mnuHelpContents"), QStringLiteral("&Contents"), QStringLiteral("F1")),
        [this] { m_controller.showHelp(); });

    for (QMenu *m : {page, edit, navi, search, help})
        m->setToolTipsVisible(true);
}

void BookWindow::buildToolBar()
{
    m_toolBar = new QToolBar(QStringLiteral("Toolbar"), this);
    m_toolBar->setObjectName(QStringLiteral("tbToolBar"));
    m_toolBar->setMovable(false);
    m_toolBar->setFloatable(false);
    m_toolBar->setIconSize(QSize(22, 22));
    m_toolBar->setToolButtonStyle(Qt::ToolButtonIconOnly);
    m_toolBar->setContextMenuPolicy(Qt::PreventContextMenu);
    addToolBar(Qt::TopToolBarArea, m_toolBar);

    const auto button = [this](const QString &key, const QString &tooltip, std::function<void()> fn) {
        QAction *a = m_toolBar->addAction(toolbarIcon(key), key);
        a->setObjectName(QStringLiteral("tb") + key);
        a->setData(key);
        a->setToolTip(tooltip);
        if (fn)
            connect(a, &QAction::triggered, this, [fn = std::move(fn)] { fn(); });
        else
            later(a);
        return a;
    };
    const auto gap = [this] { m_toolBar->addSeparator(); };

    BlockOps &blocks = m_controller.blocks();
    m_openAction = button(QStringLiteral("Open"), QStringLiteral("Open"), [this] { openByDate(); });
    button(QStringLiteral("Print"), QStringLiteral("Print"), nullptr);
    gap();
    button(QStringLiteral("Cut"), QStringLiteral("Cut"), [&blocks] { blocks.cut(); });
    button(QStringLiteral("Copy"), QStringLiteral("Copy"), [&blocks] { blocks.copy(); });
    button(QStringLiteral("Paste"), QStringLiteral("Paste"), [&blocks] { blocks.paste(); });
    button(QStringLiteral("Delete"), QStringLiteral("Delete"), [&blocks] { blocks.remove(); });
    gap();
    button(QStringLiteral("Refresh"), QStringLiteral("Refresh Page"), [this] { m_controller.refreshCommand(); });
    button(QStringLiteral("Search"), QStringLiteral("Search Client"), nullptr);
    button(QStringLiteral("Vert"), QStringLiteral("Find next available appointment by column"), nullptr);
    button(QStringLiteral("Hor"), QStringLiteral("Find next available appointment by row"), nullptr);
    button(QStringLiteral("Date"), QStringLiteral("Find next available appointment by date"), nullptr);
    button(QStringLiteral("Blockout"), QStringLiteral("Blockout characters"),
           [this] { m_controller.changeBlockoutString(); });
    gap();
    button(QStringLiteral("Week"), QStringLiteral("Weekly Schedule View"), [this] { m_controller.weeklyView(); });
    button(QStringLiteral("Calendar"), QStringLiteral("Toggle Full Screen View"),
           [this] { m_controller.toggleFullWidth(); });
    gap();
    for (const RowCountButton &b : RowCountButtons) {
        const int rows = b.rows;
        button(QLatin1String(b.key), QLatin1String(b.tooltip), [&blocks, rows] { blocks.chooseRowCount(rows); });
    }
    gap();
    // The colours stand in their own order on the toolbar, Yellow (the reset) last.
    for (const char *key : {"Cyan", "Red", "Amber", "Green", "Magenta", "Purple", "Blue", "Yellow"})
        for (const ToolbarColor &c : ToolbarColors)
            if (qstrcmp(c.key, key) == 0) {
                const int value = c.value;
                button(QLatin1String(c.key), QLatin1String(c.tooltip),
                       [&blocks, value] { blocks.chooseColor(value); });
            }
    gap();
    button(QStringLiteral("Help"), QStringLiteral("Help file"), [this] { m_controller.showHelp(); });
    button(QStringLiteral("Info"), QStringLiteral("Excel worksheet"), nullptr);

    // Toolbar buttons never take the focus from the grid or the editor.
    for (QAction *a : m_toolBar->actions())
        if (QWidget *w = m_toolBar->widgetForAction(a))
            w->setFocusPolicy(Qt::NoFocus);
}

void BookWindow::buildGridMenu()
{
    m_gridMenu = new QMenu(QStringLiteral("Grid"), this);
    m_gridMenu->setObjectName(QStringLiteral("mnuGrid"));
    m_gridMenu->setToolTipsVisible(true);
    BlockOps &blocks = m_controller.blocks();
    const auto add = [this](const QString &name, const QString &text, std::function<void()> fn) {
        QAction *a = m_gridMenu->addAction(text);
        a->setObjectName(name);
        if (fn)
            connect(a, &QAction::triggered, this, [fn = std::move(fn)] { fn(); });
        return a;
    };
    add(QStringLiteral("mnuGridCopy"), QStringLiteral("Copy"), [&blocks] { blocks.copy(); });
    add(QStringLiteral("mnuGridCut"), QStringLiteral("Cut"), [&blocks] { blocks.cut(); });
    add(QStringLiteral("mnuGridPaste"), QStringLiteral("Paste"), [&blocks] { blocks.paste(); });
    add(QStringLiteral("mnuGridDelete"), QStringLiteral("Delete"), [&blocks] { blocks.remove(); });
    add(QStringLiteral("mnuGridColor"), QStringLiteral("Color"), [&blocks] { blocks.colorCommand(); });
    add(QStringLiteral("mnuGridBlockout"), QStringLiteral("Blockout"), [&blocks] { blocks.blockout(); });
    later(add(QStringLiteral("mnuGridExport"), QStringLiteral("Export to text file"), nullptr));
    later(add(QStringLiteral("mnugridSearch"), QStringLiteral("Search History"), nullptr));
    m_gridMenu->addSeparator();
    add(QStringLiteral("mnuGridExit"), QStringLiteral("Exit"), nullptr);   // closes the menu, nothing more
}

void BookWindow::showGridMenu(int row, int col)
{
    // At the right edge of the cell, level with its top.
    const QRect r = m_grid->cellRect(row, col);
    const QPoint at = r.isNull() ? QPoint(0, 0) : QPoint(r.right() + 1, r.top());
    m_gridMenu->popup(m_grid->viewport()->mapToGlobal(at));
}

void BookWindow::openByDate()
{
    m_controller.openPageByDate();
    // The toolbar button is shown released once the input box is gone.
    if (auto *b = qobject_cast<QToolButton *>(m_toolBar->widgetForAction(m_openAction)))
        b->setDown(false);
}

void BookWindow::dropDown(QComboBox *box)
{
    if (box == m_month || box == m_year)
        m_controller.selectorBrowsing(false);
    box->setFocus(Qt::ShortcutFocusReason);
    box->showPopup();
}

} // namespace book
