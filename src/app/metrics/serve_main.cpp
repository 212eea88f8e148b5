#include "app/metrics/serve_main.h"

#include "app/composition_root.h"
#include "app/metrics/metrics_endpoint.h"
#include "app/metrics/metrics_server.h"
#include "app/termination_signals.h"
#include "services/log_line.h"
#include "services/metrics/metrics_page.h"
#include "services/ping_service.h"
#include "services/preferences.h"
#include "services/system_stats_provider.h"

#include <QCoreApplication>

#include <cstdio>

namespace pw::app {

int runServe(int& argc, char** argv, const CommandLineOptions& options) {
    QCoreApplication app(argc, argv);
    QCoreApplication::setOrganizationName(QStringLiteral("Pulsewick"));
    QCoreApplication::setApplicationName(QStringLiteral("Pulsewick"));
    setLogTarget(LogTarget::StandardError);

    CompositionRoot root(options, Preferences::shared());
    SystemStatsProvider& stats = root.engine().stats;
    const std::unique_ptr<PingService> ping = root.makePingService();

    MetricsEndpoint endpoint([&stats, &ping](metrics::MetricsFormat format) {
        const LatencyFigures latency{ping->currentLatency(), {}};
        return metrics::renderMetrics(FigureInputs{stats.snapshot(), &latency}, format);
    });
    QObject::connect(&stats, &SystemStatsProvider::cycleFinished, &app,
                     [&endpoint] { endpoint.invalidate(); });
    QObject::connect(ping.get(), &PingService::probeFinished, &app,
                     [&endpoint] { endpoint.invalidate(); });

    MetricsServer server([&endpoint](const HttpRequest& r) { return endpoint.answer(r); });
    const ServeAddress& address = *options.serve;
    if (!server.listen(QHostAddress(address.host), address.port)) {
        std::fprintf(stderr, "pulsewick: cannot listen on %s:%u: %s\n",
                     address.host.toUtf8().constData(), unsigned(address.port),
                     server.errorString().toUtf8().constData());
        return 1;
    }
    const QString host = address.host.contains(QLatin1Char(':'))
                             ? QLatin1Char('[') + address.host + QLatin1Char(']')
                             : address.host;
    // The one line a server prints: where it listens (the port, when any free one was asked for).
    std::printf("Serving metrics on http://%s:%u/metrics\n", host.toUtf8().constData(),
                unsigned(server.port()));
    std::fflush(stdout);

    long long cycles = 0;
    QObject::connect(&stats, &SystemStatsProvider::cycleFinished, &app, [&] {
        if (options.samples && ++cycles >= *options.samples)
            QCoreApplication::quit();
    });
    TerminationSignals signals;
    QObject::connect(&signals, &TerminationSignals::terminationRequested, &app,
                     &QCoreApplication::quit);
    return app.exec();
}

} // namespace pw::app
