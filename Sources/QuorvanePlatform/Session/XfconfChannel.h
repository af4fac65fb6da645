#pragma once

#include <QDBusConnection>
#include <QString>
#include <QVariantMap>

#include <optional>

namespace quorvane {

// One channel of the XFCE settings daemon, over its session-bus interface. Calls block
// without serving events, for at most five seconds. Values keep the daemon's types: a text,
// a number, a Boolean, or a list of such values for an array.
class XfconfChannel {
public:
    explicit XfconfChannel(const QString &channel, const QDBusConnection &bus = QDBusConnection::sessionBus());

    // Every property under base ("/backdrop"), by its full name; none when the daemon cannot
    // be asked, with error naming why.
    std::optional<QVariantMap> properties(const QString &base, QString &error) const;
    // One property; none when it is not set or the daemon cannot be asked (error then says so).
    std::optional<QVariant> property(const QString &name, QString &error) const;
    // None on success, else the failure.
    std::optional<QString> setProperty(const QString &name, const QVariant &value) const;
    std::optional<QString> resetProperty(const QString &name) const;

private:
    QString m_channel;
    QDBusConnection m_bus;
};

} // namespace quorvane
