#pragma once

#include "app/dbus_tray_types.h"

#include <QDBusAbstractAdaptor>
#include <QDBusConnection>
#include <QDBusObjectPath>
#include <QImage>
#include <QObject>
#include <QPoint>

class QAction;

namespace pw::app {

class DBusMenuExporter;

// The tray entry as a StatusNotifierItem: an item object on the session bus
// under a name of its own, registered with the watcher, with its menu
// published beside it. Hosts draw the icon and the menu; clicks come back as
// method calls.
class StatusNotifierItem : public QObject {
    Q_OBJECT

public:
    static constexpr auto kPath = "/StatusNotifierItem";

    StatusNotifierItem(QList<QAction*> menuActions, QDBusConnection bus, QObject* parent = nullptr);
    ~StatusNotifierItem() override;

    QString serviceName() const { return m_serviceName; }
    // Whether the watcher accepted the item (so far).
    bool isRegistered() const { return m_registered; }

    void setImages(const QList<QImage>& images);
    void setToolTip(const QString& title, const QString& text);

    SniPixmapList pixmaps() const { return m_pixmaps; }
    SniToolTip toolTip() const;

Q_SIGNALS:
    void activated(QPoint at);
    void contextMenuRequested(QPoint at);
    void registeredChanged(bool registered);
    // For the adaptor.
    void iconChanged();
    void toolTipChanged();

private:
    void registerWithWatcher();

    QDBusConnection m_bus;
    QString m_serviceName;
    DBusMenuExporter* m_menu;
    SniPixmapList m_pixmaps;
    QString m_toolTipTitle;
    QString m_toolTipText;
    bool m_registered = false;
};

class StatusNotifierItemAdaptor : public QDBusAbstractAdaptor {
    Q_OBJECT
    Q_CLASSINFO("D-Bus Interface", "org.kde.StatusNotifierItem")
    Q_PROPERTY(QString Category READ category)
    Q_PROPERTY(QString Id READ id)
    Q_PROPERTY(QString Title READ title)
    Q_PROPERTY(QString Status READ status)
    Q_PROPERTY(int WindowId READ windowId)
    Q_PROPERTY(QString IconName READ emptyName)
    Q_PROPERTY(pw::app::SniPixmapList IconPixmap READ iconPixmap)
    Q_PROPERTY(QString OverlayIconName READ emptyName)
    Q_PROPERTY(pw::app::SniPixmapList OverlayIconPixmap READ noPixmaps)
    Q_PROPERTY(QString AttentionIconName READ emptyName)
    Q_PROPERTY(pw::app::SniPixmapList AttentionIconPixmap READ noPixmaps)
    Q_PROPERTY(QString AttentionMovieName READ emptyName)
    Q_PROPERTY(pw::app::SniToolTip ToolTip READ toolTip)
    Q_PROPERTY(bool ItemIsMenu READ itemIsMenu)
    Q_PROPERTY(QDBusObjectPath Menu READ menu)
    Q_PROPERTY(QString IconThemePath READ emptyName)

public:
    explicit StatusNotifierItemAdaptor(StatusNotifierItem* item);

    QString category() const { return QStringLiteral("Hardware"); }
    QString id() const { return QStringLiteral("pulsewick"); }
    QString title() const { return QStringLiteral("Pulsewick"); }
    QString status() const { return QStringLiteral("Active"); }
    int windowId() const { return 0; }
    QString emptyName() const { return {}; }
    SniPixmapList iconPixmap() const { return m_item->pixmaps(); }
    SniPixmapList noPixmaps() const { return {}; }
    SniToolTip toolTip() const { return m_item->toolTip(); }
    bool itemIsMenu() const { return false; }
    QDBusObjectPath menu() const;

public Q_SLOTS:
    void Activate(int x, int y);
    void SecondaryActivate(int x, int y);
    void ContextMenu(int x, int y);
    void Scroll(int delta, const QString& orientation);
    void ProvideXdgActivationToken(const QString& token);

Q_SIGNALS:
    void NewTitle();
    void NewIcon();
    void NewAttentionIcon();
    void NewOverlayIcon();
    void NewToolTip();
    void NewStatus(const QString& status);

private:
    StatusNotifierItem* m_item;
};

} // namespace pw::app
