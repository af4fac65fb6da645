#pragma once

#include "FloatingDockTypes.h"

#include <cstdint>
#include <functional>

namespace quorvane {

// Calls onTrigger when the pointer has dwelt in the chosen screen corner.
class CornerWatcher {
public:
    static constexpr double minimumDwell = 0.02;

    std::function<void()> onTrigger;

    // Off stops watching; otherwise watches the corner with a dwell of dwellMs (at least 0.02 s).
    void start(FloatingDockCorner corner, std::int64_t dwellMs);

    FloatingDockCorner corner() const { return m_corner; }
    double dwell() const { return m_dwell; }

private:
    FloatingDockCorner m_corner = FloatingDockCorner::off;
    double m_dwell = 0.05;
};

} // namespace quorvane
