#include "services/network/network_details_monitor.h"

#include "services/engine/assign_notify.h"

namespace pw {

void NetworkDetailsMonitor::apply(const Snapshot& s) {
    using M = NetworkDetailsMonitor;
    const NetworkFigures& n = s.network;
    assignNotify(this, m_networkHistory, n.downloadHistoryKB, &M::networkHistoryChanged);
    assignNotify(this, m_networkInterfaceName, n.interfaceName, &M::networkInterfaceNameChanged);
    assignNotify(this, m_networkIsWireless, n.wireless, &M::networkIsWirelessChanged);
    assignNotify(this, m_localIPv4Address, n.ipv4Address, &M::localIPv4AddressChanged);
    assignNotify(this, m_activeConnections, n.activeConnections, &M::activeConnectionsChanged);
}

} // namespace pw
