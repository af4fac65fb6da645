#pragma once

#include <QByteArray>
#include <QDBusArgument>
#include <QDBusVariant>
#include <QList>
#include <QMetaType>
#include <QString>
#include <QStringList>
#include <QVariantMap>

class QImage;

namespace quorvane {

// One size of a status icon: ARGB32 pixels in network byte order, row by row.
struct StatusIconPixmap {
    int width = 0;
    int height = 0;
    QByteArray bytes;

    static StatusIconPixmap fromImage(const QImage &image);
    friend bool operator==(const StatusIconPixmap &, const StatusIconPixmap &) = default;
};

// The status item's tool tip as the status area shows it.
struct StatusToolTip {
    QString iconName;
    QList<StatusIconPixmap> iconPixmaps;
    QString title;
    QString text;
};

// One entry of an exported menu, with its children when it opens a submenu.
struct DBusMenuLayoutItem {
    int id = 0;
    QVariantMap properties;
    QList<DBusMenuLayoutItem> children;
};

struct DBusMenuItemProperties {
    int id = 0;
    QVariantMap properties;
};

struct DBusMenuItemKeys {
    int id = 0;
    QStringList properties;
};

struct DBusMenuEvent {
    int id = 0;
    QString eventId;
    QDBusVariant data;
    uint timestamp = 0;
};

// Makes the types above known to the bus marshalling; safe to call more than once.
void registerStatusNotifierTypes();

QDBusArgument &operator<<(QDBusArgument &argument, const StatusIconPixmap &pixmap);
const QDBusArgument &operator>>(const QDBusArgument &argument, StatusIconPixmap &pixmap);
QDBusArgument &operator<<(QDBusArgument &argument, const StatusToolTip &toolTip);
const QDBusArgument &operator>>(const QDBusArgument &argument, StatusToolTip &toolTip);
QDBusArgument &operator<<(QDBusArgument &argument, const DBusMenuLayoutItem &item);
const QDBusArgument &operator>>(const QDBusArgument &argument, DBusMenuLayoutItem &item);
QDBusArgument &operator<<(QDBusArgument &argument, const DBusMenuItemProperties &item);
const QDBusArgument &operator>>(const QDBusArgument &argument, DBusMenuItemProperties &item);
QDBusArgument &operator<<(QDBusArgument &argument, const DBusMenuItemKeys &item);
const QDBusArgument &operator>>(const QDBusArgument &argument, DBusMenuItemKeys &item);
QDBusArgument &operator<<(QDBusArgument &argument, const DBusMenuEvent &event);
const QDBusArgument &operator>>(const QDBusArgument &argument, DBusMenuEvent &event);

} // namespace quorvane

Q_DECLARE_METATYPE(quorvane::StatusIconPixmap)
Q_DECLARE_METATYPE(quorvane::StatusToolTip)
Q_DECLARE_METATYPE(quorvane::DBusMenuLayoutItem)
Q_DECLARE_METATYPE(quorvane::DBusMenuItemProperties)
Q_DECLARE_METATYPE(quorvane::DBusMenuItemKeys)
Q_DECLARE_METATYPE(quorvane::DBusMenuEvent)
