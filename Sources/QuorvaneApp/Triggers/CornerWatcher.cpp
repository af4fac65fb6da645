#include "Triggers/CornerWatcher.h"

#include <algorithm>

namespace quorvane {

void CornerWatcher::start(FloatingDockCorner corner, std::int64_t dwellMs)
{
    // The pointer is not monitored yet: with the corner and dwell recorded, nothing ever
    // fires onTrigger, and stopping has no monitor to remove.
    if (corner == FloatingDockCorner::off)
        return;
    m_corner = corner;
    m_dwell = std::max(double(dwellMs) / 1000.0, minimumDwell);
}

} // namespace quorvane
