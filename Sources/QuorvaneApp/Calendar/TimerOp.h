#pragma once

#include "Date.h"

#include <QString>

#include <optional>

namespace quorvane {

// One scheduled automatic clearing of a temporary desktop, as the calendar shows it.
// Identified by the desktop.
struct TimerOp {
    QString workspace;
    Date date = 0; // the start of the local day on which the timer falls
    QString colorHex;
    bool drains = false;
    std::optional<QString> drainTarget; // only when drains
    bool idle = false;                  // an idle timer; otherwise a fixed one

    bool operator==(const TimerOp &) const = default;
};

} // namespace quorvane
