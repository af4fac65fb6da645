#pragma once

#include <QColor>
#include <QImage>

#include <vector>

namespace quorvane {

// The status icon's glyph: three rounded bars side by side. Lengths are in glyph units;
// 148 units are 13 points.
class MenuBarGlyph {
public:
    static constexpr double unitsPerBarHeight = 148;
    static constexpr double barHeight = 13;                        // points
    static constexpr double scale = barHeight / unitsPerBarHeight; // points per unit
    static constexpr double gap = 24;                              // units between two bars
    static constexpr int canvasWidth = 22;                         // points
    static constexpr int canvasHeight = 13;                        // points
    // The side of the square tray icon, in points.
    static constexpr int traySide = 22;

    // One frame: a 22 x 13 point image, transparent with the bars in black (a mask that
    // traySquare() tints). Bars are drawn for as many pairs as the shorter list holds.
    static QImage image(const std::vector<double> &widths, const std::vector<double> &radii, qreal devicePixelRatio = 1);

    // A frame placed in the middle of the square icon a tray shows, tinted with the colour.
    static QImage traySquare(const QImage &frame, const QColor &tint);
    // The tint of the tray icon: black, a mask the status item draws in the colour that stands
    // out on its panel (never the application's own look, which says nothing about the panel).
    static QColor defaultTint();
};

} // namespace quorvane
