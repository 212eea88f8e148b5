#include "platform/linux/tcp_parsers.h"

#include "platform/linux/text_scan.h"

#include <algorithm>
#include <utility>

#include <arpa/inet.h>

namespace pw::platform {

namespace {

// "0100007F:0016" or the 32-digit IPv6 form, into address text and port.
bool parseSocketAddress(std::string_view text, bool ipv6, std::string& address, int& port) {
    const std::size_t colon = text.find(':');
    if (colon == std::string_view::npos) {
        return false;
    }
    const std::string_view hex = text.substr(0, colon);
    const auto portValue = wholeNumber<std::uint32_t>(text.substr(colon + 1), 16);
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

std::vector<TcpConnection> parseTcpTable(std::string_view text, bool ipv6) {
    std::vector<TcpConnection> connections;
    bool header = true;
    forEachLine(text, [&](std::string_view line) {
        if (std::exchange(header, false)) {
            return; // sl local_address rem_address st ...
        }
        const auto parts = words(line);
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
