#pragma once

#include "Session/NotificationScheduler.h"

#include <QDBusConnection>
#include <QLoggingCategory>
#include <QString>

#include <functional>

namespace quorvane {

// Who posts a notification, as the session's notification server shows it.
struct NotificationSender {
    QString appName;      // "Quorvane"
    QString iconName;     // a theme icon name
    QString desktopEntry; // the application identifier, its desktop entry's name
};

// Shows request now through org.freedesktop.Notifications.Notify on bus, without waiting for
// the answer (plain method calls: nothing is introspected). The body reads as written: escaped
// for a server that takes markup in it (its capabilities are asked first). No bus, no server or
// a refused call shows nothing and writes one debug line to log.
void postSessionNotification(const QDBusConnection &bus, const NotificationSender &sender,
                             const NotificationRequest &request, const QLoggingCategory &log);

// Shows request as postSessionNotification does and returns what takes it back
// (org.freedesktop.Notifications.CloseNotification), even before the server has answered.
std::function<void()> postWithdrawableNotification(const QDBusConnection &bus, const NotificationSender &sender,
                                                   const NotificationRequest &request, const QLoggingCategory &log);

} // namespace quorvane
