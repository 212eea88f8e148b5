#pragma once

#include "app/metrics/http_message.h"

#include <QElapsedTimer>
#include <QObject>
#include <QTimer>

#include <chrono>
#include <functional>

class QTcpSocket;

namespace pw::app {

using HttpHandler = std::function<HttpResponse(const HttpRequest&)>;

struct HttpLimits {
    qsizetype maxRequestBytes = 8 * 1024;
    int maxConnections = 64;
    // How long a client may take to send a whole request, or to take a whole
    // response, before it is cut off.
    std::chrono::milliseconds idleTimeout{10'000};
};

// One client: reads requests one at a time, answers each through the handler,
// and closes the connection when the client is too slow, too large or not
// speaking HTTP. Never blocks: everything happens on socket signals.
class HttpConnection : public QObject {
    Q_OBJECT
public:
    HttpConnection(QTcpSocket* socket, const HttpLimits& limits, HttpHandler handler,
                   QObject* parent = nullptr);
    ~HttpConnection() override;

    // Waiting for the client (not in the middle of answering it), and since when.
    bool isIdle() const { return !m_answering; }
    qint64 idleForMs() const { return m_waitingSince.elapsed(); }
    // Ends the connection at once; `closed` follows.
    void abort();

Q_SIGNALS:
    // The connection is over; the owner may delete it.
    void closed(HttpConnection* connection);

private:
    void readAvailable();
    void answerBuffered();
    void answer(const HttpResponse& response, bool headOnly, ConnectionHeader connection);
    void refuse(int status);
    void written();
    void startWaiting();

    QTcpSocket* m_socket;
    HttpLimits m_limits;
    HttpHandler m_handler;
    HttpRequestParser m_parser;
    QByteArray m_buffer;
    QTimer m_deadline;
    QElapsedTimer m_waitingSince;
    bool m_answering = false; // a response is still being written
    bool m_closing = false;   // the last response is going out; what comes in is dropped
    bool m_halfClosed = false;
    bool m_closed = false;
};

} // namespace pw::app
