#pragma once

#include "services/command_runner.h"
#include "services/ping_output.h"
#include "services/icmp_echo.h"
#include "services/polling.h"

#include <QByteArray>
#include <QList>
#include <QObject>
#include <QString>
#include <QTimer>

#include <optional>

namespace pw {

// Network latency to one host, probed every 2 seconds, with the last 60 results.
// An IPv4 host is probed over an unprivileged ICMP socket; where the system
// refuses that socket (or the host is a name), `ping` is run instead.
class PingService : public QObject {
    Q_OBJECT
    Q_PROPERTY(
        std::optional<double> currentLatency READ currentLatency NOTIFY currentLatencyChanged)
    Q_PROPERTY(QList<double> latencyHistory READ latencyHistory NOTIFY latencyHistoryChanged)

public:
    // A public resolver that answers ICMP echo; `--latency-host` replaces it.
    static constexpr auto kDefaultHost = "9.9.9.9";
    static constexpr int kHistoryLength = 60;
    static constexpr int kIntervalMs = 2000;
    // `ping -w 1` gives up after a second; this ends one that does not.
    static constexpr int kDefaultTimeoutMs = 1800;
    // How long a request over the socket waits for its reply.
    static constexpr int kEchoTimeoutMs = 1000;

    explicit PingService(QString host, QObject* parent = nullptr);
    PingService(QString host, Polling polling, QObject* parent = nullptr);
    // `openSocket` stands in for the system's ICMP socket.
    PingService(QString host, Polling polling, const IcmpEcho::Opener& openSocket,
                QObject* parent = nullptr);

    // The last probe's round trip in ms; empty before the first and after a failed one.
    std::optional<double> currentLatency() const { return m_currentLatency; }
    // The last 60 results, oldest first, 0 where a probe failed.
    const QList<double>& latencyHistory() const { return m_latencyHistory; }
    // The same, empty where a probe failed or none ran yet.
    QList<std::optional<double>> knownLatencyHistory() const;
    const QString& host() const { return m_host; }

    void startPolling();
    // Starts one probe unless one is still in flight; returns whether it did.
    bool ping();
    bool probeInFlight() const { return m_inFlight; }
    // Whether probes go over the ICMP socket rather than through `ping`.
    bool usesEchoSocket() const { return m_echo.available(); }
    void setTimeoutMs(int timeoutMs) { m_timeoutMs = timeoutMs; }

Q_SIGNALS:
    void currentLatencyChanged();
    // Emitted twice per probe: once for the removal of the oldest value, once
    // for the append.
    void latencyHistoryChanged();
    // After each probe's result is stored.
    void probeFinished();

private:
    void runPing();
    void applyResult(const CommandResult& result);
    void finishProbe(std::optional<double> latency);
    void store(std::optional<double> latency);

    QString m_host;
    std::optional<double> m_currentLatency;
    QList<double> m_latencyHistory;
    QList<bool> m_latencyKnown;
    QTimer m_timer;
    IcmpEcho m_echo;
    CommandRunner m_runner;
    int m_timeoutMs = kDefaultTimeoutMs;
    bool m_inFlight = false;
    bool m_launchFailureReported = false;
};

} // namespace pw
