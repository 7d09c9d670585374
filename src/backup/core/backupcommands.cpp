#include "backup/core/backupcommands.h"

#include "backup/core/backupcontroller.h"

namespace backup {

void addBackupCommands(ui::CommandSet &set, BackupController &ctl)
{
    set.add({.id = QStringLiteral("cmdBackup"), .text = QStringLiteral("&BackUp")});
    set.add({.id = QStringLiteral("CmdRestore"), .text = QStringLiteral("&Restore"), .run = [&ctl] { ctl.restore(); }});
    set.add({.id = QStringLiteral("CmdExit"), .text = QStringLiteral("&Exit"), .run = [&ctl] { ctl.exit(); }});
    const QString tip = QStringLiteral("Choose a folder");
    set.add({.id = QStringLiteral("cmdChooseBackup"), .text = QStringLiteral("Folder..."), .toolTip = tip,
             .accessibleName = QStringLiteral("Choose the backup folder")});
    set.add({.id = QStringLiteral("cmdChooseRestore"), .text = QStringLiteral("Folder..."), .toolTip = tip,
             .accessibleName = QStringLiteral("Choose the folder to restore from")});
}

} // namespace backup
