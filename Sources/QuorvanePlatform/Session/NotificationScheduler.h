#pragma once

#include <QDateTime>
#include <QString>

namespace quorvane {

// A notification to be shown once at a given moment.
struct NotificationRequest {
    QString identifier; // a later request with the same identifier replaces it
    QString title;
    QString body;
    bool sound = true; // false: shown silently
    QDateTime fireDate;

    bool operator==(const NotificationRequest &) const = default;
};

// The user-notification centre: pending requests and the user's authorisation.
class NotificationScheduler {
public:
    virtual ~NotificationScheduler() = default;
    // Asks for permission to show alerts and play sounds.
    virtual void requestAuthorization() = 0;
    virtual void removeAllPendingRequests() = 0;
    virtual void add(const NotificationRequest &request) = 0;
    // Shows the request at once, whatever its time.
    virtual void post(const NotificationRequest &request) = 0;
};

} // namespace quorvane
