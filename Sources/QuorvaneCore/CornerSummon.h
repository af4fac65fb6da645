#pragma once

#include "FloatingDockTypes.h"

#include <QPointF>
#include <QRectF>

#include <optional>
#include <vector>

namespace quorvane {

// The hot squares of the dock's summoning corner. Frames and points are in y-up screen
// coordinates (origin at the bottom-left, y growing upwards).
namespace CornerHitTest {

inline constexpr double side = 4.0;

// The hot square of one screen frame; none for off.
std::optional<QRectF> rect(FloatingDockCorner corner, const QRectF &frame);
// Inclusive on all four edges.
bool contains(const QPointF &point, const QRectF &rect);
bool isInside(const QPointF &point, const std::vector<QRectF> &rects);

} // namespace CornerHitTest

// The dwell gesture: fed with pointer movements, it says when a dwell starts or is cancelled,
// and whether a completed dwell fires. It fires at most once per visit to the corner.
struct CornerTrigger {
    enum class Outcome {
        idle,
        startDwell,
        cancelDwell
    };

    bool isInside = false;
    bool isArmed = true;
    bool isDwelling = false;
    bool isDragging = false;

    bool operator==(const CornerTrigger &) const = default;

    void reset() { *this = CornerTrigger(); }
    Outcome pointerMoved(bool inside, bool dragging);
    // The dwell time has passed; true means fire.
    bool dwellCompleted();
};

} // namespace quorvane
