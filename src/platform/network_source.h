#pragma once

#include <cstdint>
#include <optional>
#include <string>
#include <vector>

namespace pw::platform {

struct InterfaceCounters {
    std::string name;
    std::uint64_t receivedBytes = 0;
    std::uint64_t sentBytes = 0;
    bool backedByDevice = false; // a real NIC rather than loopback, bridge, veth, tunnel
};

// The interface the default IPv4 route leaves through.
struct DefaultRoute {
    std::string interfaceName;
    bool wireless = false;
    std::optional<std::string> ipv4Address; // dotted decimal
};

class NetworkSource {
public:
    virtual ~NetworkSource() = default;
    virtual std::optional<std::vector<InterfaceCounters>> interfaces() = 0;
    // Absent without a default route.
    virtual std::optional<DefaultRoute> defaultRoute() = 0;
};

} // namespace pw::platform
