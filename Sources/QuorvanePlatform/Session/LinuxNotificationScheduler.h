#pragma once

#include "Session/NotificationScheduler.h"
#include "Session/SessionEvents.h"
#include "Work/Scheduler.h"

#include <QDateTime>

#include <functional>
#include <optional>
#include <vector>

namespace quorvane {

// Keeps the pending requests of this process and shows each at its time through post (the
// session's notification server). Timing follows the wall clock: a request waits in links of at
// most an hour, each reading the clock again when it ends, and every request is re-armed when
// the machine wakes, those whose time passed in the sleep being shown at once. A request whose
// time has already passed when it is added is dropped (the caller posts what fell due while the
// application was not running). The session shows every notification, so no permission is asked for.
class LinuxNotificationScheduler final : public NotificationScheduler {
public:
    using Post = std::function<void(const NotificationRequest &)>;
    using WallClock = std::function<QDateTime()>;

    static constexpr double longestLinkSeconds = 3600;

    LinuxNotificationScheduler(Scheduler &timers, Post post, SessionEvents *session = nullptr,
                               WallClock clock = &QDateTime::currentDateTimeUtc);
    ~LinuxNotificationScheduler() override;
    LinuxNotificationScheduler(const LinuxNotificationScheduler &) = delete;
    LinuxNotificationScheduler &operator=(const LinuxNotificationScheduler &) = delete;

    void requestAuthorization() override;
    void removeAllPendingRequests() override;
    void add(const NotificationRequest &request) override;
    void post(const NotificationRequest &request) override { m_post(request); }

    // The requests still waiting, in the order they were added.
    std::vector<NotificationRequest> pendingRequests() const;

private:
    struct Pending {
        NotificationRequest request;
        std::optional<Scheduler::Token> timer;
    };

    double secondsUntil(const QDateTime &moment) const;
    // Waits for the next link of request at index, or shows it when its time has come.
    void arm(std::size_t index);
    void linkEnded(const QString &identifier);
    void woke();

    Scheduler &m_timers;
    Post m_post;
    SessionEvents *m_session;
    WallClock m_clock;
    std::optional<SessionEvents::Token> m_wakeToken;
    std::vector<Pending> m_pending;
};

} // namespace quorvane
