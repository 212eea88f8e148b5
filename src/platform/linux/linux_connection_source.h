#pragma once

#include "platform/connection_source.h"
#include "platform/root_path.h"

#include <string>

namespace pw::platform {

// Established connections from /proc/net/tcp and /proc/net/tcp6, reading at most
// the first 64 KiB of each: enough for the first few hundred rows, where a
// server's tables run to megabytes.
class LinuxConnectionSource : public ConnectionSource {
public:
    explicit LinuxConnectionSource(RootPath root);

    std::optional<std::vector<TcpConnection>> established(std::size_t limit) override;

private:
    std::string m_tcpPath;
    std::string m_tcp6Path;
    std::string m_buffer;
};

} // namespace pw::platform
