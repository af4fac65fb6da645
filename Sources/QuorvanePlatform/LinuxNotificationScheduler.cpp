#include "NotificationScheduler.h"

#include <algorithm>

namespace quorvane {

void LinuxNotificationScheduler::requestAuthorization()
{
    // The session's notification service asks for no permission.
}

void LinuxNotificationScheduler::removeAllPendingRequests()
{
    m_pending.clear();
}

void LinuxNotificationScheduler::add(const NotificationRequest &request)
{
    std::erase_if(m_pending, [&](const NotificationRequest &r) { return r.identifier == request.identifier; });
    m_pending.push_back(request);
}

} // namespace quorvane
