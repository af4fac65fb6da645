#include "Session/SessionNotifications.h"

#include <QDBusMessage>
#include <QDBusPendingCallWatcher>
#include <QDBusPendingReply>
#include <QStringList>
#include <QVariantMap>

#include <memory>

namespace quorvane {

namespace {

QDBusMessage notificationsCall(const QString &member)
{
    return QDBusMessage::createMethodCall(QStringLiteral("org.freedesktop.Notifications"),
                                          QStringLiteral("/org/freedesktop/Notifications"),
                                          QStringLiteral("org.freedesktop.Notifications"), member);
}

// What a notice that can be taken back knows: the id the server gave it, once it has answered.
struct Shown {
    uint id = 0;
    bool withdrawn = false;
};

void close(const QDBusConnection &bus, uint id)
{
    QDBusMessage call = notificationsCall(QStringLiteral("CloseNotification"));
    call << id;
    bus.call(call, QDBus::NoBlock);
}

void notify(const QDBusConnection &bus, const NotificationSender &sender, const NotificationRequest &request,
            const QString &body, const QLoggingCategory &log, const std::shared_ptr<Shown> &shown = {})
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
                     [&log, identifier, bus, shown](QDBusPendingCallWatcher *done) {
                         const QDBusPendingReply<uint> reply = *done;
                         if (reply.isError())
                             qCDebug(log).noquote() << "notification" << identifier
                                                    << "not shown:" << reply.error().message();
                         else if (shown && (shown->id = reply.value()) && shown->withdrawn)
                             close(bus, shown->id);
                         done->deleteLater();
                     });
}

} // namespace

namespace {

void post(const QDBusConnection &bus, const NotificationSender &sender, const NotificationRequest &request,
          const QLoggingCategory &log, const std::shared_ptr<Shown> &shown)
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
                     [bus, sender, request, &log, shown](QDBusPendingCallWatcher *done) {
                         const QDBusPendingReply<QStringList> capabilities = *done;
                         const bool markup = !capabilities.isError()
                             && capabilities.value().contains(QStringLiteral("body-markup"));
                         if (!(shown && shown->withdrawn))
                             notify(bus, sender, request, markup ? request.body.toHtmlEscaped() : request.body, log, shown);
                         done->deleteLater();
                     });
}

} // namespace

void postSessionNotification(const QDBusConnection &bus, const NotificationSender &sender,
                             const NotificationRequest &request, const QLoggingCategory &log)
{
    post(bus, sender, request, log, {});
}

std::function<void()> postWithdrawableNotification(const QDBusConnection &bus, const NotificationSender &sender,
                                                   const NotificationRequest &request, const QLoggingCategory &log)
{
    auto shown = std::make_shared<Shown>();
    post(bus, sender, request, log, shown);
    return [bus, shown] {
        if (std::exchange(shown->withdrawn, true))
            return;
        if (shown->id && bus.isConnected())
            close(bus, shown->id);
    };
}

} // namespace quorvane
