#pragma once

#include "ui/core/commandset.h"
#include "ui/core/windows.h"

namespace invoiceprint {

class LetterheadController;
class PreprintedController;
struct Design;

// A letterhead design window's commands: its buttons, F1 and F2 (the help
// on and off) and Escape (back to the clinic's box).
void addLetterheadCommands(ui::CommandSet &set, LetterheadController &ctl, const Design &design,
                           ui::Windows &windows);
// The preprinted paper window's buttons.
void addPreprintedCommands(ui::CommandSet &set, PreprintedController &ctl, ui::Windows &windows);

} // namespace invoiceprint
