#include "SessionNotifications.h"

#include <QDBusMessage>
#include <QDBusPendingCallWatcher>
#include <QDBusPendingReply>
#include <QStringList>
#include <QVariantMap>

namespace quorvane {

namespace {

QDBusMessage notificationsCall(const QString &member)
{
    return QDBusMessage::createMethodCall(QStringLiteral("org.freedesktop.Notifications"),
                                          QStringLiteral("/org/freedesktop/Notifications"),
                                          QStringLiteral("org.freedesktop.Notifications"), member);
}

void notify(const QDBusConnection &bus, const NotificationSender &sender, const NotificationRequest &request,
            const QString &body, const QLoggingCategory &log)
{
    QDBusMessage call = notificationsCall(QStringLiteral("Notify"));
    QVariantMap hints;
    hints.insert(QStringLiteral("desktop-entry"), sender.desktopEntry);
    if (!request.sound)
        hints.insert(QStringLiteral("suppress-sound"), true);
    call << sender.appName << uint(0) << sender.iconName << request.title << body << QStringList() << hints << int(-1);
    auto *watcher = new QDBusPendingCallWatcher(bus.asyncCall(call));
    const QString identifier = request.identifier;
    QObject::connect(watcher, &QDBusPendingCallWatcher::finished, watcher,
                     [&log, identifier](QDBusPendingCallWatcher *done) {
                         const QDBusPendingReply<uint> reply = *done;
                         if (reply.isError())
                             qCDebug(log).noquote() << "notification" << identifier
                                                    << "not shown:" << reply.error().message();
                         done->deleteLater();
                     });
}

} // namespace

void postSessionNotification(const QDBusConnection &bus, const NotificationSender &sender,
                             const NotificationRequest &request, const QLoggingCategory &log)
{
    if (!bus.isConnected()) {
        qCDebug(log).noquote() << "no session bus: notification" << request.identifier << "not shown";
        return;
    }
    // A server that reads markup in a body ("body-markup") would take a name such as "<b>Bold</b>"
    // or "A & B" for markup: it gets the body escaped, so the name reads as written. Any other
    // server shows the body as it stands.
    auto *watcher = new QDBusPendingCallWatcher(bus.asyncCall(notificationsCall(QStringLiteral("GetCapabilities"))));
    QObject::connect(watcher, &QDBusPendingCallWatcher::finished, watcher,
                     [bus, sender, request, &log](QDBusPendingCallWatcher *done) {
                         const QDBusPendingReply<QStringList> capabilities = *done;
                         const bool markup = !capabilities.isError()
                             && capabilities.value().contains(QStringLiteral("body-markup"));
                         notify(bus, sender, request, markup ? request.body.toHtmlEscaped() : request.body, log);
                         done->deleteLater();
                     });
}

} // namespace quorvane
