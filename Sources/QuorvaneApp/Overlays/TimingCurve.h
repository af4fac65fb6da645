#pragma once

namespace quorvane::timing {

// The eased progress at t (0 to 1, clamped) of the two animation curves the overlays use:
// cubic Béziers from (0, 0) to (1, 1) with control points (0, 0)-(0.58, 1) for ease-out and
// (0.42, 0)-(0.58, 1) for ease-in-ease-out.
double easeOut(double t);
double easeInEaseOut(double t);

} // namespace quorvane::timing
