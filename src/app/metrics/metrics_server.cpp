#include "app/metrics/metrics_server.h"

#include <QTcpSocket>

#include <algorithm>

namespace pw::app {

MetricsServer::MetricsServer(HttpHandler handler, HttpLimits limits, QObject* parent)
    : QObject(parent), m_handler(std::move(handler)), m_limits(limits) {
    connect(&m_server, &QTcpServer::newConnection, this, &MetricsServer::acceptPending);
}

MetricsServer::~MetricsServer() {
    m_server.close();
    for (HttpConnection* c : m_connections) {
        c->disconnect(this);
        delete c;
    }
}

bool MetricsServer::listen(const QHostAddress& address, quint16 port) {
    return m_server.listen(address, port);
}

void MetricsServer::acceptPending() {
    while (QTcpSocket* socket = m_server.nextPendingConnection()) {
        if (static_cast<int>(m_connections.size()) >= m_limits.maxConnections)
            makeRoom();
        auto* connection = new HttpConnection(socket, m_limits, m_handler, this);
        connect(connection, &HttpConnection::closed, this, &MetricsServer::forget);
        m_connections.push_back(connection);
    }
}

// The connection whose client has kept it waiting longest goes; one in the
// middle of an answer only when every one is.
void MetricsServer::makeRoom() {
    auto longestWaiting = [](const HttpConnection* a, const HttpConnection* b) {
        if (a->isIdle() != b->isIdle())
            return a->isIdle();
        return a->idleForMs() > b->idleForMs();
    };
    const auto victim =
        std::min_element(m_connections.begin(), m_connections.end(), longestWaiting);
    if (victim != m_connections.end())
        (*victim)->abort();
}

void MetricsServer::forget(HttpConnection* connection) {
    std::erase(m_connections, connection);
    connection->deleteLater();
}

} // namespace pw::app
