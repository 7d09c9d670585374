// The book window's command map: menu bar, toolbar, function keys and the
// page grid's context menu, each leading to the controller's operation.
#include "book/widgets/bookwindow.h"

#include "book/core/appointmentshistory.h"
#include "book/pages/blockops.h"
#include "book/core/namesearch.h"
#include "book/core/nextavailable.h"
#include "book/core/pagehistory.h"
#include "book/core/recurrentbooking.h"
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

#include <utility>

namespace book {

using Command = ui::CommandTable::Command;

void BookWindow::addCommands()
{
    ui::CommandTable &t = m_commands;
    t.setParent(this);
    t.addMenu(QStringLiteral("mnuPage"), QStringLiteral("&Page"));
    t.addMenu(QStringLiteral("mnuEdit"), QStringLiteral("&Edit"));
    t.addMenu(QStringLiteral("mnuNavi"), QStringLiteral("&Navigate"));
    t.addMenu(QStringLiteral("mnuSearch"), QStringLiteral("&Search"));
    t.addMenu(QStringLiteral("mnuHelp"), QStringLiteral("&Help"));
    t.addMenu(QStringLiteral("mnuGrid"), QStringLiteral("Grid"), true);

    const QString page = QStringLiteral("mnuPage"), edit = QStringLiteral("mnuEdit"),
                  navi = QStringLiteral("mnuNavi"), grid = QStringLiteral("mnuGrid");
    const auto blocks = [this] () -> BlockOps & { return m_controller.blocks(); };

    t.add({.menu = page, .entry = QStringLiteral("mnuPageOpen"), .text = QStringLiteral("&Open"),
           .shortcut = QStringLiteral("Ctrl+O"), .tool = QStringLiteral("Open"),
           .toolTip = QStringLiteral("Open"), .run = [this] { openByDate(); }});
    t.add({.menu = page, .entry = QStringLiteral("mnuPagePrint"), .text = QStringLiteral("&Print"),
           .shortcut = QStringLiteral("Ctrl+P"), .functionKey = Qt::Key_F10,
           .tool = QStringLiteral("Print"), .toolTip = QStringLiteral("Print"),
           .run = [this] { m_controller.printing().openPanel(); }});
    t.add({.menu = page, .entry = QStringLiteral("mnuPageExit"), .text = QStringLiteral("E&xit"),
           .functionKey = Qt::Key_F11, .menuGap = true, .run = [this] { m_controller.closeBook(); }});

    // While a cell editor or a memo has the focus, Ctrl+Z and Ctrl+Y are its
    // text's own: a text box takes standard keys before the window does.
    t.add({.menu = edit, .entry = QStringLiteral("mnuEditUndo"), .text = QStringLiteral("&Undo"),
           .shortcut = QStringLiteral("Ctrl+Z"), .tool = QStringLiteral("Undo"),
           .toolTip = QStringLiteral("Undo"), .toolGap = true, .run = [this] { m_controller.undo(); }});
    t.add({.menu = edit, .entry = QStringLiteral("mnuEditRedo"), .text = QStringLiteral("&Redo"),
           .shortcut = QStringLiteral("Ctrl+Y"), .tool = QStringLiteral("Redo"),
           .toolTip = QStringLiteral("Redo"), .run = [this] { m_controller.redo(); }});
    t.add({.menu = edit, .entry = QStringLiteral("mnuEditCut"), .text = QStringLiteral("Cu&t"),
           .shortcut = QStringLiteral("Ctrl+X"), .tool = QStringLiteral("Cut"),
           .toolTip = QStringLiteral("Cut"), .menuGap = true, .toolGap = true, .run = [blocks] { blocks().cut(); }});
    t.add({.menu = edit, .entry = QStringLiteral("mnuEditCopy"), .text = QStringLiteral("&Copy"),
           .shortcut = QStringLiteral("Ctrl+C"), .tool = QStringLiteral("Copy"),
           .toolTip = QStringLiteral("Copy"), .run = [blocks] { blocks().copy(); }});
    t.add({.menu = edit, .entry = QStringLiteral("mnuEditPaste"), .text = QStringLiteral("&Paste"),
           .shortcut = QStringLiteral("Ctrl+V"), .tool = QStringLiteral("Paste"),
           .toolTip = QStringLiteral("Paste"), .run = [blocks] { blocks().paste(); }});
    t.add({.menu = edit, .entry = QStringLiteral("mnuEditDelete"), .text = QStringLiteral("&Delete"),
           .tool = QStringLiteral("Delete"), .toolTip = QStringLiteral("Delete"),
           .run = [blocks] { blocks().remove(); }});

    t.add({.menu = navi, .entry = QStringLiteral("mnuNaviMemo"), .text = QStringLiteral("&Memo"),
           .functionKey = Qt::Key_F9, .legend = QStringLiteral("F9 Memo "), .run = [this] { m_controller.panel().memoCommand(); }});
    t.add({.menu = navi, .entry = QStringLiteral("mnuNaviBook"), .text = QStringLiteral("&Book"),
           .run = [this] { m_book->setFocus(Qt::ShortcutFocusReason); }});
    t.add({.menu = navi, .entry = QStringLiteral("mnuNaviStatus"), .text = QStringLiteral("&Status"),
           .run = [this] { dropDown(m_status); }});
    t.add({.menu = navi, .entry = QStringLiteral("mnuNaviMonth"), .text = QStringLiteral("M&onth"),
           .run = [this] { dropDown(m_month); }});
    t.add({.menu = navi, .entry = QStringLiteral("mnuNaviYear"), .text = QStringLiteral("&Year"),
           .run = [this] { dropDown(m_year); }});

    t.add({.functionKey = Qt::Key_F2, .legend = QStringLiteral("F2 Recurrent"),
           .run = [this] { m_controller.recurrent().run(); }});
    t.add({.functionKey = Qt::Key_F3, .tool = QStringLiteral("Refresh"), .toolTip = QStringLiteral("Refresh Page"),
           .legend = QStringLiteral("F3 Refresh"), .toolGap = true, .run = [this] { m_controller.refreshCommand(); }});
    // Named on the legend; the automatic refresh itself is the timer's.
    t.add({.functionKey = Qt::Key_F4, .legend = QStringLiteral("F4 AutoRefresh"),
           .run = [this] { m_controller.panel().autoRefreshCommand(); }});
    t.add({.menu = QStringLiteral("mnuSearch"), .entry = QStringLiteral("mnuSearchClient"),
           .text = QStringLiteral("&Client"), .functionKey = Qt::Key_F5, .tool = QStringLiteral("Search"),
           .toolTip = QStringLiteral("Search Client"), .legend = QStringLiteral("F5 Search"),
           .run = [this] { m_controller.search().start(); }});
    t.add({.functionKey = Qt::Key_F7, .tool = QStringLiteral("Vert"),
           .toolTip = QStringLiteral("Find next available appointment by column"),
           .legend = QStringLiteral("F7 Next Avail Col "), .run = [this] { m_controller.nextAvailable().byColumn(); }});
    t.add({.functionKey = Qt::Key_F6, .tool = QStringLiteral("Hor"),
           .toolTip = QStringLiteral("Find next available appointment by row"),
           .legend = QStringLiteral("F6 Next Avail Row"), .run = [this] { m_controller.nextAvailable().byRow(); }});
    t.add({.tool = QStringLiteral("Date"), .toolTip = QStringLiteral("Find next available appointment by date"),
           .run = [this] { m_controller.nextAvailable().onDate(); }});
    t.add({.tool = QStringLiteral("Blockout"), .toolTip = QStringLiteral("Blockout characters"),
           .run = [this] { m_controller.blockHost().changeBlockoutString(); }});
    t.add({.functionKey = Qt::Key_F8, .tool = QStringLiteral("Week"), .toolTip = QStringLiteral("Weekly Schedule View"),
           .legend = QStringLiteral("F8 Weekly View"), .toolGap = true, .run = [this] { m_controller.navigation().weeklyView(); }});
    t.add({.tool = QStringLiteral("Calendar"), .toolTip = QStringLiteral("Toggle Full Screen View"),
           .run = [this] { m_controller.navigation().toggleFullWidth(); }});
    bool first = true;
    for (const RowCountButton &b : RowCountButtons) {
        const int rows = b.rows;
        t.add({.tool = QLatin1String(b.key), .toolTip = QLatin1String(b.tooltip), .toolGap = std::exchange(first, false),
               .run = [blocks, rows] { blocks().chooseRowCount(rows); }});
    }
    // The colours stand in their own order on the toolbar, Yellow (the reset) last.
    first = true;
    for (const char *key : {"Cyan", "Red", "Amber", "Green", "Magenta", "Purple", "Blue", "Yellow"})
        for (const ToolbarColor &c : ToolbarColors)
            if (qstrcmp(c.key, key) == 0) {
                const int value = c.value;
                t.add({.tool = QLatin1String(c.key), .toolTip = QLatin1String(c.tooltip),
                       .toolGap = std::exchange(first, false), .run = [blocks, value] { blocks().chooseColor(value); }});
            }

    t.add({.menu = QStringLiteral("mnuHelp"), .entry = QStringLiteral("mnuHelpAbout"), .text = QStringLiteral("&About"),
           .run = [this] { m_controller.about(); }});
    t.add({.menu = QStringLiteral("mnuHelp"), .entry = QStringLiteral("mnuHelpContents"),
           .text = QStringLiteral("&Contents"), .functionKey = Qt::Key_F1, .tool = QStringLiteral("Help"),
           .toolTip = QStringLiteral("Help file"), .legend = QStringLiteral("F1 Help"), .toolGap = true,
           .run = [this] { m_controller.showHelp(); }});
    t.add({.tool = QStringLiteral("Info"), .toolTip = QStringLiteral("Excel worksheet"),
           .run = [this] { m_controller.openSpreadsheet(); }});

    // The page grid's context menu.
    t.add({.menu = grid, .entry = QStringLiteral("mnuGridCopy"), .text = QStringLiteral("Copy"),
           .run = [blocks] { blocks().copy(); }});
    t.add({.menu = grid, .entry = QStringLiteral("mnuGridCut"), .text = QStringLiteral("Cut"),
           .run = [blocks] { blocks().cut(); }});
    t.add({.menu = grid, .entry = QStringLiteral("mnuGridPaste"), .text = QStringLiteral("Paste"),
           .run = [blocks] { blocks().paste(); }});
    t.add({.menu = grid, .entry = QStringLiteral("mnuGridDelete"), .text = QStringLiteral("Delete"),
           .run = [blocks] { blocks().remove(); }});
    t.add({.menu = grid, .entry = QStringLiteral("mnuGridColor"), .text = QStringLiteral("Color"),
           .run = [blocks] { blocks().colorCommand(); }});
    t.add({.menu = grid, .entry = QStringLiteral("mnuGridBlockout"), .text = QStringLiteral("Blockout"),
           .run = [blocks] { blocks().blockout(); }});
    t.add({.menu = grid, .entry = QStringLiteral("mnuGridExport"), .text = QStringLiteral("Export to text file"),
           .run = [this] { m_controller.exportColumn(); }});
    t.add({.menu = grid, .entry = QStringLiteral("mnugridSearch"), .text = QStringLiteral("Search History"),
           .run = [this] { m_controller.history().run(); }});
    t.add({.menu = grid, .entry = QStringLiteral("mnuGridCellHistory"), .text = QStringLiteral("Cell History"),
           .run = [this] { m_controller.pageHistory().cellHistory(); }});
    t.add({.menu = grid, .entry = QStringLiteral("mnuGridDeleted"), .text = QStringLiteral("Deleted on this page"),
           .run = [this] { m_controller.pageHistory().deletedOnPage(); }});
    // Closes the menu, nothing more.
    t.add({.menu = grid, .entry = QStringLiteral("mnuGridExit"), .text = QStringLiteral("Exit"), .menuGap = true});
}

void BookWindow::buildCommands()
{
    m_toolBar = new QToolBar(QStringLiteral("Toolbar"), this);
    m_toolBar->setObjectName(QStringLiteral("tbToolBar"));
    m_toolBar->setMovable(false);
    m_toolBar->setFloatable(false);
    m_toolBar->setIconSize(QSize(22, 22));
    m_toolBar->setToolButtonStyle(Qt::ToolButtonIconOnly);
    m_toolBar->setContextMenuPolicy(Qt::PreventContextMenu);
    addToolBar(Qt::TopToolBarArea, m_toolBar);
    m_commands.buildToolBar(m_toolBar, toolbarIcon);
    m_openAction = m_toolBar->findChild<QAction *>(QStringLiteral("tbOpen"));
    // Toolbar buttons never take the focus from the grid or the editor.
    for (QAction *a : m_toolBar->actions())
        if (QWidget *w = m_toolBar->widgetForAction(a))
            w->setFocusPolicy(Qt::NoFocus);

    m_commands.buildMenuBar(menuBar());
    m_gridMenu = m_commands.buildMenu(QStringLiteral("mnuGrid"), this);
    syncUndo();
}

void BookWindow::syncUndo()
{
    // Each entry says what it would take back; nothing to take back, or an
    // open cell editor, leaves it disabled.
    const bool editing = m_controller.entry().editor().visible;
    const auto show = [&](const QString &name, const QString &text, const QString &entry, const QString &plain) {
        const bool on = !text.isEmpty() && !editing;
        if (auto *a = m_toolBar->findChild<QAction *>(QStringLiteral("tb") + name)) {
            a->setEnabled(on);
            a->setToolTip(text.isEmpty() ? plain : text);
        }
        if (auto *a = menuBar()->findChild<QAction *>(entry)) {
            a->setEnabled(on);
            a->setText(QLatin1Char('&') + QString(text.isEmpty() ? plain : text).replace(QLatin1Char('&'), QStringLiteral("&&")));
        }
    };
    show(QStringLiteral("Undo"), m_controller.session().undoText(), QStringLiteral("mnuEditUndo"), QStringLiteral("Undo"));
    show(QStringLiteral("Redo"), m_controller.session().redoText(), QStringLiteral("mnuEditRedo"), QStringLiteral("Redo"));
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
    m_controller.navigation().openPageByDate();
    // The toolbar button is shown released once the input box is gone.
    if (auto *b = qobject_cast<QToolButton *>(m_toolBar->widgetForAction(m_openAction)))
        b->setDown(false);
}

void BookWindow::dropDown(QComboBox *box)
{
    if (box == m_month || box == m_year)
        m_controller.navigation().selectorBrowsing(false);
    box->setFocus(Qt::ShortcutFocusReason);
    box->showPopup();
}

} // namespace book
