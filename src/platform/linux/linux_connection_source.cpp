#include "platform/linux/linux_connection_source.h"

#include "platform/linux/file_reader.h"
#include "platform/linux/tcp_parsers.h"

namespace pw::platform {

namespace {

constexpr std::size_t tableReadLimit = 64 * 1024;

} // namespace

LinuxConnectionSource::LinuxConnectionSource(RootPath root)
    : m_tcpPath(root.proc("net/tcp")), m_tcp6Path(root.proc("net/tcp6")) {}

std::optional<std::vector<TcpConnection>> LinuxConnectionSource::established(std::size_t limit) {
    std::vector<TcpConnection> remote;
    std::vector<TcpConnection> loopback;
    bool readAny = false;
    for (const bool ipv6 : {false, true}) {
        if (remote.size() >= limit) {
            break;
        }
        bool truncated = false;
        auto text =
            readFilePrefix(ipv6 ? m_tcp6Path : m_tcpPath, m_buffer, tableReadLimit, truncated);
        if (!text) {
            continue;
        }
        readAny = true;
        if (truncated) {
            text = text->substr(0, text->rfind('\n') + 1); // drop the row cut in half
        }
        for (TcpConnection& connection : parseTcpTable(*text, ipv6)) {
            // Local services talking to each other say little about the machine's
            // network: outside peers come first.
            auto& into = isLoopbackAddress(connection.remoteAddress) ? loopback : remote;
            if (into.size() < limit) {
                into.push_back(std::move(connection));
            }
        }
    }
    if (!readAny) {
        return std::nullopt;
    }
    for (TcpConnection& connection : loopback) {
        if (remote.size() >= limit) {
            break;
        }
        remote.push_back(std::move(connection));
    }
    return remote;
}

} // namespace pw::platform
