#pragma once

#include <QColor>
#include <QPoint>
#include <QRect>

#include <optional>

namespace quorvane {

// What the panels on screen really show, read from the screen's pixels (X11 only; elsewhere
// nothing is known and every answer is empty).
namespace panel_pixels {

// The background around an icon embedded in a tray at iconArea (screen coordinates): the rows of
// the icon's own window above and below the glyph, and a thin strip either side of it.
std::optional<QColor> colourAround(const QRect &iconArea);

// The background of the dock window (a panel) that holds point, or with no point the first dock
// window on screen.
std::optional<QColor> dockColour(std::optional<QPoint> point);

// The screen area of every dock window (panel) on screen.
QList<QRect> dockAreas();

} // namespace panel_pixels

} // namespace quorvane
