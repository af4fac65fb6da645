#pragma once

#include <QPointF>
#include <QSizeF>

namespace quorvane {

// Where the sweep's band lies and travels on one screen, in the window's content coordinates
// with the origin at the lower left and y upwards. The band always travels from right to left
// or from top to bottom; the sign of the angle only tilts it.
struct SweepGeometry {
    static constexpr double minimumBandWidth = 120;

    bool vertical = false;      // travels from top to bottom
    double travel = 0;          // the screen's length along the travel
    double bandWidth = 0;       // at least minimumBandWidth
    double maskHeight = 0;      // 1.6 times the screen's diagonal
    QPointF start;              // the band's centre before it moves
    QPointF end;                // and when it has passed
    double rotationDegrees = 0; // the band's rotation about its centre, counter-clockwise

    static SweepGeometry forScreen(const QSizeF &screen, double bandFraction, double angleDegrees);
    // The centre at an eased progress from 0 (start) to 1 (end).
    QPointF centreAt(double progress) const { return start + (end - start) * progress; }
};

} // namespace quorvane
