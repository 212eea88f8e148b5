#include "app/metrics/serve_address.h"

#include <QHostAddress>

namespace pw::app {

std::optional<ServeAddress> parseServeAddress(const QString& text) {
    const qsizetype colon = text.lastIndexOf(QLatin1Char(':'));
    if (colon <= 0)
        return std::nullopt;
    QString host = text.left(colon);
    const QString portText = text.mid(colon + 1);
    bool ok = false;
    const uint port = portText.toUInt(&ok);
    if (!ok || port > 65535 || portText.startsWith(QLatin1Char('+')))
        return std::nullopt;
    if (host.startsWith(QLatin1Char('['))) {
        if (!host.endsWith(QLatin1Char(']')))
            return std::nullopt;
        host = host.mid(1, host.size() - 2);
        if (QHostAddress(host).protocol() != QAbstractSocket::IPv6Protocol)
            return std::nullopt;
    } else if (host == QLatin1String("localhost")) {
        host = QStringLiteral("127.0.0.1");
    } else if (QHostAddress(host).protocol() != QAbstractSocket::IPv4Protocol) {
        return std::nullopt;
    }
    return ServeAddress{host, static_cast<quint16>(port)};
}

} // namespace pw::app
