#pragma once

#include "NotificationScheduler.h"

#include <QDBusConnection>
#include <QLoggingCategory>
#include <QString>

namespace quorvane {

// Who posts a notification, as the session's notification server shows it.
struct NotificationSender {
    QString appName;      // "Quorvane"
    QString iconName;     // a theme icon name
    QString desktopEntry; // the application identifier, its desktop entry's name
};

// Shows request now through org.freedesktop.Notifications.Notify on bus, without waiting for
// the answer (a plain method call: nothing is introspected). No bus, no server or a refused
// call shows nothing and writes one debug line to log.
void postSessionNotification(const QDBusConnection &bus, const NotificationSender &sender,
                             const NotificationRequest &request, const QLoggingCategory &log);

} // namespace quorvane
