#pragma once

#include <QElapsedTimer>
#include <QObject>
#include <QString>
#include <QTimer>

#include <cstdint>
#include <functional>
#include <optional>

class QSocketNotifier;

namespace pw {

// ICMP echo over an unprivileged datagram socket (allowed when the user's
// group is inside net.ipv4.ping_group_range): no child process, no
// privileges. The kernel fills in the identifier and hands this socket only
// the replies to it; the sequence number tells this request's reply from a
// late one. Driven by the event loop; one request at a time.
class IcmpEcho : public QObject {
    Q_OBJECT

public:
    // Opens the socket: a non-blocking descriptor, or -errno.
    using Opener = std::function<int()>;
    // The round trip in ms, or empty on time-out or a send that failed.
    using Callback = std::function<void(std::optional<double>)>;

    static int openSystemSocket();

    explicit IcmpEcho(const Opener& open = openSystemSocket, QObject* parent = nullptr);
    ~IcmpEcho() override;

    // Whether the socket opened; otherwise `openError` is its errno.
    bool available() const { return m_fd >= 0; }
    int openError() const { return m_openError; }

    // Sends one echo request to the IPv4 address `host`; `done` runs once,
    // later. Returns false (and never calls `done`) when `host` is not an
    // IPv4 address, the socket is unavailable or a request is in flight.
    bool send(const QString& host, int timeoutMs, Callback done);

private:
    void readReplies();
    void finish(std::optional<double> roundTripMs);

    int m_fd = -1;
    int m_openError = 0;
    QSocketNotifier* m_notifier = nullptr;
    QTimer m_timeout;
    QElapsedTimer m_sent;
    std::uint16_t m_sequence = 0;
    Callback m_done;
};

} // namespace pw
