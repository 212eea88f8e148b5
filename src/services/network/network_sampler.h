#pragma once

#include "platform/clock.h"
#include "platform/connection_source.h"
#include "platform/network_source.h"
#include "services/engine/fixed_history.h"
#include "services/engine/snapshot.h"
#include "services/network/connection_reader.h"

#include <cstdint>
#include <memory>
#include <optional>

namespace pw {

// Throughput of the machine's real interfaces in KB per second (the cycle's
// length), the default route, and a few established connections (read on a
// thread of their own).
class NetworkSampler {
public:
    static constexpr std::size_t kConnectionCount = 3;

    NetworkSampler(std::shared_ptr<platform::NetworkSource> source,
                   std::shared_ptr<platform::ConnectionSource> connections,
                   std::shared_ptr<platform::Clock> clock);

    // Rates and totals; a failed read leaves `figures` as they were, and the
    // next rate covers the whole time since the last good one.
    void sampleThroughput(NetworkFigures& figures);
    // The default route's interface and local address.
    void sampleRoute(NetworkFigures& figures);
    // The connections, which the next cycles carry once they arrive.
    void requestConnections() { m_reader.request(kConnectionCount); }

private:
    struct Totals {
        std::uint64_t up = 0;
        std::uint64_t down = 0;
        double seconds = 0.0;
    };
    std::shared_ptr<platform::NetworkSource> m_source;
    std::shared_ptr<platform::Clock> m_clock;
    std::optional<Totals> m_last;
    FixedHistory<60> m_downloadHistory;
    QStringList m_connections;
    ConnectionReader m_reader;
};

// "address:port" of the remote end; an IPv6 address in brackets.
QString remoteEndpointText(const platform::TcpConnection& connection);

} // namespace pw
