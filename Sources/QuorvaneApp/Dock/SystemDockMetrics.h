#pragma once

#include "FloatingDockTypes.h"
#include "Session/PreferenceReader.h"

#include <QString>
#include <QStringList>

#include <functional>

namespace quorvane {

enum class SystemDockEdge {
    bottom,
    left,
    right
};

// The session dock's preferences that the floating dock sizes and places itself after; read
// afresh on every call. Absent preferences give a 48-point tile at the bottom, not hidden.
namespace SystemDock {

inline const QString domain = QStringLiteral("com.apple.dock");

double tileSize(const PreferenceReader &preferences);
SystemDockEdge edge(const PreferenceReader &preferences);
bool autohide(const PreferenceReader &preferences);

} // namespace SystemDock

// round() of the layout: to the nearest whole number, halves away from zero.
double roundPoints(double value);

// The floating dock's layout measures for a tile size and an axis.
struct DockMetrics {
    // The width of a label in the semibold system font of that size.
    using Measure = std::function<double(const QString &label, double fontSize)>;

    double icon = 0;
    double padV = 0;
    double padH = 0;
    double labelFont = 0;
    double maxLabelWidth = 0;
    double edgeGap = 0;
    bool vertical = false;

    DockMetrics() = default;
    DockMetrics(double tileSize, FloatingDockAxis axis);
    bool operator==(const DockMetrics &) const = default;

    // The one width every tile gets for these labels.
    double tileWidth(const QStringList &labels, const Measure &measure = semiboldWidth) const;
    static double semiboldWidth(const QString &label, double fontSize);
};

} // namespace quorvane
