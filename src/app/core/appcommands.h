#pragma once

#include "ui/core/commandset.h"
#include "ui/core/windows.h"

namespace app {

class MenuController;

// The main menu's commands: the digit keys 1 to 8 wherever the focus is
// (1, 2, 3, 4 and 6 leave the menu open; 5 and 8 act as their options) and
// its buttons. "dataFolder" asks for a place, which the window does.
void addMenuCommands(ui::CommandSet &set, MenuController &menu);

// The change log window's commands: its buttons and Escape, which closes it.
// "print" and "pdf" are the window's.
void addChangeLogCommands(ui::CommandSet &set, ui::Windows &windows);

} // namespace app
