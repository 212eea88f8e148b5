#pragma once

#include <QDBusConnection>
#include <QObject>
#include <QTimer>

class QDBusServiceWatcher;

namespace pw::app {

// Which kind of system tray the desktop offers right now. Panels come and go
// (a panel started after us at login, a panel restart), so this is watched
// for the whole run: the StatusNotifierItem watcher on the session bus, and
// on X11 the owner of the XEmbed tray selection.
class TrayHostWatch : public QObject {
    Q_OBJECT

public:
    enum class Host { None, StatusNotifier, XEmbed };
    static constexpr auto kWatcherService = "org.kde.StatusNotifierWatcher";

    explicit TrayHostWatch(QDBusConnection bus, QObject* parent = nullptr);

    Host host() const { return m_host; }

Q_SIGNALS:
    // Once a change has held for a moment: a panel starting up often takes the
    // XEmbed selection just before its StatusNotifierItem watcher appears.
    void hostChanged(Host host);

private:
    void probe();
    void settle();
    Host observed() const;

    QDBusConnection m_bus;
    QDBusServiceWatcher* m_serviceWatcher;
    QTimer m_poll;
    QTimer m_settle;
    bool m_watcherUp = false;
    bool m_hostRegistered = false;
    bool m_xembed = false;
    Host m_host = Host::None;
};

} // namespace pw::app
