#include "accounts/widgets/accountswindows.h"
#include "app/core/datafolder.h"
#include "app/core/startup.h"
#include "app/widgets/datafolderwindow.h"
#include "app/widgets/indexprogress.h"
#include "app/widgets/registration.h"
#include "backup/widgets/backupwindows.h"
#include "book/widgets/bookwindows.h"
#include "invoiceprint/widgets/invoiceprintwindows.h"
#include "schedules/widgets/schedulewindows.h"
#include "setup/widgets/setupwindows.h"
#include "setup/widgets/templatewindows.h"
#include "store/core/database.h"
#include "store/core/filecheck.h"
#include "store/core/presence.h"
#include "store/core/sharelock.h"
#include "ui/core/appstate.h"
#include "ui/core/desktop.h"
#include "ui/core/services.h"
#include "ui/core/stationwait.h"
#include "ui/core/windows.h"
#include "ui/widgets/qtclipboard.h"
#include "ui/widgets/systemdesktop.h"
#include "ui/widgets/qtprompter.h"
#include "ui/widgets/waitnotice.h"
#include "ui/widgets/windowregistry.h"

#include <QApplication>
#include <QElapsedTimer>
#include <QFile>
#include <QIcon>
#include <QTimer>
#include <cstdio>

namespace {

// The process's resident size as the system counts it (Linux), for --smoke.
QString residentSize()
{
    QFile status(QStringLiteral("/proc/self/status"));
    if (!status.open(QIODevice::ReadOnly))
        return QStringLiteral("unknown");
    for (const QByteArray &line : status.readAll().split('\n'))
        if (line.startsWith("VmRSS:"))
            return QString::fromLatin1(line.mid(6).simplified());
    return QStringLiteral("unknown");
}

} // namespace

int main(int argc, char **argv)
{
    QApplication app(argc, argv);
    QApplication::setApplicationName(QStringLiteral("Quillon"));
    QApplication::setApplicationVersion(QStringLiteral("3.8"));
    // The desktop entry and icon the package installs.
    QGuiApplication::setDesktopFileName(QStringLiteral("com.brevik.quillon"));
    QApplication::setWindowIcon(QIcon::fromTheme(QStringLiteral("com.brevik.quillon")));

    // --smoke: start as usual, open the main menu, say so and end; proves an
    // installed program reaches its menu. --smoke=book opens the book from
    // the menu too. Each says how long it took and the resident size.
    QElapsedTimer started;
    started.start();
    const bool smokeBook = QCoreApplication::arguments().contains(QStringLiteral("--smoke=book"));
    const bool smoke = smokeBook || QCoreApplication::arguments().contains(QStringLiteral("--smoke"));

    ui::QtPrompter prompter;
    ui::AppState state;
    app::DataFolderStart dataStart(
        prompter, [&prompter] { return app::DataFolderWindow::ask(prompter); },
        ui::Places::stationSettingsFile());
    const auto data = dataStart.settle(ui::Places::lookupOfThisStart(QCoreApplication::arguments()));
    if (!data)
        return 1;
    state.places.setData(*data, dataStart.source());

    // A statement that finds the data held by another station says so on
    // screen and can be stopped, instead of freezing the window.
    ui::StationWait stationWait;
    ui::WaitNotice waitNotice(stationWait);
    // A schema step or a stale index may build the search index as the
    // database opens (or after a restore): the busy pointer and its progress.
    app::IndexProgress indexProgress;
    store::Database db;
    db.setIndexProgress([&indexProgress](int done, int total) { indexProgress.report(done, total); });
    app::Startup startup(db, prompter);
    if (!startup.open(state.places.data()))
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
    if (smoke) {
        QObject::connect(&registry, &ui::WindowRegistry::windowShown, &app,
                         [&registry, &state, &started, smokeBook](const QString &name) {
            const QWidget *shown = registry.window(name);
            if (name == ui::win::Menu) {
                std::printf("Main menu shown: %s\n", shown ? qPrintable(shown->windowTitle()) : "?");
                std::printf("Report layout: %s\n", qPrintable(state.places.layout(QStringLiteral("invoice1.rpt"))));
            } else if (name == ui::win::Appt && smokeBook) {
                std::printf("Book shown: %s\n", shown ? qPrintable(shown->windowTitle()) : "?");
            } else {
                return;
            }
            std::printf("After %lld ms, resident %s\n", static_cast<long long>(started.elapsed()),
                        qPrintable(residentSize()));
            std::fflush(stdout);
            if (!shown || !shown->isVisible())
                QCoreApplication::exit(3);
            else if (name == ui::win::Menu && smokeBook)
                QTimer::singleShot(0, &registry, [&registry] { registry.show(ui::win::Appt); });
            else
                QCoreApplication::exit(0);
        });
        // As the first key press on the splash does.
        QTimer::singleShot(0, &registry, [&registry] {
            registry.show(ui::win::Menu);
            registry.unload(ui::win::Splash);
        });
        QTimer::singleShot(30000, &app, [] {
            std::fprintf(stderr, "The main menu did not show within 30 seconds.\n");
            QCoreApplication::exit(2);
        });
    }
    const int rc = QApplication::exec();
    presence.leave();
    const bool onFile = !db.onServer();
    db.close();
    // The next start reads every page of the files only if anything wrote
    // to them after this.
    if (onFile) {
        store::FileCheck::closedCleanly(app::Startup::dbPath(state.places.data()));
        store::FileCheck::closedCleanly(app::Startup::stationPath(state.places.data()));
    }
    return rc;
}
