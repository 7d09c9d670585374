#include "app/core/startup.h"
#include "app/widgets/registration.h"
#include "store/core/database.h"
#include "ui/core/appstate.h"
#include "ui/core/services.h"
#include "ui/core/windows.h"
#include "ui/widgets/qtprompter.h"
#include "ui/widgets/windowregistry.h"

#include <QApplication>

// ---------------------------------------------------------------------------
// Subsystem windows. Each subsystem adds its windows to the registry with a
// registration function of its own; declare and call it below when it exists.
// ---------------------------------------------------------------------------
// namespace book { void registerWindows(ui::WindowRegistry &); }
// namespace schedules { void registerWindows(ui::WindowRegistry &); }
// namespace setup { void registerWindows(ui::WindowRegistry &); }
// namespace accounts { void registerWindows(ui::WindowRegistry &); }
// namespace invoiceprint { void registerWindows(ui::WindowRegistry &); }
// namespace backup { void registerWindows(ui::WindowRegistry &); }

int main(int argc, char **argv)
{
    QApplication app(argc, argv);
    QApplication::setApplicationName(QStringLiteral("Quillon"));
    QApplication::setApplicationVersion(QStringLiteral("3.8"));

    ui::QtPrompter prompter;
    ui::AppState state;
    // The data files live beside the executable.
    state.appDir = QCoreApplication::applicationDirPath();

    store::Database db;
    app::Startup startup(db, prompter);
    if (!startup.open(state.appDir))
        return 1;

    ui::WindowRegistry registry;
    ui::Services services{db, prompter, state, registry};
    registry.setServices(&services);

    app::registerWindows(registry);
    // --- Subsystem registrations go here -----------------------------------
    // book::registerWindows(registry);
    // schedules::registerWindows(registry);
    // setup::registerWindows(registry);
    // accounts::registerWindows(registry);
    // invoiceprint::registerWindows(registry);
    // backup::registerWindows(registry);
    // -------------------------------------------------------------------------
    // Whatever is still without a window says so, and leads back to the menu.
    app::registerUnavailableWindows(registry);

    // The exit path ends the program; so does closing the last window.
    QObject::connect(&registry, &ui::WindowRegistry::quitRequested, &app, &QCoreApplication::quit,
                     Qt::QueuedConnection);

    registry.show(ui::win::Splash);
    const int rc = QApplication::exec();
    db.close();
    return rc;
}
