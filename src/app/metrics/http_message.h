#pragma once

#include <QByteArray>
#include <QByteArrayView>

namespace pw::app {

// The parts of a request the endpoint acts on.
struct HttpRequest {
    QByteArray method;
    QByteArray path; // the target without its query
    QByteArray accept;
    bool keepAlive = true;
    bool http10 = false; // keeps the connection only when it asked to
};

struct HttpResponse {
    int status = 200;
    QByteArray contentType;
    QByteArray body;
    QByteArray allow; // the Allow header of a 405
};

// What the Connection header says: nothing (HTTP/1.1 keeps the connection),
// that it closes, or that it stays (an HTTP/1.0 client that asked for it).
enum class ConnectionHeader { None, Close, KeepAlive };

// How a response to this request ends the exchange.
ConnectionHeader connectionHeader(const HttpRequest& request);

// The response's bytes: status line, headers and, unless `headOnly`, the body.
QByteArray serializeResponse(const HttpResponse& response, bool headOnly,
                             ConnectionHeader connection);

// A plain-text response with this status and its reason phrase as the body.
HttpResponse errorResponse(int status);

// Finds one whole request at the start of what a client sent; the parser
// keeps no state, so the caller just calls it again with more bytes.
class HttpRequestParser {
public:
    enum class Status {
        Incomplete,   // wait for more bytes
        Complete,     // `request` filled in, `consumed` bytes taken
        TooLarge,     // the head alone exceeds the limit
        BodyTooLarge, // the head announces a body that would exceed it
        Malformed,    // not a request we can answer
        BadVersion,   // neither HTTP/1.0 nor HTTP/1.1
    };

    // `limit`: the most bytes one request (head and body) may take.
    explicit HttpRequestParser(qsizetype limit) : m_limit(limit) {}

    Status parse(QByteArrayView buffer, HttpRequest& request, qsizetype& consumed) const;

private:
    qsizetype m_limit;
};

} // namespace pw::app
