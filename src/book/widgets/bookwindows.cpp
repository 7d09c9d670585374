#include "book/widgets/bookwindows.h"

#include "book/widgets/bookwindow.h"
#include "ui/core/windows.h"
#include "ui/widgets/windowregistry.h"

namespace book {

void registerWindows(ui::WindowRegistry &registry)
{
    const ui::WindowRegistry::Factory load = ui::loadingWindow<BookWindow>();
    registry.add(ui::win::Appt, [&registry, load](ui::Services &s) -> QWidget * {
        QWidget *w = load(s);
        // Shown again after the weekly view: back to its page, or into the
        // cell chosen there.
        if (auto *book = qobject_cast<BookWindow *>(w))
            QObject::connect(&registry, &ui::WindowRegistry::windowShown, book, [book](const QString &name) {
                if (name == ui::win::Appt)
                    book->controller().navigation().weekBack();
            });
        return w;
    });
}

} // namespace book
