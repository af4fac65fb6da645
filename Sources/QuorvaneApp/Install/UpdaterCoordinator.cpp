#include "Install/UpdaterCoordinator.h"

#include "Shared/Log.h"

namespace quorvane {

UpdaterCoordinator::UpdaterCoordinator(Scheduler &scheduler)
    : m_scheduler(scheduler)
{
}

UpdaterCoordinator::~UpdaterCoordinator()
{
    // A pending re-check holds this object: it goes with it.
    if (m_pending)
        m_scheduler.cancel(*m_pending);
}

bool UpdaterCoordinator::shouldPostponeRelaunch(std::function<void()> release)
{
    if (!isBusy())
        return false;
    qCInfo(Log::app()) << "update ready but a swap is in flight — postponing install until idle";
    waitUntilIdle(std::move(release));
    return true;
}

void UpdaterCoordinator::waitUntilIdle(std::function<void()> release)
{
    if (isBusy()) {
        if (m_pending)
            m_scheduler.cancel(*m_pending); // one pending re-check at a time
        m_pending = m_scheduler.after(recheckSeconds, [this, release = std::move(release)]() mutable {
            m_pending.reset();
            waitUntilIdle(std::move(release));
        });
        return;
    }
    qCInfo(Log::app()) << "swap engine idle — releasing the postponed update";
    if (release)
        release();
}

void UpdaterCoordinator::markInstallBegun()
{
    if (m_inFlight)
        return;
    m_inFlight = true;
    qCInfo(Log::app()) << "update install beginning — TrashWatcher standing down";
}

} // namespace quorvane
