#include "setup/widgets/templatewindows.h"

#include "setup/widgets/templatewindow.h"
#include "ui/core/windows.h"
#include "ui/widgets/windowregistry.h"

#include <QCoreApplication>

namespace setup {

void registerTemplateWindow(ui::WindowRegistry &registry)
{
    registry.add(ui::win::Configure, [](ui::Services &services) -> QWidget * {
        auto *w = new TemplateWindow(services);
        if (w->load())
            return w;
        // The settings could not be read (the user has been told): back to
        // the menu, once the registry has finished with this window.
        delete w;
        QMetaObject::invokeMethod(
            QCoreApplication::instance(), [&services] { services.windows.show(ui::win::Menu); },
            Qt::QueuedConnection);
        return nullptr;
    });
}

} // namespace setup
