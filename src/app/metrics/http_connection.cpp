#include "app/metrics/http_connection.h"

#include <QTcpSocket>

#include <sys/socket.h>

namespace pw::app {
namespace {
// Qt stops reading from the kernel when this much is unread, so a client that
// sends faster than it is answered is held back by TCP itself.
constexpr qint64 kReadBufferBytes = 16 * 1024;
// How long a refused client may go on sending before it is reset.
constexpr std::chrono::milliseconds kLinger{2000};
} // namespace

HttpConnection::HttpConnection(QTcpSocket* socket, const HttpLimits& limits, HttpHandler handler,
                               QObject* parent)
    : QObject(parent), m_socket(socket), m_limits(limits), m_handler(std::move(handler)),
      m_parser(limits.maxRequestBytes) {
    m_socket->setParent(this);
    m_socket->setReadBufferSize(kReadBufferBytes);
    m_deadline.setSingleShot(true);
    m_deadline.setInterval(m_limits.idleTimeout);
    connect(&m_deadline, &QTimer::timeout, this, &HttpConnection::abort);
    connect(m_socket, &QTcpSocket::readyRead, this, &HttpConnection::readAvailable);
    connect(m_socket, &QTcpSocket::bytesWritten, this, &HttpConnection::written);
    connect(m_socket, &QTcpSocket::disconnected, this, [this] {
        if (!m_closed) {
            m_closed = true;
            m_deadline.stop();
            Q_EMIT closed(this);
        }
    });
    startWaiting();
    // Bytes that arrived with the connection.
    if (m_socket->bytesAvailable() > 0)
        QMetaObject::invokeMethod(this, &HttpConnection::readAvailable, Qt::QueuedConnection);
}

HttpConnection::~HttpConnection() = default;

void HttpConnection::abort() {
    if (m_closed)
        return;
    m_closed = true;
    m_deadline.stop();
    m_socket->abort();
    Q_EMIT closed(this);
}

void HttpConnection::startWaiting() {
    m_answering = false;
    m_waitingSince.start();
    m_deadline.start();
}

void HttpConnection::readAvailable() {
    if (m_closed || m_closing) {
        m_socket->readAll(); // the connection is ending: what comes now is dropped
        return;
    }
    // One byte past the limit is enough to tell a request is too large; the
    // rest stays with the socket (and the kernel) until there is room.
    const qint64 room = m_limits.maxRequestBytes + 1 - m_buffer.size();
    if (room > 0)
        m_buffer += m_socket->read(room);
    if (!m_answering)
        answerBuffered();
}

void HttpConnection::answerBuffered() {
    using Status = HttpRequestParser::Status;
    while (!m_closed && !m_closing && !m_answering) {
        HttpRequest request;
        qsizetype consumed = 0;
        switch (m_parser.parse(m_buffer, request, consumed)) {
        case Status::Incomplete:
            return;
        case Status::TooLarge:
            return refuse(431);
        case Status::BodyTooLarge:
            return refuse(413);
        case Status::Malformed:
            return refuse(400);
        case Status::BadVersion:
            return refuse(505);
        case Status::Complete:
            break;
        }
        m_buffer.remove(0, consumed);
        const bool head = request.method == "HEAD";
        answer(m_handler(request), head, connectionHeader(request));
    }
}

void HttpConnection::refuse(int status) {
    m_buffer.clear();
    answer(errorResponse(status), false, ConnectionHeader::Close);
}

void HttpConnection::answer(const HttpResponse& response, bool headOnly,
                            ConnectionHeader connection) {
    m_answering = true;
    m_closing = connection == ConnectionHeader::Close;
    m_deadline.start(); // the client has as long to take the answer
    m_socket->write(serializeResponse(response, headOnly, connection));
}

void HttpConnection::written() {
    if (m_closed || m_socket->bytesToWrite() > 0)
        return;
    if (m_closing) {
        // Closing at once while the client still sends would reset the
        // connection and could destroy the answer before it is read: end our
        // side only, and drop what still comes until the client closes too.
        if (!m_halfClosed) {
            m_halfClosed = true;
            ::shutdown(static_cast<int>(m_socket->socketDescriptor()), SHUT_WR);
            m_deadline.start(std::min<std::chrono::milliseconds>(m_limits.idleTimeout, kLinger));
        }
        return;
    }
    // The whole response is out: the client has a fresh deadline for its next
    // request, which may already be waiting.
    startWaiting();
    answerBuffered();
    if (!m_answering && m_socket->bytesAvailable() > 0)
        readAvailable();
}

} // namespace pw::app
