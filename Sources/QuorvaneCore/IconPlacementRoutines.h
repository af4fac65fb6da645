#pragma once

#include "DesktopSurface.h"

#include <QStringList>

#include <functional>

namespace quorvane {

// Blocks the calling thread for the given seconds. The placement routines take one so that
// tests count the sleeps instead of waiting.
using Sleeper = std::function<void(double seconds)>;

// A plain thread sleep: serves no events while it waits.
void blockingSleep(double seconds);

// The two ways of putting icons at their wanted positions through a surface's position writes.
// A position is in place when a read of the item returns the same x and y; an item the read
// does not return is not in place. Neither routine ever fails: every surface error inside is
// ignored.
namespace placement {

inline constexpr int settlePasses = 3;            // verification passes after the first write
inline constexpr double settlePause = 0.05;       // before the re-write of the second and third pass
inline constexpr int batchPolls = 12;             // most listings of the Desktop while waiting
inline constexpr double batchPollInterval = 0.03; // after each listing still missing a name
inline constexpr int batchCorrections = 1;        // re-writes of the misplaced after the verification

} // namespace placement

// Writes every position, then up to three times reads them back and re-writes the misplaced
// ones (at once on the first pass, after a short pause on the others).
void placeSettling(DesktopSurface &surface, const IconPositions &positions, const Sleeper &sleep = blockingSleep);

// Waits (bounded) until every name in names is listed on the Desktop, writes every position
// once, reads them back and re-writes the misplaced ones once.
void placeBatched(DesktopSurface &surface, const IconPositions &positions, const QStringList &names,
                  const Sleeper &sleep = blockingSleep);

} // namespace quorvane
