#include "Session/LinuxNotificationScheduler.h"

#include <algorithm>

namespace quorvane {

LinuxNotificationScheduler::LinuxNotificationScheduler(Scheduler &timers, Post post, SessionEvents *session,
                                                       WallClock clock)
    : m_timers(timers)
    , m_post(std::move(post))
    , m_session(session)
    , m_clock(std::move(clock))
{
    if (m_session)
        m_wakeToken = m_session->observeWake([this] { woke(); });
}

LinuxNotificationScheduler::~LinuxNotificationScheduler()
{
    if (m_session && m_wakeToken)
        m_session->removeObserver(*m_wakeToken);
    removeAllPendingRequests();
}

void LinuxNotificationScheduler::requestAuthorization()
{
    // The session's notification server shows every notification: there is nothing to ask.
}

void LinuxNotificationScheduler::removeAllPendingRequests()
{
    for (const Pending &pending : m_pending) {
        if (pending.timer)
            m_timers.cancel(*pending.timer);
    }
    m_pending.clear();
}

void LinuxNotificationScheduler::add(const NotificationRequest &request)
{
    auto same = std::find_if(m_pending.begin(), m_pending.end(),
                             [&](const Pending &p) { return p.request.identifier == request.identifier; });
    if (same != m_pending.end()) {
        if (same->timer)
            m_timers.cancel(*same->timer);
        m_pending.erase(same);
    }
    if (!request.fireDate.isValid() || secondsUntil(request.fireDate) <= 0)
        return; // due while the application was not running, or never: not shown
    m_pending.push_back(Pending{request, std::nullopt});
    arm(m_pending.size() - 1);
}

std::vector<NotificationRequest> LinuxNotificationScheduler::pendingRequests() const
{
    std::vector<NotificationRequest> out;
    out.reserve(m_pending.size());
    for (const Pending &pending : m_pending)
        out.push_back(pending.request);
    return out;
}

double LinuxNotificationScheduler::secondsUntil(const QDateTime &moment) const
{
    return double(m_clock().msecsTo(moment)) / 1000.0;
}

void LinuxNotificationScheduler::arm(std::size_t index)
{
    Pending &pending = m_pending[index];
    if (pending.timer) {
        m_timers.cancel(*pending.timer);
        pending.timer.reset();
    }
    const double remaining = secondsUntil(pending.request.fireDate);
    if (remaining <= 0) {
        const NotificationRequest request = pending.request;
        m_pending.erase(m_pending.begin() + std::ptrdiff_t(index));
        m_post(request);
        return;
    }
    const QString identifier = pending.request.identifier;
    pending.timer = m_timers.after(std::min(remaining, longestLinkSeconds), [this, identifier] { linkEnded(identifier); });
}

void LinuxNotificationScheduler::linkEnded(const QString &identifier)
{
    auto it = std::find_if(m_pending.begin(), m_pending.end(),
                           [&](const Pending &p) { return p.request.identifier == identifier; });
    if (it == m_pending.end())
        return;
    it->timer.reset(); // that link has run
    arm(std::size_t(it - m_pending.begin()));
}

void LinuxNotificationScheduler::woke()
{
    // The timers' clock stood still during the sleep: arm every request afresh from the wall
    // clock, showing at once those whose time has passed. Work on a copy of the identifiers,
    // since showing one removes it.
    std::vector<QString> identifiers;
    for (const Pending &pending : m_pending)
        identifiers.push_back(pending.request.identifier);
    for (const QString &identifier : identifiers) {
        auto it = std::find_if(m_pending.begin(), m_pending.end(),
                               [&](const Pending &p) { return p.request.identifier == identifier; });
        if (it != m_pending.end())
            arm(std::size_t(it - m_pending.begin()));
    }
}

} // namespace quorvane
