#include "setup/widgets/setupwindows.h"

#include "setup/widgets/setupwindow.h"
#include "ui/core/windows.h"
#include "ui/widgets/windowregistry.h"

namespace setup {

void registerWindows(ui::WindowRegistry &registry)
{
    registry.add(ui::win::Setup, ui::loadingWindow<SetupWindow>());
}

} // namespace setup
