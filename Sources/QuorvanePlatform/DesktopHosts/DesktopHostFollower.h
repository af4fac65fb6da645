#pragma once

#include "DesktopHosts/DesktopHostProcess.h"
#include "DesktopHosts/HostProcessTable.h"

#include <functional>
#include <mutex>
#include <optional>

namespace quorvane {

// The desktop host found once and then followed by its process. While the process found runs
// (its end handle not readable; without one, its pid still naming a process of the same start
// time), every call has the same answer without a look at the table. Once it has ended the
// table is walked again on the next call; when that or any walk finds none, the answer "none"
// stands for searchEveryMs before the next walk. A pid that names another process by the time
// its handle is open (the host ended and another program took its pid) is no host. Safe to
// call from any thread.
class DesktopHostFollower {
public:
    using Clock = std::function<qint64()>; // milliseconds, monotonic

    DesktopHostFollower(HostProcessTable &table, qint64 searchEveryMs, Clock clock);
    ~DesktopHostFollower();
    DesktopHostFollower(const DesktopHostFollower &) = delete;
    DesktopHostFollower &operator=(const DesktopHostFollower &) = delete;

    std::optional<DesktopHostProcess> host();
    // A host this application has just started itself, its pid as the start told it: followed
    // from now on through its end handle, without a walk.
    void follow(DesktopHostProcess process);
    // Forgets the host followed and when the table was last walked.
    void forget();

private:
    bool runs();
    void take(DesktopHostProcess process, int handle);
    void drop();

    HostProcessTable &m_table;
    const qint64 m_searchEveryMs;
    Clock m_clock;
    std::mutex m_mutex;
    std::optional<DesktopHostProcess> m_process;
    int m_handle = -1;
    std::optional<qint64> m_walkedAt; // when the last walk found none
};

} // namespace quorvane
