#include "book/widgets/bookwindows.h"

#include "book/widgets/bookwindow.h"
#include "ui/core/windows.h"
#include "ui/widgets/windowregistry.h"

#include <QCoreApplication>

namespace book {

void registerWindows(ui::WindowRegistry &registry)
{
    registry.add(ui::win::Appt, [](ui::Services &services) -> QWidget * {
        auto *w = new BookWindow(services);
        if (w->load())
            return w;
        // No page could be opened (the user has been told): back to the menu,
        // once the registry has finished with this window.
        delete w;
        QMetaObject::invokeMethod(
            QCoreApplication::instance(), [&services] { services.windows.show(ui::win::Menu); },
            Qt::QueuedConnection);
        return nullptr;
    });
}

} // namespace book
