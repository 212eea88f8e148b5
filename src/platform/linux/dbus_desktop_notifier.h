#pragma once

#include "platform/desktop_notifier.h"

#include <QDBusConnection>
#include <QHash>
#include <QObject>

class QDBusServiceWatcher;

namespace pw::platform {

// Desktop notifications through org.freedesktop.Notifications on the session
// bus. A request id maps to the id the server gave last, passed back as
// replaces_id so each notification replaces the previous one of that id.
class DBusDesktopNotifier : public QObject, public DesktopNotifier {
    Q_OBJECT
public:
    explicit DBusDesktopNotifier(QDBusConnection bus = QDBusConnection::sessionBus(),
                                 QObject* parent = nullptr);

    void post(const DesktopNotification& notification) override;

private:
    QDBusConnection m_bus;
    QDBusServiceWatcher* m_watcher = nullptr;
    QHash<QString, uint> m_serverIds;
};

} // namespace pw::platform
