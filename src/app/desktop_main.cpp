#include "app/desktop_main.h"

#include "app/app_delegate.h"
#include "app/composition_root.h"
#include "app/single_instance.h"
#include "app/termination_signals.h"
#include "platform/linux/dbus_desktop_notifier.h"
#include "services/ping_service.h"
#include "services/preferences.h"
#include "services/process_monitor.h"
#include "services/system_stats_provider.h"
#include "services/theme_manager.h"

#include <QApplication>
#include <QDBusConnection>
#include <QIcon>

namespace pw::app {

int runDesktop(int& argc, char** argv, const CommandLineOptions& options) {
    QApplication::setOrganizationName(QStringLiteral("Pulsewick"));
    QApplication::setApplicationName(QStringLiteral("Pulsewick"));
    // Ties our windows to the installed desktop entry (its name and icon).
    QGuiApplication::setDesktopFileName(QStringLiteral("io.github.pulsewick.Pulsewick"));
    QApplication app(argc, argv);
    QIcon::setFallbackThemeName(QStringLiteral("Adwaita"));
    // The popup and dashboard come and go; only Quit ends the program.
    QApplication::setQuitOnLastWindowClosed(false);

    const InstanceRequest request{options.dashboard, options.dashboardPage};
    SingleInstance instance(QDBusConnection::sessionBus());
    if (instance.claim(request) == SingleInstance::Role::HandedOff)
        return 0;

    CompositionRoot root(options, Preferences::shared());
    // On the desktop only what is on screen (or an alert) is read.
    root.engine().stats.demand().readOnlyWhatIsWatched();
    AppDelegate delegate;
    delegate.applicationDidFinishLaunching({
        [&root] { return root.models(); },
        [&root] { return root.makeProcessMonitor(); },
        [&root] { return root.makePingService(); },
        []() -> ThemeManager& { return ThemeManager::shared(); },
        []() -> Preferences& { return Preferences::shared(); },
        std::nullopt,
    });
    QObject::connect(&instance, &SingleInstance::requestReceived, &delegate,
                     &AppDelegate::handleInstanceRequest);
    if (options.dashboard)
        delegate.showSettings(options.dashboardPage);

    // SIGTERM and SIGINT end the program as Quit does.
    TerminationSignals signals;
    QObject::connect(&signals, &TerminationSignals::terminationRequested, &app,
                     &QApplication::quit);
    return app.exec();
}

} // namespace pw::app
