#include "Calendar/CalendarMarkers.h"

#include <QPainter>

#include <algorithm>
#include <cmath>
#include <map>

namespace quorvane::CalendarMarkers {

std::vector<Marker> layout(const std::vector<CalendarItem> &items, const std::vector<QDate> &days, const GridMetrics &grid)
{
    std::map<QDate, std::vector<const CalendarItem *>> groups;
    std::vector<QDate> order; // groups in the order of their first entry
    for (const CalendarItem &item : items) {
        auto &group = groups[item.day()];
        if (group.empty())
            order.push_back(item.day());
        group.push_back(&item);
    }
    std::vector<Marker> markers;
    for (const QDate &day : order) {
        const auto found = std::find(days.begin(), days.end(), day);
        if (found == days.end())
            continue;
        const auto index = int(found - days.begin());
        const auto &group = groups[day];
        const double n = double(group.size());
        // A timer's ring reaches furthest out; every circle of the day keeps its whole ring or
        // disc inside the cell, so a crowded day draws its circles closer, overlapping.
        const bool ringed = std::any_of(group.begin(), group.end(), [](const CalendarItem *item) { return item->autoTimer; });
        const double reach = (ringed ? ringDiameter : diameter) / 2 + cellInset;
        const double room = std::max(0.0, grid.cellWidth - 2 * reach);
        const double step = n > 1 ? std::min(spacing, room / (n - 1)) : 0.0;
        const double bottom = (index / 7 + 1) * grid.rowHeight - reach;
        const double middle = (index / 7 + 0.5) * grid.rowHeight;
        const double y = std::max(middle, std::min(middle + spacing, bottom));
        for (std::size_t i = 0; i < group.size(); ++i) {
            const double x = (index % 7 + 0.5) * grid.cellWidth + (double(i) - (n - 1) / 2) * step;
            markers.push_back(Marker{*group[i], QPointF(x, y)});
        }
    }
    return markers;
}

std::optional<QString> mergeTarget(const QPointF &point, const QString &excluding, const std::vector<Marker> &markers)
{
    std::optional<QString> best;
    double bestDistance = mergeDistance;
    for (const Marker &marker : markers) {
        if (marker.item.id == excluding || !marker.item.mergeable)
            continue;
        const double distance = std::hypot(marker.center.x() - point.x(), marker.center.y() - point.y());
        if (distance < bestDistance) {
            bestDistance = distance;
            best = marker.item.id;
        }
    }
    return best;
}

std::optional<int> cellIndex(const QPointF &point, const GridMetrics &grid)
{
    if (!(grid.cellWidth > 0) || !(grid.rowHeight > 0) || grid.rows <= 0)
        return std::nullopt;
    if (!std::isfinite(point.x()) || !std::isfinite(point.y()))
        return std::nullopt;
    const double column = std::clamp(point.x() / grid.cellWidth, 0.0, 6.0);
    const double row = std::clamp(point.y() / grid.rowHeight, 0.0, double(grid.rows - 1));
    if (!std::isfinite(column) || !std::isfinite(row))
        return std::nullopt;
    return int(row) * 7 + int(column);
}

QConicalGradient gradient(const QPointF &center, const QList<QColor> &colors)
{
    const QList<QColor> stops = colors.isEmpty() ? QList<QColor>{QColor(calendarGrayHex)} : colors;
    // The sectors run clockwise from straight down; Qt's gradient runs counter-clockwise from
    // three o'clock. Start it straight down (270°) and mirror the positions.
    QConicalGradient out(center, 270);
    const auto put = [&](double clockwise, const QColor &color) { out.setColorAt(1.0 - clockwise, color); };
    const int n = int(stops.size());
    if (n == 1) {
        put(0, stops[0]);
        put(1, stops[0]);
        return out;
    }
    put(0, stops[0]);
    for (int k = 1; k < n; ++k) {
        put(double(k) / n - 0.045, stops[k - 1]);
        put(double(k) / n + 0.045, stops[k]);
    }
    put(0.955, stops[n - 1]);
    put(1.0, stops[0]);
    return out;
}

namespace {

// One pass of a Gaussian blur of the alpha values along rows (step 1) or columns (step width).
void blurPass(const std::vector<float> &in, std::vector<float> &out, int width, int height, bool alongRows,
              const std::vector<float> &kernel)
{
    const int radius = int(kernel.size() / 2);
    for (int y = 0; y < height; ++y) {
        for (int x = 0; x < width; ++x) {
            float sum = 0;
            for (int k = -radius; k <= radius; ++k) {
                const int sx = alongRows ? x + k : x;
                const int sy = alongRows ? y : y + k;
                if (sx < 0 || sy < 0 || sx >= width || sy >= height)
                    continue;
                sum += in[std::size_t(sy) * width + sx] * kernel[std::size_t(k + radius)];
            }
            out[std::size_t(y) * width + x] = sum;
        }
    }
}

} // namespace

QImage gooMask(const QSize &size, const std::vector<QPointF> &blobs)
{
    QImage mask(size, QImage::Format_ARGB32_Premultiplied);
    mask.fill(Qt::transparent);
    if (size.isEmpty() || blobs.empty())
        return mask;
    // Only the neighbourhood of the discs can be kept: blur that part alone.
    QRectF reach;
    for (const QPointF &blob : blobs)
        reach |= QRectF(blob.x() - blobDiameter / 2, blob.y() - blobDiameter / 2, blobDiameter, blobDiameter);
    const QRect area = reach.adjusted(-gooBlurRadius, -gooBlurRadius, gooBlurRadius, gooBlurRadius)
                           .toAlignedRect()
                           .intersected(QRect(QPoint(0, 0), size));
    if (area.isEmpty())
        return mask;

    QImage discs(area.size(), QImage::Format_Alpha8);
    discs.fill(0);
    {
        QPainter painter(&discs);
        painter.setRenderHint(QPainter::Antialiasing);
        painter.setPen(Qt::NoPen);
        painter.setBrush(Qt::white);
        for (const QPointF &blob : blobs)
            painter.drawEllipse(blob - QPointF(area.topLeft()), blobDiameter / 2, blobDiameter / 2);
    }
    const int width = area.width();
    const int height = area.height();
    std::vector<float> alpha(std::size_t(width) * height);
    for (int y = 0; y < height; ++y) {
        const uchar *line = discs.constScanLine(y);
        for (int x = 0; x < width; ++x)
            alpha[std::size_t(y) * width + x] = line[x] / 255.0f;
    }
    // A Gaussian reaching out to the blur radius (two standard deviations).
    const double sigma = gooBlurRadius / 2.0;
    std::vector<float> kernel(std::size_t(2 * gooBlurRadius + 1));
    float total = 0;
    for (int k = -gooBlurRadius; k <= gooBlurRadius; ++k) {
        kernel[std::size_t(k + gooBlurRadius)] = float(std::exp(-(k * k) / (2 * sigma * sigma)));
        total += kernel[std::size_t(k + gooBlurRadius)];
    }
    for (float &weight : kernel)
        weight /= total;
    std::vector<float> across(alpha.size());
    blurPass(alpha, across, width, height, true, kernel);
    blurPass(across, alpha, width, height, false, kernel);

    for (int y = 0; y < height; ++y) {
        auto *line = reinterpret_cast<QRgb *>(mask.scanLine(area.top() + y));
        for (int x = 0; x < width; ++x) {
            if (alpha[std::size_t(y) * width + x] >= 0.5f)
                line[area.left() + x] = qRgba(255, 255, 255, 255);
        }
    }
    return mask;
}

} // namespace quorvane::CalendarMarkers
