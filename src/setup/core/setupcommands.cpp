#include "setup/core/setupcommands.h"

#include "book/pages/blockops.h"
#include "setup/core/templatecontroller.h"

namespace setup {

void addSetupCommands(ui::CommandSet &set)
{
    set.add({.id = QStringLiteral("CmdOkay"), .text = QStringLiteral("Okay")});
    set.add({.id = QStringLiteral("CmdReset"), .text = QStringLiteral("Reset")});
}

void addTemplateCommands(ui::CommandSet &set, TemplateController &ctl)
{
    const QString grid = QStringLiteral("mnuGrid");
    set.addMenu(grid, QStringLiteral("Grid"), true, false);
    const auto blocks = [&ctl]() -> book::BlockOps & { return ctl.blocks(); };
    set.add({.menu = grid, .entry = QStringLiteral("mnuGridCopy"), .text = QStringLiteral("Copy"),
             .run = [blocks] { blocks().copy(); }});
    set.add({.menu = grid, .entry = QStringLiteral("mnuGridCut"), .text = QStringLiteral("Cut"),
             .run = [blocks] { blocks().cut(); }});
    set.add({.menu = grid, .entry = QStringLiteral("mnuGridPaste"), .text = QStringLiteral("Paste"),
             .run = [blocks] { blocks().paste(); }});
    set.add({.menu = grid, .entry = QStringLiteral("mnuGridDelete"), .text = QStringLiteral("Delete"),
             .run = [blocks] { blocks().remove(); }});
    set.add({.menu = grid, .entry = QStringLiteral("mnuGridBlockout"), .text = QStringLiteral("Blockout"),
             .run = [blocks] { blocks().blockout(); }});
    // Closes the menu, nothing more.
    set.add({.menu = grid, .entry = QStringLiteral("mnuGridExit"), .text = QStringLiteral("Exit"), .menuGap = true});

    set.add({.id = QStringLiteral("help"), .functionKey = Qt::Key_F1});   // used up
    set.add({.id = QStringLiteral("finishStep"), .functionKey = Qt::Key_F7, .run = [&ctl] { ctl.finishStep(); }});
    set.add({.id = QStringLiteral("statusFocus"), .functionKey = Qt::Key_F8});
}

} // namespace setup
