#pragma once

#include <QRectF>

namespace quorvane {

// Geometry is worked out in y-up screen coordinates, origin at the bottom-left corner of the
// primary screen; Qt places windows in y-down coordinates from the primary screen's top-left.
// The flip converts a rectangle either way; primaryBottom is the primary screen's bottom edge
// in Qt coordinates (its y plus its height).
inline QRectF flippedRect(const QRectF &rect, qreal primaryBottom)
{
    return QRectF(rect.x(), primaryBottom - rect.y() - rect.height(), rect.width(), rect.height());
}

// The primary screen's bottom edge in Qt coordinates; 0 without a screen.
qreal primaryScreenBottom();

} // namespace quorvane
