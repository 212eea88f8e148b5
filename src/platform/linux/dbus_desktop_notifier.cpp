#include "platform/linux/dbus_desktop_notifier.h"

#include <QDBusMessage>
#include <QDBusPendingCallWatcher>
#include <QDBusPendingReply>
#include <QDBusServiceWatcher>
#include <QVariantMap>

namespace pw::platform {
namespace {
const QString kService = QStringLiteral("org.freedesktop.Notifications");
const QString kPath = QStringLiteral("/org/freedesktop/Notifications");
} // namespace

DBusDesktopNotifier::DBusDesktopNotifier(QDBusConnection bus, QObject* parent)
    : QObject(parent), m_bus(std::move(bus)) {
    if (!m_bus.isConnected())
        return;
    // A restarted server knows none of our ids; replacing one would fail.
    m_watcher = new QDBusServiceWatcher(kService, m_bus,
                                        QDBusServiceWatcher::WatchForUnregistration |
                                            QDBusServiceWatcher::WatchForOwnerChange,
                                        this);
    connect(m_watcher, &QDBusServiceWatcher::serviceOwnerChanged, this,
            [this](const QString&, const QString&, const QString&) { m_serverIds.clear(); });
}

void DBusDesktopNotifier::post(const DesktopNotification& notification) {
    if (!m_bus.isConnected())
        return;
    QDBusMessage call =
        QDBusMessage::createMethodCall(kService, kPath, kService, QStringLiteral("Notify"));
    QVariantMap hints;
    if (notification.playSound)
        hints.insert(QStringLiteral("sound-name"), QStringLiteral("message-new-instant"));
    else
        hints.insert(QStringLiteral("suppress-sound"), true);
    call << QStringLiteral("Pulsewick") << m_serverIds.value(notification.requestId, 0u)
         << QString() << notification.title << notification.body << QStringList() << hints
         << qint32(-1);
    // Asynchronous: no server means no alert, never a stalled cycle.
    auto* watcher = new QDBusPendingCallWatcher(m_bus.asyncCall(call), this);
    const QString requestId = notification.requestId;
    connect(watcher, &QDBusPendingCallWatcher::finished, this,
            [this, requestId](QDBusPendingCallWatcher* w) {
                QDBusPendingReply<uint> reply = *w;
                if (reply.isValid())
                    m_serverIds.insert(requestId, reply.value());
                w->deleteLater();
            });
}

} // namespace pw::platform
