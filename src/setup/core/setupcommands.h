#pragma once

#include "ui/core/commandset.h"

namespace setup {

class TemplateController;

// The setup window's commands: its Okay and Reset buttons ("CmdOkay",
// "CmdReset"), which the window runs (it closes the cell editor first).
void addSetupCommands(ui::CommandSet &set);

// The template window's commands: the grid's context menu, F7 (the step's
// finish), F8 (to the status box; "statusFocus", the window's) and F1, which
// is used up and does nothing.
void addTemplateCommands(ui::CommandSet &set, TemplateController &ctl);

} // namespace setup
