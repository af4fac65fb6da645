#include "DesktopHosts/DesktopHostFollower.h"

#include <cerrno>

#include <poll.h>
#include <unistd.h>

namespace quorvane {

namespace {

bool readable(int handle)
{
    pollfd entry{handle, POLLIN, 0};
    int ready = 0;
    do
        ready = ::poll(&entry, 1, 0);
    while (ready < 0 && errno == EINTR);
    return ready != 0;
}

} // namespace

DesktopHostFollower::DesktopHostFollower(HostProcessTable &table, qint64 searchEveryMs, Clock clock)
    : m_table(table)
    , m_searchEveryMs(searchEveryMs)
    , m_clock(std::move(clock))
{
}

DesktopHostFollower::~DesktopHostFollower()
{
    drop();
}

std::optional<DesktopHostProcess> DesktopHostFollower::host()
{
    const std::lock_guard lock(m_mutex);
    if (m_process) {
        if (runs())
            return m_process;
        // Ended: looked for again at once, the host may have been started anew.
        drop();
        m_walkedAt.reset();
    }
    if (m_walkedAt && m_clock() - *m_walkedAt < m_searchEveryMs)
        return std::nullopt;
    if (auto found = m_table.findHost()) {
        const int handle = m_table.endHandle(found->pid);
        // The pid looked at may name another process by the time the handle is open: the same
        // start time says the handle is on the process found.
        const auto started = m_table.startTime(found->pid);
        if (started && *started == found->startTime)
            take(std::move(*found), handle);
        else if (handle >= 0)
            ::close(handle);
    }
    if (!m_process)
        m_walkedAt = m_clock();
    return m_process;
}

void DesktopHostFollower::follow(DesktopHostProcess process)
{
    const std::lock_guard lock(m_mutex);
    drop();
    m_walkedAt.reset();
    // The pid comes from the start itself; the handle is the process's own from then on.
    const int handle = m_table.endHandle(process.pid);
    if (handle < 0) {
        const auto started = m_table.startTime(process.pid);
        if (!started)
            return;
        process.startTime = *started;
    }
    take(std::move(process), handle);
}

void DesktopHostFollower::forget()
{
    const std::lock_guard lock(m_mutex);
    drop();
    m_walkedAt.reset();
}

bool DesktopHostFollower::runs()
{
    if (m_handle >= 0)
        return !readable(m_handle);
    const auto started = m_table.startTime(m_process->pid);
    return started && *started == m_process->startTime;
}

void DesktopHostFollower::take(DesktopHostProcess process, int handle)
{
    m_process = std::move(process);
    m_handle = handle;
    if (runs())
        return;
    drop(); // ended between the look and the handle
}

void DesktopHostFollower::drop()
{
    if (m_handle >= 0)
        ::close(m_handle);
    m_handle = -1;
    m_process.reset();
}

} // namespace quorvane
