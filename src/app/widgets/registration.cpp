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

namespace {

// `w` reads its text again whenever the window `name` is shown, open or not.
template <class W>
W *reloadOnShow(ui::WindowRegistry &registry, const QString &name, W *w)
{
    QObject::connect(&registry, &ui::WindowRegistry::windowShown, w, [w, name](const QString &shown) {
        if (shown == name)
            w->reload();
    });
    return w;
}

} // namespace

void registerWindows(ui::WindowRegistry &registry)
{
    registry.add(ui::win::Splash, [](ui::Services &s) { return new SplashWindow(s); });
    registry.add(ui::win::Menu, [](ui::Services &s) { return new MenuWindow(s); });
    registry.add(ui::win::Readme, [](ui::Services &s) { return new ReadmeWindow(s); });
    registry.add(ui::win::ChangeLog, [](ui::Services &s) { return new ChangeLogWindow(s); });
    // A report delivered while the window is open replaces its text.
    registry.add(ui::win::TextReport,
                 [&registry](ui::Services &s) { return reloadOnShow(registry, ui::win::TextReport, new ReportWindow(s)); });
    // Read the text on every showing, so that a window asking for the
    // second help text gets it even when help is already open.
    registry.add(ui::win::Help,
                 [&registry](ui::Services &s) { return reloadOnShow(registry, ui::win::Help, new HelpWindow(s)); });
}

void registerUnavailableWindows(ui::WindowRegistry &registry)
{
    for (const QString &name : ui::win::all())
        if (!registry.has(name))
            registry.add(name, [name](ui::Services &s) { return new ui::UnavailableWindow(s, name); });
}

} // namespace app
