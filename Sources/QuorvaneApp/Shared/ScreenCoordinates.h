#pragma once

#include <QObject>
#include <QPointF>
#include <QRectF>

#include <functional>
#include <vector>

namespace quorvane {

// Geometry is worked out in y-up screen coordinates, origin at the bottom-left corner of the
// primary screen; Qt places windows in y-down coordinates from the primary screen's top-left.
// The flip converts a rectangle either way; primaryBottom is the primary screen's bottom edge
// in Qt coordinates (its y plus its height).
inline QRectF flippedRect(const QRectF &rect, qreal primaryBottom)
{
    return QRectF(rect.x(), primaryBottom - rect.y() - rect.height(), rect.width(), rect.height());
}
inline QPointF flippedPoint(const QPointF &point, qreal primaryBottom)
{
    return QPointF(point.x(), primaryBottom - point.y());
}

// The primary screen's bottom edge in Qt coordinates; 0 without a screen.
qreal primaryScreenBottom();

// Every screen's full frame in y-up coordinates, in Qt's screen order, with the flip axis
// they were converted with.
struct ScreenLayout {
    std::vector<QRectF> frames;
    qreal primaryBottom = 0;
};
ScreenLayout currentScreenLayout();

// Calls fn whenever a screen is added or removed, the primary screen changes, or a screen's
// geometry or available area changes, until context is destroyed.
void observeScreenChanges(QObject *context, std::function<void()> fn);

} // namespace quorvane
