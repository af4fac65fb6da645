#include "CornerSummon.h"

namespace quorvane {

std::optional<QRectF> CornerHitTest::rect(FloatingDockCorner corner, const QRectF &frame)
{
    const double left = frame.x();
    const double bottom = frame.y();
    const double right = frame.x() + frame.width() - side;
    const double top = frame.y() + frame.height() - side;
    switch (corner) {
    case FloatingDockCorner::off:
        return std::nullopt;
    case FloatingDockCorner::topLeft:
        return QRectF(left, top, side, side);
    case FloatingDockCorner::topRight:
        return QRectF(right, top, side, side);
    case FloatingDockCorner::bottomLeft:
        return QRectF(left, bottom, side, side);
    case FloatingDockCorner::bottomRight:
        return QRectF(right, bottom, side, side);
    }
    return std::nullopt;
}

bool CornerHitTest::contains(const QPointF &point, const QRectF &rect)
{
    return rect.x() <= point.x() && point.x() <= rect.x() + rect.width() && rect.y() <= point.y()
        && point.y() <= rect.y() + rect.height();
}

bool CornerHitTest::isInside(const QPointF &point, const std::vector<QRectF> &rects)
{
    for (const QRectF &rect : rects) {
        if (contains(point, rect))
            return true;
    }
    return false;
}

CornerTrigger::Outcome CornerTrigger::pointerMoved(bool inside, bool dragging)
{
    isDragging = dragging;
    if (inside && !dragging) {
        isInside = true;
        if (isDwelling || !isArmed)
            return Outcome::idle;
        isDwelling = true;
        return Outcome::startDwell;
    }
    isInside = inside;
    if (!inside)
        isArmed = true; // leaving the corner re-arms it
    const bool wasDwelling = isDwelling;
    isDwelling = false;
    return wasDwelling ? Outcome::cancelDwell : Outcome::idle;
}

bool CornerTrigger::dwellCompleted()
{
    const bool fire = isDwelling && isInside && isArmed && !isDragging;
    isDwelling = false;
    if (fire)
        isArmed = false;
    return fire;
}

} // namespace quorvane
