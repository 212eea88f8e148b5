#include "app/status_notifier_item.h"

#include "app/dbus_menu_exporter.h"
#include "app/tray_host_watch.h"

#include <QCoreApplication>
#include <QDBusConnectionInterface>
#include <QDBusMessage>
#include <QDBusPendingCallWatcher>
#include <QDBusPendingReply>

namespace pw::app {
namespace {
int nextItemNumber() {
    static int number = 0;
    return ++number;
}
} // namespace

StatusNotifierItem::StatusNotifierItem(QList<QAction*> menuActions, QDBusConnection bus,
                                       QObject* parent)
    : QObject(parent), m_bus(std::move(bus)),
      m_serviceName(QStringLiteral("org.kde.StatusNotifierItem-%1-%2")
                        .arg(QCoreApplication::applicationPid())
                        .arg(nextItemNumber())),
      m_menu(new DBusMenuExporter(std::move(menuActions), m_bus, this)) {
    registerDBusTrayTypes();
    new StatusNotifierItemAdaptor(this);
    m_bus.registerObject(QLatin1String(kPath), this);
    m_bus.registerService(m_serviceName);
    registerWithWatcher();
}

StatusNotifierItem::~StatusNotifierItem() {
    // The watcher drops items whose name goes away.
    m_bus.unregisterObject(QLatin1String(kPath));
    m_bus.unregisterService(m_serviceName);
}

void StatusNotifierItem::registerWithWatcher() {
    QDBusMessage call = QDBusMessage::createMethodCall(
        QLatin1String(TrayHostWatch::kWatcherService), QStringLiteral("/StatusNotifierWatcher"),
        QStringLiteral("org.kde.StatusNotifierWatcher"),
        QStringLiteral("RegisterStatusNotifierItem"));
    call << m_serviceName;
    auto* pending = new QDBusPendingCallWatcher(m_bus.asyncCall(call), this);
    connect(pending, &QDBusPendingCallWatcher::finished, this, [this](QDBusPendingCallWatcher* w) {
        const QDBusPendingReply<> reply = *w;
        w->deleteLater();
        m_registered = !reply.isError();
        Q_EMIT registeredChanged(m_registered);
    });
}

void StatusNotifierItem::setImages(const QList<QImage>& images) {
    m_pixmaps.clear();
    for (const QImage& image : images)
        m_pixmaps << SniPixmap::fromImage(image);
    Q_EMIT iconChanged();
}

void StatusNotifierItem::setToolTip(const QString& title, const QString& text) {
    m_toolTipTitle = title;
    m_toolTipText = text;
    Q_EMIT toolTipChanged();
}

SniToolTip StatusNotifierItem::toolTip() const {
    return {QString(), {}, m_toolTipTitle, m_toolTipText};
}

StatusNotifierItemAdaptor::StatusNotifierItemAdaptor(StatusNotifierItem* item)
    : QDBusAbstractAdaptor(item), m_item(item) {
    connect(item, &StatusNotifierItem::iconChanged, this, &StatusNotifierItemAdaptor::NewIcon);
    connect(item, &StatusNotifierItem::toolTipChanged, this,
            &StatusNotifierItemAdaptor::NewToolTip);
}

QDBusObjectPath StatusNotifierItemAdaptor::menu() const {
    return QDBusObjectPath(QLatin1String(DBusMenuExporter::kPath));
}

void StatusNotifierItemAdaptor::Activate(int x, int y) {
    Q_EMIT m_item->activated(QPoint(x, y));
}

void StatusNotifierItemAdaptor::SecondaryActivate(int, int) {}

void StatusNotifierItemAdaptor::ContextMenu(int x, int y) {
    // Hosts that do not draw the published menu ask for ours.
    Q_EMIT m_item->contextMenuRequested(QPoint(x, y));
}

void StatusNotifierItemAdaptor::Scroll(int, const QString&) {}

void StatusNotifierItemAdaptor::ProvideXdgActivationToken(const QString&) {}

} // namespace pw::app
