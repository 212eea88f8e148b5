#include "app/metrics/http_message.h"

#include <QList>

#include <optional>

namespace pw::app {
namespace {

QByteArray reasonPhrase(int status) {
    switch (status) {
    case 200:
        return "OK";
    case 400:
        return "Bad Request";
    case 404:
        return "Not Found";
    case 405:
        return "Method Not Allowed";
    case 413:
        return "Content Too Large";
    case 431:
        return "Request Header Fields Too Large";
    case 503:
        return "Service Unavailable";
    case 505:
        return "HTTP Version Not Supported";
    }
    return "Error";
}

// RFC 9110 token characters: what a method or a header name may hold.
bool isToken(QByteArrayView text) {
    if (text.isEmpty())
        return false;
    for (const char c : text) {
        const bool alnum =
            (c >= 'a' && c <= 'z') || (c >= 'A' && c <= 'Z') || (c >= '0' && c <= '9');
        if (!alnum && !QByteArrayView("!#$%&'*+-.^_`|~").contains(c))
            return false;
    }
    return true;
}

// Where the head ends (just past its empty line), if it has.
std::optional<qsizetype> headEnd(QByteArrayView buffer) {
    for (qsizetype i = buffer.indexOf('\n'); i >= 0; i = buffer.indexOf('\n', i + 1)) {
        if (i + 1 < buffer.size() && buffer[i + 1] == '\n')
            return i + 2;
        if (i + 2 < buffer.size() && buffer[i + 1] == '\r' && buffer[i + 2] == '\n')
            return i + 3;
    }
    return std::nullopt;
}

struct Head {
    QByteArray version;
    std::optional<qsizetype> contentLength;
    QByteArray connection;
};

using Status = HttpRequestParser::Status;

// "METHOD /path HTTP/1.x"
Status parseRequestLine(QByteArrayView line, HttpRequest& request, Head& head) {
    if (line.endsWith('\r'))
        line.chop(1);
    const QList<QByteArray> parts = line.toByteArray().split(' ');
    if (parts.size() != 3 || !isToken(parts[0]) || !parts[1].startsWith('/') ||
        !parts[2].startsWith("HTTP/"))
        return Status::Malformed;
    if (parts[2] != "HTTP/1.1" && parts[2] != "HTTP/1.0")
        return Status::BadVersion;
    request.method = parts[0];
    const qsizetype query = parts[1].indexOf('?');
    request.path = query < 0 ? parts[1] : parts[1].left(query);
    head.version = parts[2];
    return Status::Complete;
}

Status parseHeader(const QByteArray& line, HttpRequest& request, Head& head) {
    const qsizetype colon = line.indexOf(':');
    // A folded line (leading blank) or a name with blanks is refused outright.
    if (colon <= 0 || !isToken(QByteArrayView(line).first(colon)))
        return Status::Malformed;
    const QByteArray name = line.left(colon).toLower();
    const QByteArray value = line.mid(colon + 1).trimmed();
    if (name == "accept") {
        request.accept += request.accept.isEmpty() ? value : "," + value;
    } else if (name == "connection") {
        head.connection += "," + value.toLower();
    } else if (name == "content-length") {
        bool ok = false;
        const qlonglong length = value.toLongLong(&ok);
        if (!ok || length < 0 || (head.contentLength && *head.contentLength != length))
            return Status::Malformed;
        head.contentLength = length;
    } else if (name == "transfer-encoding") {
        return Status::Malformed; // no request to this server has a streamed body
    }
    return Status::Complete;
}

bool hasToken(const QByteArray& list, QByteArrayView token) {
    for (const QByteArray& item : list.split(','))
        if (item.trimmed() == token)
            return true;
    return false;
}

} // namespace

ConnectionHeader connectionHeader(const HttpRequest& request) {
    if (!request.keepAlive)
        return ConnectionHeader::Close;
    return request.http10 ? ConnectionHeader::KeepAlive : ConnectionHeader::None;
}

QByteArray serializeResponse(const HttpResponse& response, bool headOnly,
                             ConnectionHeader connection) {
    QByteArray out;
    out.reserve(160 + (headOnly ? 0 : response.body.size()));
    out += "HTTP/1.1 " + QByteArray::number(response.status) + ' ' + reasonPhrase(response.status) +
           "\r\n";
    if (!response.contentType.isEmpty())
        out += "Content-Type: " + response.contentType + "\r\n";
    out += "Content-Length: " + QByteArray::number(response.body.size()) + "\r\n";
    if (!response.allow.isEmpty())
        out += "Allow: " + response.allow + "\r\n";
    if (connection == ConnectionHeader::Close)
        out += "Connection: close\r\n";
    else if (connection == ConnectionHeader::KeepAlive)
        out += "Connection: keep-alive\r\n";
    out += "\r\n";
    if (!headOnly)
        out += response.body;
    return out;
}

HttpResponse errorResponse(int status) {
    return {status, "text/plain; charset=utf-8", reasonPhrase(status) + '\n', {}};
}

Status HttpRequestParser::parse(QByteArrayView buffer, HttpRequest& request,
                                qsizetype& consumed) const {
    const QByteArrayView window = buffer.first(std::min(buffer.size(), m_limit));
    // The request line is judged as soon as it is there (its method as soon as
    // it starts), so a client speaking something else is refused at once.
    const qsizetype lineEnd = window.indexOf('\n');
    if (lineEnd < 0) {
        const qsizetype space = window.indexOf(' ');
        if (!window.isEmpty() && !isToken(window.first(space < 0 ? window.size() : space)))
            return Status::Malformed;
        return buffer.size() >= m_limit ? Status::TooLarge : Status::Incomplete;
    }
    HttpRequest parsed;
    Head head;
    if (const Status s = parseRequestLine(window.first(lineEnd), parsed, head);
        s != Status::Complete)
        return s;
    const std::optional<qsizetype> end = headEnd(window);
    if (!end)
        return buffer.size() >= m_limit ? Status::TooLarge : Status::Incomplete;

    QList<QByteArray> lines = QByteArray(buffer.data(), *end).split('\n');
    for (qsizetype i = 1; i < lines.size(); ++i) {
        QByteArray& line = lines[i];
        if (line.endsWith('\r'))
            line.chop(1);
        if (!line.isEmpty() && parseHeader(line, parsed, head) != Status::Complete)
            return Status::Malformed;
    }
    const qsizetype total = *end + head.contentLength.value_or(0);
    if (head.contentLength && *head.contentLength > m_limit - *end)
        return Status::BodyTooLarge;
    if (buffer.size() < total)
        return Status::Incomplete;
    parsed.http10 = head.version == "HTTP/1.0";
    parsed.keepAlive = parsed.http10 ? hasToken(head.connection, "keep-alive")
                                     : !hasToken(head.connection, "close");
    request = std::move(parsed);
    consumed = total;
    return Status::Complete;
}

} // namespace pw::app
