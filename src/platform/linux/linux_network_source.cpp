#include "platform/linux/linux_network_source.h"

#include "platform/linux/file_reader.h"
#include "platform/linux/network_parsers.h"

#include <algorithm>
#include <utility>

namespace pw::platform {

LinuxNetworkSource::LinuxNetworkSource(RootPath root)
    : m_root(std::move(root)), m_netDev(m_root.proc("net/dev")), m_route(m_root.proc("net/route")),
      m_fibTrie(m_root.proc("net/fib_trie")), m_netClassDir(m_root.sys("class/net/")) {}

std::optional<std::vector<InterfaceCounters>> LinuxNetworkSource::interfaces() {
    const auto text = m_netDev.read(m_buffer);
    if (!text) {
        return std::nullopt;
    }
    auto interfaces = parseNetDev(*text);
    if (!interfaces) {
        return std::nullopt;
    }
    // Whether a name is a physical NIC does not change while it exists.
    const bool sameNames =
        m_interfaceNames.size() == interfaces->size() &&
        std::equal(
            interfaces->begin(), interfaces->end(), m_interfaceNames.begin(),
            [](const InterfaceCounters& row, const std::string& name) { return row.name == name; });
    if (!sameNames) {
        m_interfaceNames.clear();
        m_deviceFlags.clear();
        for (const auto& row : *interfaces) {
            m_interfaceNames.push_back(row.name);
            m_deviceFlags.push_back(row.name.find('/') == std::string::npos &&
                                    pathExists(m_netClassDir + row.name + "/device"));
        }
    }
    for (std::size_t i = 0; i < interfaces->size(); ++i) {
        (*interfaces)[i].backedByDevice = m_deviceFlags[i];
    }
    return interfaces;
}

std::optional<DefaultRoute> LinuxNetworkSource::defaultRoute() {
    const auto routeText = m_route.read(m_buffer);
    if (!routeText) {
        return std::nullopt;
    }
    const std::vector<RouteRow> routes = parseRouteTable(*routeText);
    const auto interfaceName = defaultRouteInterface(routes);
    if (!interfaceName) {
        return std::nullopt;
    }
    DefaultRoute route;
    route.interfaceName = *interfaceName;
    const std::string classDir = m_netClassDir + *interfaceName + "/";
    route.wireless = pathExists(classDir + "wireless") || pathExists(classDir + "phy80211");
    if (const auto trie = m_fibTrie.read(m_buffer)) {
        if (const auto address =
                interfaceAddress(routes, parseFibTrieLocalAddresses(*trie), *interfaceName)) {
            route.ipv4Address = formatIPv4(*address);
        }
    }
    return route;
}

} // namespace pw::platform
