#include "Dock/SystemDockMetrics.h"

#include <QFont>
#include <QFontMetricsF>

#include <algorithm>
#include <cmath>

namespace quorvane {

double roundPoints(double value)
{
    return std::round(value); // std::round rounds halves away from zero
}

double SystemDock::tileSize(const PreferenceReader &preferences)
{
    const auto value = preferences.value(domain, QStringLiteral("tilesize"));
    if (!value)
        return 48;
    bool number = false;
    const double size = value->typeId() == QMetaType::QString ? 0 : value->toDouble(&number);
    if (!number || !(size > 0))
        return 48;
    return std::clamp(size, 16.0, 128.0);
}

SystemDockEdge SystemDock::edge(const PreferenceReader &preferences)
{
    const auto value = preferences.value(domain, QStringLiteral("orientation"));
    if (value && value->typeId() == QMetaType::QString) {
        if (value->toString() == QLatin1String("left"))
            return SystemDockEdge::left;
        if (value->toString() == QLatin1String("right"))
            return SystemDockEdge::right;
    }
    return SystemDockEdge::bottom;
}

bool SystemDock::autohide(const PreferenceReader &preferences)
{
    const auto value = preferences.value(domain, QStringLiteral("autohide"));
    return value && value->typeId() == QMetaType::Bool && value->toBool();
}

DockMetrics::DockMetrics(double tileSize, FloatingDockAxis axis)
{
    vertical = axis == FloatingDockAxis::vertical;
    const double k = vertical ? 0.7 : 1.0;
    icon = std::clamp(roundPoints(tileSize), 24.0, 72.0);
    padV = std::max(roundPoints(icon * 0.18 * k), 5.0);
    padH = std::clamp(roundPoints(icon * 0.35 * k), 8.0, 20.0);
    labelFont = std::clamp(roundPoints(icon * 0.34), 10.0, 13.0);
    maxLabelWidth = std::clamp(roundPoints(icon * (vertical ? 2.1 : 2.6)), vertical ? 56.0 : 64.0, 120.0);
    edgeGap = std::max(icon, 48.0);
}

double DockMetrics::tileWidth(const QStringList &labels, const Measure &measure) const
{
    double widest = -1;
    for (const QString &label : labels)
        widest = std::max(widest, measure(label, labelFont));
    const double extra = vertical ? 6 : 10;
    const double a = widest < 0 ? extra : roundPoints(widest + extra);
    const double b = icon + (vertical ? 10 : 16);
    return std::min(std::max(a, b), maxLabelWidth);
}

double DockMetrics::semiboldWidth(const QString &label, double fontSize)
{
    QFont font;
    font.setPixelSize(int(std::lround(fontSize)));
    font.setWeight(QFont::DemiBold);
    return QFontMetricsF(font).horizontalAdvance(label);
}

} // namespace quorvane
