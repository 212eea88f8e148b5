#pragma once

// Pure parsers for the network files: /proc/net/dev, /proc/net/route and
// /proc/net/fib_trie.

#include "platform/network_source.h"

#include <cstdint>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace pw::platform {

// The rows of /proc/net/dev after its two header lines. `backedByDevice` is left
// false: it is not in this file. Malformed rows are skipped; a text without the
// header gives absent.
std::optional<std::vector<InterfaceCounters>> parseNetDev(std::string_view text);

// One row of /proc/net/route. Addresses are numeric IPv4 values (a.b.c.d as
// a<<24 | b<<16 | c<<8 | d), decoded from the file's little-endian hex words.
struct RouteRow {
    std::string interfaceName;
    std::uint32_t destination = 0;
    std::uint32_t gateway = 0;
    unsigned flags = 0;
    unsigned metric = 0;
    std::uint32_t mask = 0;
};
std::vector<RouteRow> parseRouteTable(std::string_view text);

// The interface of the up default route with the lowest metric.
std::optional<std::string> defaultRouteInterface(const std::vector<RouteRow>& rows);

// The local host addresses ("/32 host LOCAL") of /proc/net/fib_trie, in order and
// without repeats.
std::vector<std::uint32_t> parseFibTrieLocalAddresses(std::string_view text);

// The first non-loopback local address inside one of `interfaceName`'s own subnet
// routes.
std::optional<std::uint32_t> interfaceAddress(const std::vector<RouteRow>& routes,
                                              const std::vector<std::uint32_t>& localAddresses,
                                              std::string_view interfaceName);

std::string formatIPv4(std::uint32_t address);

} // namespace pw::platform
