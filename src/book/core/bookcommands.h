#pragma once

#include "ui/core/commandset.h"

namespace book {

class BookController;

// The book window's commands: its menus, toolbar, function keys (and their
// legend) and the page grid's context menu, each leading to the part that
// carries it out. The window gives the runs only its widgets can do: Page >
// Open (the toolbar button shown released after) and Navigate's Book,
// Status, Month and Year (a control takes the focus).
void addBookCommands(ui::CommandSet &set, BookController &book);

} // namespace book
