#pragma once

#include <QDBusConnection>
#include <QObject>
#include <QTimer>

class QDBusServiceWatcher;

namespace pw::app {

class XembedTraySelection;

// Which kind of system tray the desktop offers right now. Panels come and go
// (a panel started after us at login, a panel restart), so this is watched
// for the whole run from events, not by asking every second: the
// StatusNotifierItem watcher on the session bus with its host signals, and on
// X11 the owner of the XEmbed tray selection.
class TrayHostWatch : public QObject {
    Q_OBJECT

public:
    enum class Host { None, StatusNotifier, XEmbed };
    static constexpr auto kWatcherService = "org.kde.StatusNotifierWatcher";

    explicit TrayHostWatch(QDBusConnection bus, QObject* parent = nullptr);
    ~TrayHostWatch() override;

    Host host() const { return m_host; }

Q_SIGNALS:
    // Once a change has held for a moment: a panel starting up often takes the
    // XEmbed selection just before its StatusNotifierItem watcher appears.
    void hostChanged(Host host);

private Q_SLOTS:
    void askWhetherHostRegistered();

private:
    void observe();
    void settle();
    Host observed() const;

    QDBusConnection m_bus;
    QDBusServiceWatcher* m_serviceWatcher;
    XembedTraySelection* m_xembed;
    QTimer m_backstop;
    QTimer m_settle;
    bool m_watcherUp = false;
    bool m_hostRegistered = false;
    Host m_host = Host::None;
};

} // namespace pw::app
