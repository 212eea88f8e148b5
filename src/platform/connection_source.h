#pragma once

#include <cstddef>
#include <optional>
#include <string>
#include <vector>

namespace pw::platform {

// An established TCP connection; addresses in their usual text form.
struct TcpConnection {
    std::string localAddress;
    int localPort = 0;
    std::string remoteAddress;
    int remotePort = 0;
};

// Safe to call from a thread of its own: it shares nothing with other sources.
class ConnectionSource {
public:
    virtual ~ConnectionSource() = default;
    // The first `limit` established connections over IPv4 and IPv6, outside
    // peers before loopback; absent when neither table can be read.
    virtual std::optional<std::vector<TcpConnection>> established(std::size_t limit) = 0;
};

} // namespace pw::platform
