#include "app/headless_main.h"

#include "app/composition_root.h"
#include "app/headless_reporter.h"
#include "app/headless_sections.h"
#include "app/termination_signals.h"
#include "services/log_line.h"
#include "services/preferences.h"
#include "services/system_stats_provider.h"

#include <QCoreApplication>

namespace pw::app {

int runHeadless(int& argc, char** argv, const CommandLineOptions& options) {
    QCoreApplication app(argc, argv);
    // First, so a request that comes during start-up is not lost.
    TerminationSignals signals;
    QCoreApplication::setOrganizationName(QStringLiteral("Pulsewick"));
    QCoreApplication::setApplicationName(QStringLiteral("Pulsewick"));
    // Log lines must not break the one-object-per-line JSON stream.
    setLogTarget(options.json ? LogTarget::StandardError : LogTarget::StandardOutput);

    CompositionRoot root(options, Preferences::shared());
    SystemStatsProvider& stats = root.engine().stats;

    HeadlessReporter reporter(stats, {options.json, options.samples, options.exportCsv});
    addProbeSections(reporter, root);

    int exitCode = 0;
    QObject::connect(&reporter, &HeadlessReporter::finished, &app, [&](int code) {
        exitCode = code;
        QCoreApplication::quit();
    });
    // Ctrl-C or SIGTERM end the run as its last sample would.
    QObject::connect(&signals, &TerminationSignals::terminationRequested, &reporter,
                     &HeadlessReporter::finish);
    app.exec();
    return exitCode;
}

} // namespace pw::app
