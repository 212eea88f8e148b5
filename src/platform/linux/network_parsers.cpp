#include "platform/linux/network_parsers.h"

#include "platform/linux/text_scan.h"

#include <algorithm>
#include <array>
#include <utility>

namespace pw::platform {

namespace {

// A /proc/net/route word: the address's bytes in memory order, printed as a
// little-endian 32-bit number.
std::optional<std::uint32_t> parseRouteWord(std::string_view hex) {
    if (hex.size() != 8) {
        return std::nullopt;
    }
    const auto word = wholeNumber<std::uint32_t>(hex, 16);
    if (!word) {
        return std::nullopt;
    }
    const std::uint32_t v = *word;
    return (v & 0xffu) << 24 | ((v >> 8) & 0xffu) << 16 | ((v >> 16) & 0xffu) << 8 | (v >> 24);
}

std::optional<std::uint32_t> parseDottedQuad(std::string_view text) {
    std::uint32_t address = 0;
    for (int part = 0; part < 4; ++part) {
        const std::size_t dot = text.find('.');
        if ((part < 3) != (dot != std::string_view::npos)) {
            return std::nullopt;
        }
        const auto octet = wholeNumber<std::uint32_t>(text.substr(0, dot));
        if (!octet || *octet > 255) {
            return std::nullopt;
        }
        address = address << 8 | *octet;
        text = part < 3 ? text.substr(dot + 1) : std::string_view();
    }
    return address;
}

} // namespace

std::optional<std::vector<InterfaceCounters>> parseNetDev(std::string_view text) {
    LineCursor lines(text);
    std::string_view line;
    for (int header = 0; header < 2; ++header) {
        if (!lines.next(line) || line.find('|') == std::string_view::npos) {
            return std::nullopt;
        }
    }
    std::vector<InterfaceCounters> interfaces;
    while (lines.next(line)) {
        // The counters never hold a ':', so the last one ends the name.
        const auto colon = line.rfind(':');
        if (colon == std::string_view::npos) {
            continue;
        }
        const auto name = trimmed(line.substr(0, colon));
        if (name.empty()) {
            continue;
        }
        WordCursor words(line.substr(colon + 1));
        std::array<std::uint64_t, 16> counters{};
        bool complete = true;
        for (auto& value : counters) {
            const auto parsed = nextUnsigned(words);
            if (!parsed) {
                complete = false;
                break;
            }
            value = *parsed;
        }
        if (!complete) {
            continue;
        }
        InterfaceCounters row;
        row.name = std::string(name);
        row.receivedBytes = counters[0];
        row.sentBytes = counters[8];
        interfaces.push_back(std::move(row));
    }
    return interfaces;
}

std::vector<RouteRow> parseRouteTable(std::string_view text) {
    std::vector<RouteRow> rows;
    bool header = true;
    forEachLine(text, [&](std::string_view line) {
        if (std::exchange(header, false)) {
            return; // Iface Destination Gateway Flags RefCnt Use Metric Mask MTU Window IRTT
        }
        const auto parts = words(line);
        if (parts.size() < 8) {
            return;
        }
        const auto destination = parseRouteWord(parts[1]);
        const auto gateway = parseRouteWord(parts[2]);
        const auto flags = wholeNumber<unsigned>(parts[3], 16);
        const auto metric = wholeNumber<unsigned>(parts[6]);
        const auto mask = parseRouteWord(parts[7]);
        if (!destination || !gateway || !flags || !metric || !mask) {
            return;
        }
        rows.push_back(
            RouteRow{std::string(parts[0]), *destination, *gateway, *flags, *metric, *mask});
    });
    return rows;
}

std::optional<std::string> defaultRouteInterface(const std::vector<RouteRow>& rows) {
    constexpr unsigned routeUp = 0x1;
    const RouteRow* best = nullptr;
    for (const RouteRow& row : rows) {
        if ((row.flags & routeUp) && row.destination == 0 && row.mask == 0 &&
            (best == nullptr || row.metric < best->metric)) {
            best = &row;
        }
    }
    if (best == nullptr) {
        return std::nullopt;
    }
    return best->interfaceName;
}

std::vector<std::uint32_t> parseFibTrieLocalAddresses(std::string_view text) {
    std::vector<std::uint32_t> addresses;
    // The "|-- a.b.c.d" line just read. A plain value and flag rather than an
    // optional: GCC 12 at -O2 misreads the optional's copy as uninitialised.
    std::uint32_t leaf = 0;
    bool haveLeaf = false;
    forEachLine(text, [&](std::string_view line) {
        const std::string_view content = trimmed(line);
        if (content.starts_with("|-- ")) {
            const auto address = parseDottedQuad(content.substr(4));
            haveLeaf = address.has_value();
            leaf = address.value_or(0);
            return;
        }
        if (haveLeaf && content.starts_with("/32 host LOCAL")) {
            if (std::find(addresses.begin(), addresses.end(), leaf) == addresses.end()) {
                addresses.push_back(leaf);
            }
            return;
        }
        if (!content.starts_with("/")) {
            haveLeaf = false; // a new node: the next leaf line names the address
        }
    });
    return addresses;
}

std::optional<std::uint32_t> interfaceAddress(const std::vector<RouteRow>& routes,
                                              const std::vector<std::uint32_t>& localAddresses,
                                              std::string_view interfaceName) {
    for (const std::uint32_t address : localAddresses) {
        if ((address >> 24) == 127) {
            continue;
        }
        for (const RouteRow& route : routes) {
            if (route.interfaceName == interfaceName && route.mask != 0 &&
                (address & route.mask) == (route.destination & route.mask)) {
                return address;
            }
        }
    }
    return std::nullopt;
}

std::string formatIPv4(std::uint32_t address) {
    return std::to_string(address >> 24) + '.' + std::to_string((address >> 16) & 0xff) + '.' +
           std::to_string((address >> 8) & 0xff) + '.' + std::to_string(address & 0xff);
}

} // namespace pw::platform
