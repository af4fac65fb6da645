#include "Session/XfconfChannel.h"

#include <QDBusArgument>
#include <QDBusMessage>
#include <QDBusVariant>

namespace quorvane {

namespace {

constexpr int limitMs = 5000;

QDBusMessage method(const char *name)
{
    return QDBusMessage::createMethodCall(QStringLiteral("org.xfce.Xfconf"), QStringLiteral("/org/xfce/Xfconf"),
                                          QStringLiteral("org.xfce.Xfconf"), QLatin1String(name));
}

// An array arrives as a list of variants (av) marshalled in a QDBusArgument; a QVariantList
// goes out as one.
QVariant plain(const QVariant &value)
{
    if (value.userType() == qMetaTypeId<QDBusVariant>())
        return plain(value.value<QDBusVariant>().variant());
    if (value.userType() != qMetaTypeId<QDBusArgument>())
        return value;
    const auto argument = value.value<QDBusArgument>();
    QVariantList list;
    argument.beginArray();
    while (!argument.atEnd()) {
        QDBusVariant item;
        argument >> item;
        list.append(plain(item.variant()));
    }
    argument.endArray();
    return list;
}

} // namespace

XfconfChannel::XfconfChannel(const QString &channel, const QDBusConnection &bus)
    : m_channel(channel)
    , m_bus(bus)
{
}

std::optional<QVariantMap> XfconfChannel::properties(const QString &base, QString &error) const
{
    QDBusMessage call = method("GetAllProperties");
    call << m_channel << base;
    call.setAutoStartService(false); // a daemon started by the bus would run in its environment, not ours
    const QDBusMessage reply = m_bus.call(call, QDBus::Block, limitMs);
    if (reply.type() != QDBusMessage::ReplyMessage || reply.arguments().isEmpty()) {
        // A base with nothing under it is an error of the daemon's; it holds no property.
        if (reply.errorName() == QLatin1String("org.xfce.Xfconf.Error.PropertyNotFound"))
            return QVariantMap();
        error = reply.errorMessage().isEmpty() ? reply.errorName() : reply.errorMessage();
        return std::nullopt;
    }
    QVariantMap result;
    const auto argument = reply.arguments().constFirst().value<QDBusArgument>();
    QMap<QString, QDBusVariant> raw;
    argument >> raw;
    for (auto it = raw.cbegin(); it != raw.cend(); ++it)
        result.insert(it.key(), plain(it.value().variant()));
    return result;
}

std::optional<QVariant> XfconfChannel::property(const QString &name, QString &error) const
{
    QDBusMessage call = method("GetProperty");
    call << m_channel << name;
    call.setAutoStartService(false); // a daemon started by the bus would run in its environment, not ours
    const QDBusMessage reply = m_bus.call(call, QDBus::Block, limitMs);
    if (reply.type() == QDBusMessage::ReplyMessage && !reply.arguments().isEmpty())
        return plain(reply.arguments().constFirst());
    if (reply.errorName() != QLatin1String("org.xfce.Xfconf.Error.PropertyNotFound"))
        error = reply.errorMessage().isEmpty() ? reply.errorName() : reply.errorMessage();
    return std::nullopt;
}

std::optional<QString> XfconfChannel::setProperty(const QString &name, const QVariant &value) const
{
    QDBusMessage call = method("SetProperty");
    call << m_channel << name << QVariant::fromValue(QDBusVariant(value));
    call.setAutoStartService(false); // a daemon started by the bus would run in its environment, not ours
    const QDBusMessage reply = m_bus.call(call, QDBus::Block, limitMs);
    if (reply.type() == QDBusMessage::ReplyMessage)
        return std::nullopt;
    return reply.errorMessage().isEmpty() ? reply.errorName() : reply.errorMessage();
}

std::optional<QString> XfconfChannel::resetProperty(const QString &name) const
{
    QDBusMessage call = method("ResetProperty");
    call << m_channel << name << false;
    call.setAutoStartService(false); // a daemon started by the bus would run in its environment, not ours
    const QDBusMessage reply = m_bus.call(call, QDBus::Block, limitMs);
    if (reply.type() == QDBusMessage::ReplyMessage
        || reply.errorName() == QLatin1String("org.xfce.Xfconf.Error.PropertyNotFound"))
        return std::nullopt;
    return reply.errorMessage().isEmpty() ? reply.errorName() : reply.errorMessage();
}

} // namespace quorvane
