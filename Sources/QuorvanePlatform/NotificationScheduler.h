#pragma once

#include <QDateTime>
#include <QString>

#include <vector>

namespace quorvane {

// A notification to be shown once at a given moment.
struct NotificationRequest {
    QString identifier; // a later request with the same identifier replaces it
    QString title;
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
};

// Keeps the pending requests of this process; nothing is posted to the session yet.
class LinuxNotificationScheduler final : public NotificationScheduler {
public:
    void requestAuthorization() override;
    void removeAllPendingRequests() override;
    void add(const NotificationRequest &request) override;

    const std::vector<NotificationRequest> &pendingRequests() const { return m_pending; }

private:
    std::vector<NotificationRequest> m_pending;
};

} // namespace quorvane
