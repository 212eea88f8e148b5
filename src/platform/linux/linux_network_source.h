#pragma once

#include "platform/linux/kernel_file.h"
#include "platform/network_source.h"
#include "platform/root_path.h"

#include <string>
#include <vector>

namespace pw::platform {

// Interface counters from /proc/net/dev, the default route from /proc/net/route
// and its address from /proc/net/fib_trie. Whether an interface is a real NIC
// is looked up again only when the set of interfaces changes.
class LinuxNetworkSource : public NetworkSource {
public:
    explicit LinuxNetworkSource(RootPath root);

    std::optional<std::vector<InterfaceCounters>> interfaces() override;
    std::optional<DefaultRoute> defaultRoute() override;

private:
    RootPath m_root;
    KernelFile m_netDev;
    KernelFile m_route;
    KernelFile m_fibTrie;
    std::string m_netClassDir; // sys/class/net/
    std::string m_buffer;
    std::vector<std::string> m_interfaceNames; // the names `m_deviceFlags` belongs to
    std::vector<bool> m_deviceFlags;
};

} // namespace pw::platform
