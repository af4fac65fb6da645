#include "SessionNotifications.h"

#include <QDBusMessage>
#include <QDBusPendingCallWatcher>
#include <QDBusPendingReply>
#include <QStringList>
#include <QVariantMap>

namespace quorvane {

void postSessionNotification(const QDBusConnection &bus, const NotificationSender &sender,
                             const NotificationRequest &request, const QLoggingCategory &log)
{
    if (!bus.isConnected()) {
        qCDebug(log).noquote() << "no session bus: notification" << request.identifier << "not shown";
        return;
    }
    QDBusMessage call = QDBusMessage::createMethodCall(QStringLiteral("org.freedesktop.Notifications"),
                                                       QStringLiteral("/org/freedesktop/Notifications"),
                                                       QStringLiteral("org.freedesktop.Notifications"),
                                                       QStringLiteral("Notify"));
    QVariantMap hints;
    hints.insert(QStringLiteral("desktop-entry"), sender.desktopEntry);
    if (!request.sound)
        hints.insert(QStringLiteral("suppress-sound"), true);
    call << sender.appName << uint(0) << sender.iconName << request.title << request.body << QStringList() << hints
         << int(-1);
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

} // namespace quorvane
