#include "Overlays/TimingCurve.h"

#include <algorithm>
#include <cmath>

namespace quorvane::timing {

namespace {

double bezier(double a, double b, double s)
{
    // One coordinate of the curve through 0, a, b, 1 at parameter s.
    const double u = 1 - s;
    return 3 * u * u * s * a + 3 * u * s * s * b + s * s * s;
}

// The curve's y where its x is t: x grows with s, so bisection finds s.
double cubic(double x1, double y1, double x2, double y2, double t)
{
    if (t <= 0)
        return 0;
    if (t >= 1)
        return 1;
    double lo = 0, hi = 1;
    for (int i = 0; i < 40; ++i) {
        const double mid = (lo + hi) / 2;
        (bezier(x1, x2, mid) < t ? lo : hi) = mid;
    }
    return bezier(y1, y2, (lo + hi) / 2);
}

} // namespace

double easeOut(double t)
{
    return cubic(0, 0, 0.58, 1, t);
}

double easeInEaseOut(double t)
{
    return cubic(0.42, 0, 0.58, 1, t);
}

} // namespace quorvane::timing
