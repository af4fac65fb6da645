#pragma once

#include "Calendar/CalendarItem.h"

#include <QColor>
#include <QConicalGradient>
#include <QDate>
#include <QImage>
#include <QList>
#include <QPointF>
#include <QSize>

#include <optional>
#include <vector>

namespace quorvane {

// A calendar entry with the centre of its circle on the grid (origin top-left, points).
struct Marker {
    CalendarItem item;
    QPointF center;
};

// The grid's measures: the width of one day, the height of one week row and the rows shown.
struct GridMetrics {
    double cellWidth = 0;
    double rowHeight = 0;
    int rows = 0;
};

namespace CalendarMarkers {

inline constexpr double spacing = 13;       // between the circles of one day, and below the middle
inline constexpr double diameter = 10;      // of a circle
inline constexpr double ringDiameter = 15;  // of a timer's ring
inline constexpr double hitRadius = 11;     // a circle takes presses 6 points around it
inline constexpr double mergeDistance = 20; // a cleanup closer than this is a merge target
inline constexpr double dragThreshold = 6;  // how far the pointer goes before a drag starts
inline constexpr double blobDiameter = 34;  // of the goo's discs
inline constexpr int gooBlurRadius = 13;
inline constexpr double cellInset = 1; // kept free between a day's circles and its cell's edges

// Each day's entries in a row 13 points apart, centred under the day number, 13 points below
// the middle of its cell; a row that would reach out of its cell is drawn closer together, and
// one too low for its cell is raised, so every circle and ring stays inside its day. Entries of
// days not on the grid get none.
std::vector<Marker> layout(const std::vector<CalendarItem> &items, const std::vector<QDate> &days, const GridMetrics &grid);
// The nearest mergeable marker other than excluding, strictly closer than 20 points; on a tie
// the first in marker order.
std::optional<QString> mergeTarget(const QPointF &point, const QString &excluding, const std::vector<Marker> &markers);
// The grid index of the day under point, the column and row clamped to the grid; none while
// the grid has no size or the point is not finite.
std::optional<int> cellIndex(const QPointF &point, const GridMetrics &grid);
// The conical gradient of the circle's colours in equal clockwise sectors from straight down,
// with narrow blends between neighbours; gray when there are none.
QConicalGradient gradient(const QPointF &center, const QList<QColor> &colors);
// The goo's shape on an image of size: white discs at the blob centres, blurred, and kept
// (opaque white) wherever the blurred coverage reaches one half; transparent elsewhere.
QImage gooMask(const QSize &size, const std::vector<QPointF> &blobs);

} // namespace CalendarMarkers

} // namespace quorvane
