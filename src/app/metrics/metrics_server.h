#pragma once

#include "app/metrics/http_connection.h"

#include <QHostAddress>
#include <QObject>
#include <QTcpServer>

#include <vector>

namespace pw::app {

// A small HTTP/1.1 server for the metrics endpoint. Each request goes to the
// handler on the main thread; the limits keep a slow, large or hostile client
// from holding the server: a request over the size limit is refused, a client
// idle past the timeout is cut off, and past the connection limit the
// connection that has waited longest for its client gives way to the new one.
class MetricsServer : public QObject {
    Q_OBJECT
public:
    explicit MetricsServer(HttpHandler handler, HttpLimits limits = {}, QObject* parent = nullptr);
    ~MetricsServer() override;

    bool listen(const QHostAddress& address, quint16 port);
    quint16 port() const { return m_server.serverPort(); }
    QString errorString() const { return m_server.errorString(); }
    int connectionCount() const { return static_cast<int>(m_connections.size()); }

private:
    void acceptPending();
    void makeRoom();
    void forget(HttpConnection* connection);

    HttpHandler m_handler;
    HttpLimits m_limits;
    QTcpServer m_server;
    std::vector<HttpConnection*> m_connections;
};

} // namespace pw::app
