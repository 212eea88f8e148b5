#include "platform/linux/device_parsers.h"

#include "platform/linux/proc_parsers.h"

#include <algorithm>
#include <charconv>
#include <cmath>
#include <utility>

#include <arpa/inet.h>

namespace pw::platform {

namespace {

// Calls `visit(line)` for each line, without the line break.
template <typename Visit> void forEachLine(std::string_view text, Visit&& visit) {
    while (!text.empty()) {
        const std::size_t end = text.find('\n');
        visit(text.substr(0, end));
        if (end == std::string_view::npos) {
            break;
        }
        text.remove_prefix(end + 1);
    }
}

bool isBlank(char c) {
    return c == ' ' || c == '\t' || c == '\r';
}

// The whitespace-separated fields of one line.
std::vector<std::string_view> fields(std::string_view line) {
    std::vector<std::string_view> out;
    std::size_t i = 0;
    while (i < line.size()) {
        while (i < line.size() && isBlank(line[i])) {
            ++i;
        }
        const std::size_t start = i;
        while (i < line.size() && !isBlank(line[i])) {
            ++i;
        }
        if (i > start) {
            out.push_back(line.substr(start, i - start));
        }
    }
    return out;
}

std::optional<std::uint64_t> parseUnsigned(std::string_view text, int base = 10) {
    std::uint64_t value = 0;
    const char* end = text.data() + text.size();
    const auto [ptr, error] = std::from_chars(text.data(), end, value, base);
    if (text.empty() || error != std::errc() || ptr != end) {
        return std::nullopt;
    }
    return value;
}

std::optional<double> parseDouble(std::string_view text) {
    double value = 0.0;
    const char* end = text.data() + text.size();
    const auto [ptr, error] = std::from_chars(text.data(), end, value);
    if (text.empty() || error != std::errc() || ptr != end || !std::isfinite(value)) {
        return std::nullopt;
    }
    return value;
}

// A /proc/net/route word: the address's bytes in memory order, printed as a
// little-endian 32-bit number.
std::optional<std::uint32_t> parseRouteWord(std::string_view hex) {
    if (hex.size() != 8) {
        return std::nullopt;
    }
    const auto word = parseUnsigned(hex, 16);
    if (!word) {
        return std::nullopt;
    }
    const auto v = static_cast<std::uint32_t>(*word);
    return (v & 0xffu) << 24 | ((v >> 8) & 0xffu) << 16 | ((v >> 16) & 0xffu) << 8 | (v >> 24);
}

std::optional<std::uint32_t> parseDottedQuad(std::string_view text) {
    std::uint32_t address = 0;
    for (int part = 0; part < 4; ++part) {
        const std::size_t dot = text.find('.');
        if ((part < 3) != (dot != std::string_view::npos)) {
            return std::nullopt;
        }
        const auto octet = parseUnsigned(text.substr(0, dot));
        if (!octet || *octet > 255) {
            return std::nullopt;
        }
        address = address << 8 | static_cast<std::uint32_t>(*octet);
        text = part < 3 ? text.substr(dot + 1) : std::string_view();
    }
    return address;
}

int hexDigit(char c) {
    if (c >= '0' && c <= '9') {
        return c - '0';
    }
    if (c >= 'a' && c <= 'f') {
        return c - 'a' + 10;
    }
    if (c >= 'A' && c <= 'F') {
        return c - 'A' + 10;
    }
    return -1;
}

// "0100007F:0016" or the 32-digit IPv6 form, into address text and port.
bool parseSocketAddress(std::string_view text, bool ipv6, std::string& address, int& port) {
    const std::size_t colon = text.find(':');
    if (colon == std::string_view::npos) {
        return false;
    }
    const std::string_view hex = text.substr(0, colon);
    const auto portValue = parseUnsigned(text.substr(colon + 1), 16);
    if (!portValue || *portValue > 65535 || hex.size() != (ipv6 ? 32u : 8u)) {
        return false;
    }
    // Each 32-bit word holds four address bytes in memory order, printed as a
    // little-endian number: its last byte pair comes first.
    unsigned char bytes[16] = {};
    for (std::size_t word = 0; word < hex.size() / 8; ++word) {
        for (std::size_t b = 0; b < 4; ++b) {
            const std::size_t at = word * 8 + (3 - b) * 2;
            const int high = hexDigit(hex[at]);
            const int low = hexDigit(hex[at + 1]);
            if (high < 0 || low < 0) {
                return false;
            }
            bytes[word * 4 + b] = static_cast<unsigned char>(high << 4 | low);
        }
    }
    char out[INET6_ADDRSTRLEN] = {};
    static constexpr unsigned char mappedPrefix[12] = {0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0xff, 0xff};
    if (!ipv6) {
        ::inet_ntop(AF_INET, bytes, out, sizeof out);
    } else if (std::equal(mappedPrefix, mappedPrefix + 12, bytes)) {
        ::inet_ntop(AF_INET, bytes + 12, out, sizeof out);
    } else {
        ::inet_ntop(AF_INET6, bytes, out, sizeof out);
    }
    address = out;
    port = static_cast<int>(*portValue);
    return true;
}

} // namespace

std::optional<std::uint64_t> parseStatmResidentPages(std::string_view text) {
    const auto parts = fields(trimmed(text));
    if (parts.size() < 2) {
        return std::nullopt;
    }
    return parseUnsigned(parts[1]);
}

ProcessIoBytes parseProcessIo(std::string_view text) {
    ProcessIoBytes io;
    forEachLine(text, [&](std::string_view line) {
        const auto parts = fields(line);
        if (parts.size() != 2) {
            return;
        }
        if (parts[0] == "read_bytes:") {
            io.readBytes = parseUnsigned(parts[1]);
        } else if (parts[0] == "write_bytes:") {
            io.writeBytes = parseUnsigned(parts[1]);
        }
    });
    return io;
}

std::optional<double> parseCpuinfoMHz(std::string_view text) {
    double sum = 0.0;
    int count = 0;
    forEachLine(text, [&](std::string_view line) {
        if (!line.starts_with("cpu MHz")) {
            return;
        }
        const std::size_t colon = line.find(':');
        if (colon == std::string_view::npos) {
            return;
        }
        if (const auto mhz = parseDouble(trimmed(line.substr(colon + 1))); mhz && *mhz > 0.0) {
            sum += *mhz;
            ++count;
        }
    });
    if (count == 0) {
        return std::nullopt;
    }
    return sum / count;
}

std::optional<double> parseKHzAsMHz(std::string_view text) {
    const auto khz = parseUnsigned(trimmed(text));
    if (!khz || *khz == 0) {
        return std::nullopt;
    }
    return static_cast<double>(*khz) / 1000.0;
}

std::optional<BlockDeviceCounters> parseDiskstats(std::string_view text,
                                                  std::string_view deviceName) {
    std::optional<BlockDeviceCounters> found;
    forEachLine(text, [&](std::string_view line) {
        if (found || line.find(deviceName) == std::string_view::npos) {
            return;
        }
        const auto parts = fields(line);
        // major minor name reads merged sectors ms writes merged sectors ...
        if (parts.size() < 10 || parts[2] != deviceName) {
            return;
        }
        const auto read = parseUnsigned(parts[5]);
        const auto written = parseUnsigned(parts[9]);
        if (read && written) {
            found = BlockDeviceCounters{std::string(deviceName), *read, *written};
        }
    });
    return found;
}

std::string decodeEscapes(std::string_view text) {
    std::string out;
    out.reserve(text.size());
    for (std::size_t i = 0; i < text.size(); ++i) {
        if (text[i] == '\\' && i + 3 < text.size() && text[i + 1] == 'x' &&
            hexDigit(text[i + 2]) >= 0 && hexDigit(text[i + 3]) >= 0) {
            out.push_back(static_cast<char>(hexDigit(text[i + 2]) << 4 | hexDigit(text[i + 3])));
            i += 3;
        } else if (text[i] == '\\' && i + 3 < text.size() && text[i + 1] >= '0' &&
                   text[i + 1] <= '3' && text[i + 2] >= '0' && text[i + 2] <= '7' &&
                   text[i + 3] >= '0' && text[i + 3] <= '7') {
            out.push_back(static_cast<char>((text[i + 1] - '0') << 6 | (text[i + 2] - '0') << 3 |
                                            (text[i + 3] - '0')));
            i += 3;
        } else {
            out.push_back(text[i]);
        }
    }
    return out;
}

std::optional<MountEntry> parseRootMount(std::string_view mountinfo) {
    std::optional<MountEntry> root;
    forEachLine(mountinfo, [&](std::string_view line) {
        // id parent major:minor root mountpoint options [optional...] - fstype source super
        const auto parts = fields(line);
        if (parts.size() < 7 || parts[4] != "/") {
            return;
        }
        const auto separator = std::find(parts.begin() + 6, parts.end(), std::string_view("-"));
        if (separator == parts.end() || parts.end() - separator < 3) {
            return;
        }
        const std::string_view device = parts[2];
        const std::size_t colon = device.find(':');
        const auto major = parseUnsigned(device.substr(0, colon));
        const auto minor = colon == std::string_view::npos
                               ? std::nullopt
                               : parseUnsigned(device.substr(colon + 1));
        if (!major || !minor) {
            return;
        }
        root = MountEntry{static_cast<int>(*major), static_cast<int>(*minor),
                          decodeEscapes(separator[2]), std::string(separator[1])};
    });
    return root;
}

std::vector<RouteRow> parseRouteTable(std::string_view text) {
    std::vector<RouteRow> rows;
    bool header = true;
    forEachLine(text, [&](std::string_view line) {
        if (std::exchange(header, false)) {
            return; // Iface Destination Gateway Flags RefCnt Use Metric Mask MTU Window IRTT
        }
        const auto parts = fields(line);
        if (parts.size() < 8) {
            return;
        }
        const auto destination = parseRouteWord(parts[1]);
        const auto gateway = parseRouteWord(parts[2]);
        const auto flags = parseUnsigned(parts[3], 16);
        const auto metric = parseUnsigned(parts[6]);
        const auto mask = parseRouteWord(parts[7]);
        if (!destination || !gateway || !flags || !metric || !mask) {
            return;
        }
        rows.push_back(RouteRow{std::string(parts[0]), *destination, *gateway,
                                static_cast<unsigned>(*flags), static_cast<unsigned>(*metric),
                                *mask});
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

std::vector<TcpConnection> parseTcpTable(std::string_view text, bool ipv6) {
    std::vector<TcpConnection> connections;
    bool header = true;
    forEachLine(text, [&](std::string_view line) {
        if (std::exchange(header, false)) {
            return; // sl local_address rem_address st ...
        }
        const auto parts = fields(line);
        // A complete row runs past the inode column; a shorter one was cut off.
        if (parts.size() < 10 || parts[3] != "01") {
            return;
        }
        TcpConnection connection;
        if (parseSocketAddress(parts[1], ipv6, connection.localAddress, connection.localPort) &&
            parseSocketAddress(parts[2], ipv6, connection.remoteAddress, connection.remotePort)) {
            connections.push_back(std::move(connection));
        }
    });
    return connections;
}

bool isLoopbackAddress(std::string_view address) {
    return address == "::1" || address.starts_with("127.");
}

} // namespace pw::platform
