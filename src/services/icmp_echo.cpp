#include "services/icmp_echo.h"

#include <QSocketNotifier>

#include <arpa/inet.h>
#include <cerrno>
#include <cstring>
#include <netinet/in.h>
#include <netinet/ip_icmp.h>
#include <sys/socket.h>
#include <unistd.h>

namespace pw {
namespace {
constexpr std::size_t kPayloadBytes = 16;
} // namespace

int IcmpEcho::openSystemSocket() {
    const int fd = ::socket(AF_INET, SOCK_DGRAM | SOCK_NONBLOCK | SOCK_CLOEXEC, IPPROTO_ICMP);
    return fd >= 0 ? fd : -errno;
}

IcmpEcho::IcmpEcho(const Opener& open, QObject* parent) : QObject(parent) {
    const int fd = open ? open() : -EACCES;
    if (fd < 0) {
        m_openError = -fd;
        return;
    }
    m_fd = fd;
    m_notifier = new QSocketNotifier(m_fd, QSocketNotifier::Read, this);
    connect(m_notifier, &QSocketNotifier::activated, this, &IcmpEcho::readReplies);
    m_timeout.setSingleShot(true);
    connect(&m_timeout, &QTimer::timeout, this, [this] { finish(std::nullopt); });
}

IcmpEcho::~IcmpEcho() {
    delete m_notifier;
    if (m_fd >= 0)
        ::close(m_fd);
}

bool IcmpEcho::send(const QString& host, int timeoutMs, Callback done) {
    sockaddr_in to{};
    to.sin_family = AF_INET;
    if (m_fd < 0 || m_done || ::inet_pton(AF_INET, host.toLatin1().constData(), &to.sin_addr) != 1)
        return false;
    m_done = std::move(done);
    ++m_sequence;
    unsigned char packet[sizeof(icmphdr) + kPayloadBytes] = {};
    icmphdr header{};
    header.type = ICMP_ECHO;
    header.un.echo.sequence = htons(m_sequence);
    std::memcpy(packet, &header, sizeof header); // id and checksum: the kernel's
    m_sent.start();
    m_timeout.start(timeoutMs);
    if (::sendto(m_fd, packet, sizeof packet, 0, reinterpret_cast<const sockaddr*>(&to),
                 sizeof to) < 0) {
        // Unreachable and the like: a failed probe, as a silent ping would be.
        QTimer::singleShot(0, this, [this] { finish(std::nullopt); });
    }
    return true;
}

// One datagram per call: the notifier fires again while more are queued, and
// a loop that reads until EAGAIN spends a system call on every probe to learn
// that the queue is empty.
void IcmpEcho::readReplies() {
    unsigned char buffer[512];
    const ssize_t n = ::recv(m_fd, buffer, sizeof buffer, 0);
    if (n < 0 || static_cast<std::size_t>(n) < sizeof(icmphdr))
        return; // nothing queued after all, a runt, or an error the recv consumed
    icmphdr reply{};
    std::memcpy(&reply, buffer, sizeof reply);
    if (reply.type == ICMP_ECHOREPLY && m_done && ntohs(reply.un.echo.sequence) == m_sequence)
        finish(static_cast<double>(m_sent.nsecsElapsed()) / 1e6);
}

void IcmpEcho::finish(std::optional<double> roundTripMs) {
    if (!m_done)
        return;
    m_timeout.stop();
    Callback done = std::exchange(m_done, nullptr);
    done(roundTripMs);
}

} // namespace pw
