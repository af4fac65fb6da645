#pragma once

#include "Date.h"

#include <QString>

#include <array>
#include <vector>

namespace quorvane {

// One reminder of a cleanup task: its identifier suffix and when it is due.
struct CleanupFireTime {
    QString suffix; // "" for the task's own day, ".overdueK" for a repeat K days after today
    Date date = 0;

    bool operator==(const CleanupFireTime &) const = default;
};

// When the reminders of one task are due, in the local calendar and time zone.
struct CleanupSchedule {
    static constexpr std::array<int, 8> overdueOffsets = {0, 3, 7, 10, 14, 17, 21, 24};

    static std::vector<CleanupFireTime> fireTimes(Date taskDate, Date now, int notifyMinutes, bool repeatWhileOverdue);
};

} // namespace quorvane
