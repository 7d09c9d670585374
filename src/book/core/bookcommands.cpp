#include "book/core/bookcommands.h"

#include "book/core/appointmentshistory.h"
#include "book/core/bookcontroller.h"
#include "book/core/namesearch.h"
#include "book/core/nextavailable.h"
#include "book/core/pagehistory.h"
#include "book/core/recurrentbooking.h"
#include "book/pages/blockops.h"

#include <functional>
#include <utility>

namespace book {

void addBookCommands(ui::CommandSet &set, BookController &book)
{
    set.addMenu(QStringLiteral("mnuPage"), QStringLiteral("&Page"));
    set.addMenu(QStringLiteral("mnuEdit"), QStringLiteral("&Edit"));
    set.addMenu(QStringLiteral("mnuNavi"), QStringLiteral("&Navigate"));
    set.addMenu(QStringLiteral("mnuSearch"), QStringLiteral("&Search"));
    set.addMenu(QStringLiteral("mnuHelp"), QStringLiteral("&Help"));
    set.addMenu(QStringLiteral("mnuGrid"), QStringLiteral("Grid"), true);

    const QString page = QStringLiteral("mnuPage"), edit = QStringLiteral("mnuEdit"),
                  navi = QStringLiteral("mnuNavi"), grid = QStringLiteral("mnuGrid");
    BlockOps &blocks = book.blocks();

    set.add({.menu = page, .entry = QStringLiteral("mnuPageOpen"), .text = QStringLiteral("&Open"),
           .shortcut = QStringLiteral("Ctrl+O"), .tool = QStringLiteral("Open"),
           .toolTip = QStringLiteral("Open")});
    set.add({.menu = page, .entry = QStringLiteral("mnuPagePrint"), .text = QStringLiteral("&Print"),
           .shortcut = QStringLiteral("Ctrl+P"), .functionKey = Qt::Key_F10,
           .tool = QStringLiteral("Print"), .toolTip = QStringLiteral("Print"),
           .run = [&book] { book.printing().openPanel(); }});
    set.add({.menu = page, .entry = QStringLiteral("mnuPageExit"), .text = QStringLiteral("E&xit"),
           .functionKey = Qt::Key_F11, .menuGap = true, .run = [&book] { book.closeBook(); }});

    // While a cell editor or a memo has the focus, Ctrl+Z and Ctrl+Y are its
    // text's own: a text box takes standard keys before the window does.
    set.add({.menu = edit, .entry = QStringLiteral("mnuEditUndo"), .text = QStringLiteral("&Undo"),
           .shortcut = QStringLiteral("Ctrl+Z"), .tool = QStringLiteral("Undo"),
           .toolTip = QStringLiteral("Undo"), .toolGap = true, .run = [&book] { book.undo(); }});
    set.add({.menu = edit, .entry = QStringLiteral("mnuEditRedo"), .text = QStringLiteral("&Redo"),
           .shortcut = QStringLiteral("Ctrl+Y"), .tool = QStringLiteral("Redo"),
           .toolTip = QStringLiteral("Redo"), .run = [&book] { book.redo(); }});
    set.add({.menu = edit, .entry = QStringLiteral("mnuEditCut"), .text = QStringLiteral("Cu&t"),
           .shortcut = QStringLiteral("Ctrl+X"), .tool = QStringLiteral("Cut"),
           .toolTip = QStringLiteral("Cut"), .menuGap = true, .toolGap = true, .run = [&blocks] { blocks.cut(); }});
    set.add({.menu = edit, .entry = QStringLiteral("mnuEditCopy"), .text = QStringLiteral("&Copy"),
           .shortcut = QStringLiteral("Ctrl+C"), .tool = QStringLiteral("Copy"),
           .toolTip = QStringLiteral("Copy"), .run = [&blocks] { blocks.copy(); }});
    set.add({.menu = edit, .entry = QStringLiteral("mnuEditPaste"), .text = QStringLiteral("&Paste"),
           .shortcut = QStringLiteral("Ctrl+V"), .tool = QStringLiteral("Paste"),
           .toolTip = QStringLiteral("Paste"), .run = [&blocks] { blocks.paste(); }});
    set.add({.menu = edit, .entry = QStringLiteral("mnuEditDelete"), .text = QStringLiteral("&Delete"),
           .tool = QStringLiteral("Delete"), .toolTip = QStringLiteral("Delete"),
           .run = [&blocks] { blocks.remove(); }});

    set.add({.menu = navi, .entry = QStringLiteral("mnuNaviMemo"), .text = QStringLiteral("&Memo"),
           .functionKey = Qt::Key_F9, .legend = QStringLiteral("F9 Memo "), .run = [&book] { book.panel().memoCommand(); }});
    set.add({.menu = navi, .entry = QStringLiteral("mnuNaviBook"), .text = QStringLiteral("&Book")});
    set.add({.menu = navi, .entry = QStringLiteral("mnuNaviStatus"), .text = QStringLiteral("&Status")});
    set.add({.menu = navi, .entry = QStringLiteral("mnuNaviMonth"), .text = QStringLiteral("M&onth")});
    set.add({.menu = navi, .entry = QStringLiteral("mnuNaviYear"), .text = QStringLiteral("&Year")});

    set.add({.functionKey = Qt::Key_F2, .legend = QStringLiteral("F2 Recurrent"),
           .run = [&book] { book.recurrent().run(); }});
    set.add({.functionKey = Qt::Key_F3, .tool = QStringLiteral("Refresh"), .toolTip = QStringLiteral("Refresh Page"),
           .legend = QStringLiteral("F3 Refresh"), .toolGap = true, .run = [&book] { book.refreshCommand(); }});
    // Named on the legend; the automatic refresh itself is the timer's.
    set.add({.functionKey = Qt::Key_F4, .legend = QStringLiteral("F4 AutoRefresh"),
           .run = [&book] { book.panel().autoRefreshCommand(); }});
    set.add({.menu = QStringLiteral("mnuSearch"), .entry = QStringLiteral("mnuSearchClient"),
           .text = QStringLiteral("&Client"), .functionKey = Qt::Key_F5, .tool = QStringLiteral("Search"),
           .toolTip = QStringLiteral("Search Client"), .legend = QStringLiteral("F5 Search"),
           .run = [&book] { book.search().start(); }});
    set.add({.functionKey = Qt::Key_F7, .tool = QStringLiteral("Vert"),
           .toolTip = QStringLiteral("Find next available appointment by column"),
           .legend = QStringLiteral("F7 Next Avail Col "), .run = [&book] { book.nextAvailable().byColumn(); }});
    set.add({.functionKey = Qt::Key_F6, .tool = QStringLiteral("Hor"),
           .toolTip = QStringLiteral("Find next available appointment by row"),
           .legend = QStringLiteral("F6 Next Avail Row"), .run = [&book] { book.nextAvailable().byRow(); }});
    set.add({.tool = QStringLiteral("Date"), .toolTip = QStringLiteral("Find next available appointment by date"),
           .run = [&book] { book.nextAvailable().onDate(); }});
    set.add({.tool = QStringLiteral("Blockout"), .toolTip = QStringLiteral("Blockout characters"),
           .run = [&book] { book.blockHost().changeBlockoutString(); }});
    set.add({.functionKey = Qt::Key_F8, .tool = QStringLiteral("Week"), .toolTip = QStringLiteral("Weekly Schedule View"),
           .legend = QStringLiteral("F8 Weekly View"), .toolGap = true, .run = [&book] { book.navigation().weeklyView(); }});
    set.add({.tool = QStringLiteral("Calendar"), .toolTip = QStringLiteral("Toggle Full Screen View"),
           .run = [&book] { book.navigation().toggleFullWidth(); }});
    bool first = true;
    for (const RowCountButton &b : RowCountButtons) {
        const int rows = b.rows;
        set.add({.tool = QLatin1String(b.key), .toolTip = QLatin1String(b.tooltip), .toolGap = std::exchange(first, false),
               .run = [&blocks, rows] { blocks.chooseRowCount(rows); }});
    }
    // The colours stand in their own order on the toolbar, Yellow (the reset) last.
    first = true;
    for (const char *key : {"Cyan", "Red", "Amber", "Green", "Magenta", "Purple", "Blue", "Yellow"})
        for (const ToolbarColor &c : ToolbarColors)
            if (qstrcmp(c.key, key) == 0) {
                const int value = c.value;
                set.add({.tool = QLatin1String(c.key), .toolTip = QLatin1String(c.tooltip),
                       .toolGap = std::exchange(first, false), .run = [&blocks, value] { blocks.chooseColor(value); }});
            }

    set.add({.menu = QStringLiteral("mnuHelp"), .entry = QStringLiteral("mnuHelpAbout"), .text = QStringLiteral("&About"),
           .run = [&book] { book.about(); }});
    set.add({.menu = QStringLiteral("mnuHelp"), .entry = QStringLiteral("mnuHelpContents"),
           .text = QStringLiteral("&Contents"), .functionKey = Qt::Key_F1, .tool = QStringLiteral("Help"),
           .toolTip = QStringLiteral("Help file"), .legend = QStringLiteral("F1 Help"), .toolGap = true,
           .run = [&book] { book.showHelp(); }});
    set.add({.tool = QStringLiteral("Info"), .toolTip = QStringLiteral("Excel worksheet"),
           .run = [&book] { book.openSpreadsheet(); }});

    // The page grid's context menu.
    const auto gridEntry = [&set, &grid](const char *entry, const char *text, std::function<void()> run) {
        set.add({.menu = grid, .entry = QLatin1String(entry), .text = QLatin1String(text), .run = std::move(run)});
    };
    gridEntry("mnuGridCopy", "Copy", [&blocks] { blocks.copy(); });
    gridEntry("mnuGridCut", "Cut", [&blocks] { blocks.cut(); });
    gridEntry("mnuGridPaste", "Paste", [&blocks] { blocks.paste(); });
    gridEntry("mnuGridDelete", "Delete", [&blocks] { blocks.remove(); });
    gridEntry("mnuGridColor", "Color", [&blocks] { blocks.colorCommand(); });
    gridEntry("mnuGridBlockout", "Blockout", [&blocks] { blocks.blockout(); });
    gridEntry("mnuGridExport", "Export to text file", [&book] { book.exportColumn(); });
    gridEntry("mnugridSearch", "Search History", [&book] { book.history().run(); });
    gridEntry("mnuGridCellHistory", "Cell History", [&book] { book.pageHistory().cellHistory(); });
    gridEntry("mnuGridDeleted", "Deleted on this page", [&book] { book.pageHistory().deletedOnPage(); });
    // Closes the menu, nothing more.
    set.add({.menu = grid, .entry = QStringLiteral("mnuGridExit"), .text = QStringLiteral("Exit"), .menuGap = true});
}

} // namespace book
