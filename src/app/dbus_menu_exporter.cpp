#include "app/dbus_menu_exporter.h"

#include <QAction>
#include <QDBusMessage>
#include <QTimer>

namespace pw::app {
namespace {
// dbusmenu marks mnemonics with "_" where Qt uses "&".
QString dbusLabel(QString text) {
    text.replace(QLatin1Char('_'), QLatin1String("__"));
    QString out;
    for (qsizetype i = 0; i < text.size(); ++i) {
        if (text[i] == QLatin1Char('&') && i + 1 < text.size()) {
            out += text[i + 1] == QLatin1Char('&') ? QLatin1Char('&') : QLatin1Char('_');
            if (text[i + 1] == QLatin1Char('&'))
                ++i;
            continue;
        }
        out += text[i];
    }
    return out;
}

QVariantMap onlyNamed(const QVariantMap& properties, const QStringList& names) {
    if (names.isEmpty())
        return properties;
    QVariantMap out;
    for (const QString& name : names) {
        if (properties.contains(name))
            out.insert(name, properties.value(name));
    }
    return out;
}
} // namespace

DBusMenuExporter::DBusMenuExporter(QList<QAction*> actions, QDBusConnection bus, QObject* parent)
    : QObject(parent), m_bus(std::move(bus)) {
    registerDBusTrayTypes();
    for (QAction* action : actions) {
        m_actions << action;
        connect(action, &QAction::changed, this, &DBusMenuExporter::layoutChanged);
    }
    new DBusMenuAdaptor(this);
    m_published = m_bus.registerObject(QLatin1String(kPath), this);
}

DBusMenuExporter::~DBusMenuExporter() {
    if (m_published)
        m_bus.unregisterObject(QLatin1String(kPath));
}

bool DBusMenuExporter::hasEntry(int id) const {
    return id == 0 || (id > 0 && id <= m_actions.size() && m_actions[id - 1]);
}

QVariantMap DBusMenuExporter::properties(int id) const {
    if (id == 0)
        return {{QStringLiteral("children-display"), QStringLiteral("submenu")}};
    if (!hasEntry(id))
        return {};
    const QAction* action = m_actions[id - 1];
    QVariantMap out;
    if (action->isSeparator()) {
        out.insert(QStringLiteral("type"), QStringLiteral("separator"));
    } else {
        out.insert(QStringLiteral("label"), dbusLabel(action->text()));
        out.insert(QStringLiteral("enabled"), action->isEnabled());
    }
    out.insert(QStringLiteral("visible"), action->isVisible());
    return out;
}

DBusMenuLayout DBusMenuExporter::layout(int parentId, int depth) const {
    DBusMenuLayout out{parentId, properties(parentId), {}};
    // Only the root has children; a depth of 0 asks for the entry alone.
    if (parentId != 0 || depth == 0)
        return out;
    for (int id = 1; id <= m_actions.size(); ++id) {
        if (hasEntry(id))
            out.children << DBusMenuLayout{id, properties(id), {}};
    }
    return out;
}

void DBusMenuExporter::activate(int id, const QString& eventId) {
    if (eventId != QLatin1String("clicked") || id <= 0 || !hasEntry(id))
        return;
    QPointer<QAction> action = m_actions[id - 1];
    // After the D-Bus reply: the action may end the program.
    QTimer::singleShot(0, this, [action] {
        if (action && action->isEnabled() && !action->isSeparator())
            action->trigger();
    });
}

DBusMenuAdaptor::DBusMenuAdaptor(DBusMenuExporter* exporter)
    : QDBusAbstractAdaptor(exporter), m_exporter(exporter) {
    connect(exporter, &DBusMenuExporter::layoutChanged, this,
            [this] { Q_EMIT LayoutUpdated(++m_revision, 0); });
}

uint DBusMenuAdaptor::GetLayout(int parentId, int recursionDepth, const QStringList& propertyNames,
                                DBusMenuLayout& layout) {
    layout = m_exporter->layout(parentId, recursionDepth);
    layout.properties = onlyNamed(layout.properties, propertyNames);
    for (DBusMenuLayout& child : layout.children)
        child.properties = onlyNamed(child.properties, propertyNames);
    return m_revision;
}

DBusMenuItemPropertiesList DBusMenuAdaptor::GetGroupProperties(const QList<int>& ids,
                                                               const QStringList& propertyNames) {
    DBusMenuItemPropertiesList out;
    for (int id : ids) {
        if (m_exporter->hasEntry(id))
            out << DBusMenuItemProperties{id, onlyNamed(m_exporter->properties(id), propertyNames)};
    }
    return out;
}

QDBusVariant DBusMenuAdaptor::GetProperty(int id, const QString& name) {
    return QDBusVariant(m_exporter->properties(id).value(name));
}

void DBusMenuAdaptor::Event(int id, const QString& eventId, const QDBusVariant&, uint) {
    m_exporter->activate(id, eventId);
}

QList<int> DBusMenuAdaptor::EventGroup(const DBusMenuEventList& events) {
    QList<int> idErrors;
    for (const DBusMenuEvent& event : events) {
        if (m_exporter->hasEntry(event.id))
            m_exporter->activate(event.id, event.eventId);
        else
            idErrors << event.id;
    }
    return idErrors;
}

bool DBusMenuAdaptor::AboutToShow(int) {
    return false;
}

QList<int> DBusMenuAdaptor::AboutToShowGroup(const QList<int>& ids, QList<int>& idErrors) {
    for (int id : ids) {
        if (!m_exporter->hasEntry(id))
            idErrors << id;
    }
    return {};
}

} // namespace pw::app
