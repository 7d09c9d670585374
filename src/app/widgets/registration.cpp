#include "app/widgets/registration.h"

#include "app/widgets/changelogwindow.h"
#include "app/widgets/menuwindow.h"
#include "app/widgets/reportwindow.h"
#include "app/widgets/splashwindow.h"
#include "app/widgets/textwindow.h"
#include "ui/core/windows.h"
#include "ui/widgets/unavailablewindow.h"
#include "ui/widgets/windowregistry.h"

#include <QPointer>

namespace app {

void registerWindows(ui::WindowRegistry &registry)
{
    registry.add(ui::win::Splash, [](ui::Services &s) { return new SplashWindow(s); });
    registry.add(ui::win::Menu, [](ui::Services &s) { return new MenuWindow(s); });
    registry.add(ui::win::Readme, [](ui::Services &s) { return new ReadmeWindow(s); });
    registry.add(ui::win::ChangeLog, [](ui::Services &s) { return new ChangeLogWindow(s); });
    registry.add(ui::win::TextReport, [&registry](ui::Services &s) {
        auto *w = new ReportWindow(s);
        // A report delivered while the window is open replaces its text.
        QObject::connect(&registry, &ui::WindowRegistry::windowShown, w, [w](const QString &name) {
            if (name == ui::win::TextReport)
                w->reload();
        });
        return w;
    });
    registry.add(ui::win::Help, [&registry](ui::Services &s) {
        auto *w = new HelpWindow(s);
        // Read the text on every showing, so that a window asking for the
        // second help text gets it even when help is already open.
        QObject::connect(&registry, &ui::WindowRegistry::windowShown, w, [w](const QString &name) {
            if (name == ui::win::Help)
                w->reload();
        });
        return w;
    });
}

void registerUnavailableWindows(ui::WindowRegistry &registry)
{
    for (const QString &name : ui::win::all())
        if (!registry.has(name))
            registry.add(name, [name](ui::Services &s) { return new ui::UnavailableWindow(s, name); });
}

} // namespace app
