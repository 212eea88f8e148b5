#include "services/ping_service.h"

#include "services/log_line.h"

namespace pw {

PingService::PingService(QString host, QObject* parent)
    : PingService(std::move(host), Polling::Start, parent) {}

PingService::PingService(QString host, Polling polling, QObject* parent)
    : PingService(std::move(host), polling, IcmpEcho::openSystemSocket, parent) {}

PingService::PingService(QString host, Polling polling, const IcmpEcho::Opener& openSocket,
                         QObject* parent)
    : QObject(parent), m_host(std::move(host)), m_latencyHistory(kHistoryLength, 0.0),
      m_latencyKnown(kHistoryLength, false), m_echo(openSocket) {
    m_timer.setInterval(kIntervalMs);
    connect(&m_timer, &QTimer::timeout, this, [this] { ping(); });
    if (polling == Polling::Start) {
        startPolling();
    }
}

void PingService::startPolling() {
    m_timer.start();
}

bool PingService::ping() {
    if (m_inFlight) {
        return false;
    }
    m_inFlight = true;
    if (!m_echo.send(m_host, kEchoTimeoutMs,
                     [this](std::optional<double> roundTrip) { finishProbe(roundTrip); }))
        runPing();
    return true;
}

void PingService::runPing() {
    // -w is the whole run's deadline; -t would be the time-to-live on Linux.
    m_runner.run(QStringLiteral("ping"),
                 {QStringLiteral("-n"), QStringLiteral("-c"), QStringLiteral("1"),
                  QStringLiteral("-w"), QStringLiteral("1"), QStringLiteral("--"), m_host},
                 m_timeoutMs, [this](const CommandResult& result) { applyResult(result); });
}

void PingService::applyResult(const CommandResult& result) {
    std::optional<double> latency;
    if (result.outcome == CommandResult::Outcome::FailedToStart) {
        // Once per stretch of failures, not every two seconds.
        if (!m_launchFailureReported) {
            logLine(QStringLiteral("Ping failed: ") + result.error);
            m_launchFailureReported = true;
        }
    } else if (result.finished()) {
        latency = parseLatency(result.output);
        if (latency) {
            m_launchFailureReported = false;
        }
    }
    finishProbe(latency);
}

void PingService::finishProbe(std::optional<double> latency) {
    m_inFlight = false;
    store(latency);
    Q_EMIT probeFinished();
}

void PingService::store(std::optional<double> latency) {
    // A failed probe is stored as 0 in the history, as before; the flags say
    // which entries were measured, so no output shows it as a round trip.
    if (latency != m_currentLatency) {
        m_currentLatency = latency;
        Q_EMIT currentLatencyChanged();
    }
    m_latencyHistory.removeFirst();
    m_latencyKnown.removeFirst();
    Q_EMIT latencyHistoryChanged();
    m_latencyHistory.append(latency.value_or(0.0));
    m_latencyKnown.append(latency.has_value());
    Q_EMIT latencyHistoryChanged();
}

QList<std::optional<double>> PingService::knownLatencyHistory() const {
    QList<std::optional<double>> history;
    history.reserve(m_latencyHistory.size());
    for (qsizetype i = 0; i < m_latencyHistory.size(); ++i)
        history.append(m_latencyKnown[i] ? std::optional(m_latencyHistory[i]) : std::nullopt);
    return history;
}

} // namespace pw
