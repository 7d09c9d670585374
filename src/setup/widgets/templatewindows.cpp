#include "setup/widgets/templatewindows.h"

#include "setup/widgets/templatewindow.h"
#include "ui/core/windows.h"
#include "ui/widgets/windowregistry.h"

namespace setup {

void registerTemplateWindow(ui::WindowRegistry &registry)
{
    registry.add(ui::win::Configure, ui::loadingWindow<TemplateWindow>());
}

} // namespace setup
