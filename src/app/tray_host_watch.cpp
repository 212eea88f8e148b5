#include "app/tray_host_watch.h"

#include "app/xembed_tray_selection.h"

#include <QDBusConnectionInterface>
#include <QDBusPendingCallWatcher>
#include <QDBusPendingReply>
#include <QDBusServiceWatcher>
#include <QDBusVariant>

namespace pw::app {
namespace {
// Watchers that never signal a host going still get noticed, if late.
constexpr int kBackstopMs = 30000;
constexpr int kSettleMs = 1500;
constexpr auto kWatcherPath = "/StatusNotifierWatcher";
constexpr auto kWatcherInterface = "org.kde.StatusNotifierWatcher";
} // namespace

TrayHostWatch::TrayHostWatch(QDBusConnection bus, QObject* parent)
    : QObject(parent), m_bus(std::move(bus)),
      m_serviceWatcher(new QDBusServiceWatcher(QLatin1String(kWatcherService), m_bus,
                                               QDBusServiceWatcher::WatchForOwnerChange, this)),
      m_xembed(new XembedTraySelection(this)) {
    connect(m_serviceWatcher, &QDBusServiceWatcher::serviceOwnerChanged, this,
            [this](const QString&, const QString&, const QString& newOwner) {
                m_watcherUp = !newOwner.isEmpty();
                m_hostRegistered = false;
                askWhetherHostRegistered();
                observe();
            });
    for (const char* signal : {"StatusNotifierHostRegistered", "StatusNotifierHostUnregistered"})
        m_bus.connect(QLatin1String(kWatcherService), QLatin1String(kWatcherPath),
                      QLatin1String(kWatcherInterface), QLatin1String(signal), this,
                      SLOT(askWhetherHostRegistered()));
    connect(m_xembed, &XembedTraySelection::presenceChanged, this, &TrayHostWatch::observe);

    if (m_bus.isConnected() && m_bus.interface())
        m_watcherUp = m_bus.interface()->isServiceRegistered(QLatin1String(kWatcherService));
    // A watcher runs beside its host nearly always; the first answer below
    // corrects this within a moment where it does not.
    m_hostRegistered = m_watcherUp;
    m_host = observed();

    m_settle.setSingleShot(true);
    m_settle.setInterval(kSettleMs);
    connect(&m_settle, &QTimer::timeout, this, &TrayHostWatch::settle);
    m_backstop.setInterval(kBackstopMs);
    connect(&m_backstop, &QTimer::timeout, this, &TrayHostWatch::askWhetherHostRegistered);
    m_backstop.start();
    askWhetherHostRegistered();
}

TrayHostWatch::~TrayHostWatch() = default;

TrayHostWatch::Host TrayHostWatch::observed() const {
    if (m_watcherUp && m_hostRegistered)
        return Host::StatusNotifier;
    if (m_xembed->present())
        return Host::XEmbed;
    return Host::None;
}

void TrayHostWatch::askWhetherHostRegistered() {
    if (!m_watcherUp)
        return;
    // A watcher without a host shows nothing; hosts register a moment after it appears.
    QDBusMessage get = QDBusMessage::createMethodCall(
        QLatin1String(kWatcherService), QLatin1String(kWatcherPath),
        QStringLiteral("org.freedesktop.DBus.Properties"), QStringLiteral("Get"));
    get << QLatin1String(kWatcherInterface) << QStringLiteral("IsStatusNotifierHostRegistered");
    auto* call = new QDBusPendingCallWatcher(m_bus.asyncCall(get), this);
    connect(call, &QDBusPendingCallWatcher::finished, this, [this](QDBusPendingCallWatcher* w) {
        const QDBusPendingReply<QDBusVariant> reply = *w;
        w->deleteLater();
        const bool registered = !reply.isError() && reply.value().variant().toBool();
        if (registered != m_hostRegistered) {
            m_hostRegistered = registered;
            observe();
        }
    });
}

void TrayHostWatch::observe() {
    if (observed() != m_host) {
        if (!m_settle.isActive())
            m_settle.start();
    } else {
        m_settle.stop();
    }
}

void TrayHostWatch::settle() {
    const Host now = observed();
    if (now == m_host)
        return;
    m_host = now;
    Q_EMIT hostChanged(m_host);
}

} // namespace pw::app
