#pragma once

#include "services/engine/snapshot.h"

#include <QList>
#include <QObject>
#include <QString>
#include <QStringList>

#include <optional>

namespace pw {

// The network beyond the store's throughput: the download history, the
// default route's interface and address, and a few established connections.
class NetworkDetailsMonitor : public QObject {
    Q_OBJECT
    Q_PROPERTY(QList<double> networkHistory READ networkHistory NOTIFY networkHistoryChanged)
    Q_PROPERTY(
        QString networkInterfaceName READ networkInterfaceName NOTIFY networkInterfaceNameChanged)
    Q_PROPERTY(bool networkIsWireless READ networkIsWireless NOTIFY networkIsWirelessChanged)
    Q_PROPERTY(std::optional<QString> localIPv4Address READ localIPv4Address NOTIFY
                   localIPv4AddressChanged)
    Q_PROPERTY(QStringList activeConnections READ activeConnections NOTIFY activeConnectionsChanged)

public:
    using QObject::QObject;

    // The last 60 download figures (KB per cycle), oldest first.
    const QList<double>& networkHistory() const { return m_networkHistory; }
    QString networkInterfaceName() const { return m_networkInterfaceName; } // empty: no route
    bool networkIsWireless() const { return m_networkIsWireless; }
    std::optional<QString> localIPv4Address() const { return m_localIPv4Address; }
    const QStringList& activeConnections() const { return m_activeConnections; }

    void apply(const Snapshot& snapshot);

Q_SIGNALS:
    void networkHistoryChanged();
    void networkInterfaceNameChanged();
    void networkIsWirelessChanged();
    void localIPv4AddressChanged();
    void activeConnectionsChanged();

private:
    QList<double> m_networkHistory = QList<double>(60, 0.0);
    QString m_networkInterfaceName;
    bool m_networkIsWireless = false;
    std::optional<QString> m_localIPv4Address;
    QStringList m_activeConnections;
};

} // namespace pw
