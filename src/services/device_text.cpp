#include "services/device_text.h"

namespace pw {

QString remoteEndpointText(const platform::TcpConnection& connection) {
    const QString address = QString::fromStdString(connection.remoteAddress);
    // A colon can only be IPv6; the brackets keep the port apart from it.
    if (address.contains(u':'))
        return QStringLiteral("[%1]:%2").arg(address).arg(connection.remotePort);
    return QStringLiteral("%1:%2").arg(address).arg(connection.remotePort);
}

QString diskKindText(std::optional<bool> rotational) {
    if (!rotational)
        return {};
    return *rotational ? QStringLiteral("HDD") : QStringLiteral("SSD");
}

} // namespace pw
