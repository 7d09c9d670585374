#include "invoiceprint/widgets/invoiceprintwindows.h"

#include "invoiceprint/widgets/letterheadwindow.h"
#include "invoiceprint/widgets/preprintedwindow.h"
#include "ui/core/windows.h"
#include "ui/widgets/windowregistry.h"

namespace invoiceprint {

void registerWindows(ui::WindowRegistry &registry)
{
    for (const Design &d : designs()) {
        const QString name = d.window;
        const int number = d.number;
        registry.add(name, [&registry, name, number](ui::Services &s) -> QWidget * {
            auto *w = new LetterheadWindow(s, design(number));
            if (!w->load()) {
                delete w;
                return nullptr;
            }
            QObject::connect(&registry, &ui::WindowRegistry::windowShown, w, [w, name](const QString &shown) {
                if (shown == name)
                    w->arrive();
            });
            return w;
        });
    }
    registry.add(ui::win::NoLetterHead, [](ui::Services &s) -> QWidget * {
        auto *w = new PreprintedWindow(s);
        if (!w->load()) {
            delete w;
            return nullptr;
        }
        return w;
    });
}

} // namespace invoiceprint
