#include "backup/widgets/backupwindows.h"

#include "backup/widgets/backupwindow.h"
#include "ui/core/windows.h"
#include "ui/widgets/windowregistry.h"

namespace backup {

void registerWindows(ui::WindowRegistry &registry)
{
    registry.add(ui::win::Backup, [](ui::Services &services) { return new BackupWindow(services); });
}

} // namespace backup
