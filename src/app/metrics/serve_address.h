#pragma once

#include <QString>

#include <optional>

namespace pw::app {

// Outside the 9100–9999 range the Prometheus project hands out to exporters
// (full since 2023) and clear of the ports well-known services take.
inline constexpr quint16 kDefaultMetricsPort = 19189;

// Where the metrics server listens: loopback unless the user names another address.
struct ServeAddress {
    QString host = QStringLiteral("127.0.0.1");
    quint16 port = kDefaultMetricsPort;
    bool operator==(const ServeAddress&) const = default;
};

// "ADDRESS:PORT" with an IPv4 address, a bracketed IPv6 address ("[::1]:9999")
// or "localhost"; port 0 takes any free port. Absent when malformed.
std::optional<ServeAddress> parseServeAddress(const QString& text);

} // namespace pw::app
