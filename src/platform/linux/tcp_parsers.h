#pragma once

// Pure parsers for the TCP socket tables /proc/net/tcp and /proc/net/tcp6.

#include "platform/connection_source.h"

#include <string_view>
#include <vector>

namespace pw::platform {

// The ESTABLISHED rows of /proc/net/tcp (ipv6 false) or /proc/net/tcp6, in table
// order. An IPv4-mapped IPv6 address is written as IPv4. A row cut off at the end
// (a bounded read) is skipped.
std::vector<TcpConnection> parseTcpTable(std::string_view text, bool ipv6);

bool isLoopbackAddress(std::string_view address);

} // namespace pw::platform
