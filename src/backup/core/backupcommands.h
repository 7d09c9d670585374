#pragma once

#include "ui/core/commandset.h"

namespace backup {

class BackupController;

// The backup window's commands, all buttons: "cmdBackup" (the window's, as it
// learns whether the program ends), "CmdRestore", "CmdExit", and the folder
// choosers "cmdChooseBackup" and "cmdChooseRestore" (the window's).
void addBackupCommands(ui::CommandSet &set, BackupController &ctl);

} // namespace backup
