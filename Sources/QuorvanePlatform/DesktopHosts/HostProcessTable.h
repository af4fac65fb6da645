#pragma once

#include "DesktopHosts/DesktopHostProcess.h"

#include <optional>

namespace quorvane {

// The processes of the session as the desktop host's follower looks at them.
class HostProcessTable {
public:
    virtual ~HostProcessTable() = default;
    // Every process of this user looked at in turn (a walk of /proc): the desktop host on this
    // display, with its start time; none when none runs.
    virtual std::optional<DesktopHostProcess> findHost() = 0;
    // When the process of that pid started, in clock ticks since boot; none when no process of
    // that pid runs (a zombie has ended).
    virtual std::optional<quint64> startTime(qint64 pid) = 0;
    // A handle on the process of that pid that becomes readable once it has ended (a pidfd);
    // -1 where the kernel offers none or no such process runs. The caller closes it.
    virtual int endHandle(qint64 pid) = 0;
};

// The Linux table: /proc, and pidfd_open for the handles.
class ProcHostProcessTable final : public HostProcessTable {
public:
    std::optional<DesktopHostProcess> findHost() override { return findDesktopHostProcess(); }
    std::optional<quint64> startTime(qint64 pid) override;
    int endHandle(qint64 pid) override;
};

} // namespace quorvane
