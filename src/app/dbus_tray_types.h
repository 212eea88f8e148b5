#pragma once

// The structures of the StatusNotifierItem and com.canonical.dbusmenu D-Bus
// interfaces, with their wire signatures.

#include <QDBusArgument>
#include <QDBusVariant>
#include <QImage>
#include <QList>
#include <QMetaType>
#include <QString>
#include <QVariantMap>

namespace pw::app {

// (iiay): width, height and ARGB32 pixels in network byte order.
struct SniPixmap {
    int width = 0;
    int height = 0;
    QByteArray bytes;

    static SniPixmap fromImage(const QImage& image);
};
using SniPixmapList = QList<SniPixmap>;

// (sa(iiay)ss): icon name, icon pixmaps, title, text.
struct SniToolTip {
    QString iconName;
    SniPixmapList pixmaps;
    QString title;
    QString text;
};

// (ia{sv}av): an entry, its properties and its children (each a variant
// holding the same structure).
struct DBusMenuLayout {
    int id = 0;
    QVariantMap properties;
    QList<DBusMenuLayout> children;
};

// (ia{sv})
struct DBusMenuItemProperties {
    int id = 0;
    QVariantMap properties;
};
using DBusMenuItemPropertiesList = QList<DBusMenuItemProperties>;

// (ias)
struct DBusMenuItemKeys {
    int id = 0;
    QStringList names;
};
using DBusMenuItemKeysList = QList<DBusMenuItemKeys>;

// (isvu)
struct DBusMenuEvent {
    int id = 0;
    QString eventId;
    QDBusVariant data;
    uint timestamp = 0;
};
using DBusMenuEventList = QList<DBusMenuEvent>;

// Makes the types above known to Qt D-Bus; safe to call more than once.
void registerDBusTrayTypes();

QDBusArgument& operator<<(QDBusArgument& arg, const SniPixmap& value);
const QDBusArgument& operator>>(const QDBusArgument& arg, SniPixmap& value);
QDBusArgument& operator<<(QDBusArgument& arg, const SniToolTip& value);
const QDBusArgument& operator>>(const QDBusArgument& arg, SniToolTip& value);
QDBusArgument& operator<<(QDBusArgument& arg, const DBusMenuLayout& value);
const QDBusArgument& operator>>(const QDBusArgument& arg, DBusMenuLayout& value);
QDBusArgument& operator<<(QDBusArgument& arg, const DBusMenuItemProperties& value);
const QDBusArgument& operator>>(const QDBusArgument& arg, DBusMenuItemProperties& value);
QDBusArgument& operator<<(QDBusArgument& arg, const DBusMenuItemKeys& value);
const QDBusArgument& operator>>(const QDBusArgument& arg, DBusMenuItemKeys& value);
QDBusArgument& operator<<(QDBusArgument& arg, const DBusMenuEvent& value);
const QDBusArgument& operator>>(const QDBusArgument& arg, DBusMenuEvent& value);

} // namespace pw::app

Q_DECLARE_METATYPE(pw::app::SniPixmap)
Q_DECLARE_METATYPE(pw::app::SniToolTip)
Q_DECLARE_METATYPE(pw::app::DBusMenuLayout)
Q_DECLARE_METATYPE(pw::app::DBusMenuItemProperties)
Q_DECLARE_METATYPE(pw::app::DBusMenuItemKeys)
Q_DECLARE_METATYPE(pw::app::DBusMenuEvent)
