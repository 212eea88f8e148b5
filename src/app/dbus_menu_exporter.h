#pragma once

#include "app/dbus_tray_types.h"

#include <QDBusAbstractAdaptor>
#include <QDBusConnection>
#include <QList>
#include <QObject>
#include <QPointer>

class QAction;

namespace pw::app {

// Publishes a flat list of actions as a com.canonical.dbusmenu menu, the menu
// StatusNotifierItem hosts draw themselves. Entry n (from 1) is actions[n-1];
// 0 is the root. Choosing an entry in the host triggers its action.
class DBusMenuExporter : public QObject {
    Q_OBJECT

public:
    static constexpr auto kPath = "/MenuBar";

    DBusMenuExporter(QList<QAction*> actions, QDBusConnection bus, QObject* parent = nullptr);
    ~DBusMenuExporter() override;

    bool isPublished() const { return m_published; }

    // The D-Bus interface's logic, public for the adaptor.
    DBusMenuLayout layout(int parentId, int depth) const;
    QVariantMap properties(int id) const;
    bool hasEntry(int id) const;
    void activate(int id, const QString& eventId);

Q_SIGNALS:
    void layoutChanged();

private:
    QList<QPointer<QAction>> m_actions;
    QDBusConnection m_bus;
    bool m_published = false;
};

class DBusMenuAdaptor : public QDBusAbstractAdaptor {
    Q_OBJECT
    Q_CLASSINFO("D-Bus Interface", "com.canonical.dbusmenu")
    Q_PROPERTY(uint Version READ version)
    Q_PROPERTY(QString TextDirection READ textDirection)
    Q_PROPERTY(QString Status READ status)
    Q_PROPERTY(QStringList IconThemePath READ iconThemePath)

public:
    explicit DBusMenuAdaptor(DBusMenuExporter* exporter);

    uint version() const { return 3; }
    QString textDirection() const { return QStringLiteral("ltr"); }
    QString status() const { return QStringLiteral("normal"); }
    QStringList iconThemePath() const { return {}; }

public Q_SLOTS:
    uint GetLayout(int parentId, int recursionDepth, const QStringList& propertyNames,
                   pw::app::DBusMenuLayout& layout);
    pw::app::DBusMenuItemPropertiesList GetGroupProperties(const QList<int>& ids,
                                                           const QStringList& propertyNames);
    QDBusVariant GetProperty(int id, const QString& name);
    void Event(int id, const QString& eventId, const QDBusVariant& data, uint timestamp);
    QList<int> EventGroup(const pw::app::DBusMenuEventList& events);
    bool AboutToShow(int id);
    QList<int> AboutToShowGroup(const QList<int>& ids, QList<int>& idErrors);

Q_SIGNALS:
    void ItemsPropertiesUpdated(const pw::app::DBusMenuItemPropertiesList& updatedProps,
                                const pw::app::DBusMenuItemKeysList& removedProps);
    void LayoutUpdated(uint revision, int parent);
    void ItemActivationRequested(int id, uint timestamp);

private:
    DBusMenuExporter* m_exporter;
    uint m_revision = 1;
};

} // namespace pw::app
