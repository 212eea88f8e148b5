#pragma once

#include "platform/connection_source.h"

#include <QObject>
#include <QThread>

#include <functional>
#include <memory>
#include <optional>
#include <vector>

namespace pw {

// Reads the established TCP connections on a thread of its own. The kernel
// builds /proc/net/tcp by walking its whole connection hash, which takes
// milliseconds even on an idle machine: too slow for the main thread.
//
// One read runs at a time; a request while one is running is dropped (the next
// slow cycle asks again). The result is handed over on the reader's own thread.
class ConnectionReader : public QObject {
    Q_OBJECT

public:
    using Connections = std::optional<std::vector<platform::TcpConnection>>;

    ConnectionReader(std::shared_ptr<platform::ConnectionSource> source,
                     std::function<void(Connections)> onRead, QObject* parent = nullptr);
    ~ConnectionReader() override;

    void request(std::size_t limit);
    bool busy() const { return m_busy; }

private:
    std::shared_ptr<platform::ConnectionSource> m_source;
    std::function<void(Connections)> m_onRead;
    QThread m_thread;
    QObject* m_worker = nullptr; // lives on m_thread
    bool m_busy = false;
};

} // namespace pw
