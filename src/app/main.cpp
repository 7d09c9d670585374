#include "accounts/widgets/accountswindows.h"
#include "app/core/startup.h"
#include "app/widgets/registration.h"
#include "backup/widgets/backupwindows.h"
#include "book/widgets/bookwindows.h"
#include "invoiceprint/widgets/invoiceprintwindows.h"
#include "schedules/widgets/schedulewindows.h"
#include "setup/widgets/setupwindows.h"
#include "setup/widgets/templatewindows.h"
#include "store/core/database.h"
#include "store/core/presence.h"
#include "store/core/sharelock.h"
#include "ui/core/appstate.h"
#include "ui/core/clock.h"
#include "ui/core/services.h"
#include "ui/core/stationwait.h"
#include "ui/core/windows.h"
#include "ui/widgets/qtclipboard.h"
#include "ui/widgets/systemdesktop.h"
#include "ui/widgets/qtprompter.h"
#include "ui/widgets/waitnotice.h"
#include "ui/widgets/windowregistry.h"

#include <QApplication>

int main(int argc, char **argv)
{
    QApplication app(argc, argv);
    QApplication::setApplicationName(QStringLiteral("Quillon"));
    QApplication::setApplicationVersion(QStringLiteral("3.8"));

    ui::QtPrompter prompter;
    ui::AppState state;
    // The data files live beside the executable.
    state.appDir = QCoreApplication::applicationDirPath();

    // A statement that finds the data held by another station says so on
    // screen and can be stopped, instead of freezing the window.
    ui::StationWait stationWait;
    ui::WaitNotice waitNotice(stationWait);
    store::Database db;
    app::Startup startup(db, prompter);
    if (!startup.open(state.appDir))
        return 1;
    db.setWaitListener(&stationWait);

    ui::WindowRegistry registry;
    const ui::SystemClock clock;
    ui::QtClipboard clipboard;
    ui::SystemDesktop desktop;
    ui::Services services{db, prompter, state, registry, clock, clipboard, desktop};

    // The other stations see this one as running while it beats.
    store::Presence presence(db, [&clock] { return clock.now(); });
    store::ShareLock shareLock;
    if (!startup.joinStations(presence, shareLock, clock.now()))
        return 1;
    registry.setServices(&services);

    app::registerWindows(registry);
    // Each subsystem adds its own windows; windows of subsystems not built
    // yet are the stand-ins below.
    book::registerWindows(registry);
    schedules::registerWindows(registry);
    setup::registerWindows(registry);
    setup::registerTemplateWindow(registry);
    backup::registerWindows(registry);
    accounts::registerWindows(registry);
    invoiceprint::registerWindows(registry);
    // Whatever is still without a window says so, and leads back to the menu.
    app::registerUnavailableWindows(registry);

    // The exit path ends the program; so does closing the last window.
    QObject::connect(&registry, &ui::WindowRegistry::quitRequested, &app, &QCoreApplication::quit,
                     Qt::QueuedConnection);

    registry.show(ui::win::Splash);
    const int rc = QApplication::exec();
    presence.leave();
    db.close();
    return rc;
}
