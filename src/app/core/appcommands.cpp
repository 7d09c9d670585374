#include "app/core/appcommands.h"

#include "app/core/menucontroller.h"

namespace app {

void addMenuCommands(ui::CommandSet &set, MenuController &menu)
{
    // 7 is not among them: it does nothing, and passes on.
    for (int n : {1, 2, 3, 4, 5, 6, 8}) {
        const int key = Qt::Key_0 + n;
        set.add({.id = QStringLiteral("key%1").arg(n), .functionKey = key,
                 .legend = n == 1 ? QStringLiteral("Press 1 to 8, or choose an option.") : QString(),
                 .run = [&menu, key] { menu.digitKey(key); }});
    }
    set.add({.id = QStringLiteral("Command1"), .text = QStringLiteral("&Readme"), .run = [&menu] { menu.showReadme(); }});
    set.add({.id = QStringLiteral("cmdChangeLog"), .text = QStringLiteral("Change &Log"),
             .run = [&menu] { menu.showChangeLog(); }});
    set.add({.id = QStringLiteral("Command2"), .text = QStringLiteral("C&hange...")});
}

void addChangeLogCommands(ui::CommandSet &set, ui::Windows &windows)
{
    const auto close = [&windows] { windows.unload(ui::win::ChangeLog); };
    set.add({.id = QStringLiteral("cmdPrint"), .text = QStringLiteral("&Print")});
    set.add({.id = QStringLiteral("cmdPdf"), .text = QStringLiteral("Save as P&DF...")});
    set.add({.id = QStringLiteral("cmdClose"), .text = QStringLiteral("&Close"), .run = close});
    set.add({.id = QStringLiteral("escape"), .functionKey = Qt::Key_Escape, .run = close});
}

} // namespace app
