#include "Overlays/SweepGeometry.h"

#include <algorithm>
#include <cmath>
#include <numbers>

namespace quorvane {

SweepGeometry SweepGeometry::forScreen(const QSizeF &screen, double bandFraction, double angleDegrees)
{
    const double theta = angleDegrees * std::numbers::pi / 180.0;
    const double s = std::abs(std::sin(theta));
    const double c = std::abs(std::cos(theta));
    const double m = std::max({s, c, 0.17});
    const double w = screen.width();
    const double h = screen.height();

    SweepGeometry g;
    g.vertical = c < s; // a tie travels horizontally
    g.travel = g.vertical ? h : w;
    g.bandWidth = std::max(g.travel * bandFraction, minimumBandWidth);
    g.maskHeight = std::hypot(w, h) * 1.6;
    const double d = (g.travel + g.bandWidth / m) * 0.5 + 40;
    const QPointF centre(w / 2, h / 2);
    g.start = centre + (g.vertical ? QPointF(0, d) : QPointF(d, 0));
    g.end = centre - (g.vertical ? QPointF(0, d) : QPointF(d, 0));
    g.rotationDegrees = -angleDegrees;
    return g;
}

} // namespace quorvane
