#include "services/network/network_sampler.h"

#include "services/engine/units.h"

namespace pw {

QString remoteEndpointText(const platform::TcpConnection& connection) {
    const QString address = QString::fromStdString(connection.remoteAddress);
    // A colon can only be IPv6; the brackets keep the port apart from it.
    if (address.contains(u':'))
        return QStringLiteral("[%1]:%2").arg(address).arg(connection.remotePort);
    return QStringLiteral("%1:%2").arg(address).arg(connection.remotePort);
}

NetworkSampler::NetworkSampler(std::shared_ptr<platform::NetworkSource> source,
                               std::shared_ptr<platform::ConnectionSource> connections,
                               std::shared_ptr<platform::Clock> clock)
    : m_source(std::move(source)), m_clock(std::move(clock)),
      m_reader(std::move(connections), [this](const ConnectionReader::Connections& read) {
          // An unreadable table keeps the last list, as the other readings do.
          if (!read)
              return;
          QStringList remotes;
          for (const platform::TcpConnection& c : *read) {
              if (remotes.size() == static_cast<qsizetype>(kConnectionCount))
                  break;
              remotes.append(remoteEndpointText(c));
          }
          m_connections = std::move(remotes);
      }) {}

void NetworkSampler::sampleThroughput(NetworkFigures& figures) {
    figures.activeConnections = m_connections;
    const auto interfaces = m_source->interfaces();
    if (!interfaces)
        return;
    // Only real devices: loopback, bridges and veth pairs carry the same bytes
    // again and would count local traffic two or three times.
    Totals totals;
    totals.seconds = m_clock->monotonicSeconds();
    for (const platform::InterfaceCounters& i : *interfaces) {
        if (!i.backedByDevice)
            continue;
        totals.down += i.receivedBytes;
        totals.up += i.sentBytes;
    }
    figures.receivedBytesTotal = totals.down;
    figures.transmittedBytesTotal = totals.up;
    if (m_last) {
        const double elapsed = totals.seconds - m_last->seconds;
        const bool fell = totals.down < m_last->down || totals.up < m_last->up;
        // A clock that stood still gives no rate; the reference stays so the
        // next reading covers the whole interval.
        if (!(elapsed > 0.0) && !fell) {
            figures.downloadHistoryKB = m_downloadHistory.values();
            return;
        }
        // A total that fell (an interface vanished or was reset) says nothing
        // about this interval's traffic: report 0 and start again from it.
        const auto rate = [elapsed](std::uint64_t now, std::uint64_t before) {
            return now >= before && elapsed > 0.0
                       ? static_cast<double>(now - before) / kBytesPerKiB / elapsed
                       : 0.0;
        };
        figures.downloadKB = rate(totals.down, m_last->down);
        figures.uploadKB = rate(totals.up, m_last->up);
        m_downloadHistory.push(figures.downloadKB);
    }
    figures.downloadHistoryKB = m_downloadHistory.values();
    m_last = totals;
}

void NetworkSampler::sampleRoute(NetworkFigures& figures) {
    const std::optional<platform::DefaultRoute> route = m_source->defaultRoute();
    // Without a default route the machine is not connected: nothing to keep.
    figures.interfaceName = route ? QString::fromStdString(route->interfaceName) : QString();
    figures.wireless = route && route->wireless;
    figures.ipv4Address.reset();
    if (route && route->ipv4Address)
        figures.ipv4Address = QString::fromStdString(*route->ipv4Address);
}

} // namespace pw
