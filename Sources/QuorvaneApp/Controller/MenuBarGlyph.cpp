#include "Controller/MenuBarGlyph.h"

#include <QPainter>

#include <algorithm>
#include <cmath>

namespace quorvane {

QImage MenuBarGlyph::image(const std::vector<double> &widths, const std::vector<double> &radii, qreal devicePixelRatio)
{
    const qreal dpr = devicePixelRatio > 0 ? devicePixelRatio : 1;
    QImage frame(int(std::lround(canvasWidth * dpr)), int(std::lround(canvasHeight * dpr)),
                 QImage::Format_ARGB32_Premultiplied);
    frame.setDevicePixelRatio(dpr);
    frame.fill(Qt::transparent);

    QPainter painter(&frame);
    painter.setRenderHint(QPainter::Antialiasing);
    painter.setPen(Qt::NoPen);
    painter.setBrush(Qt::black);
    // Every bar spans the full height, so the bottom-left origin of the design and Qt's
    // top-left origin draw the same picture.
    double x = 0;
    const std::size_t count = std::min(widths.size(), radii.size());
    for (std::size_t i = 0; i < count; ++i) {
        const double w = widths[i];
        const double r = std::min(w / 2, radii[i]) * scale;
        painter.drawRoundedRect(QRectF(x * scale, 0, w * scale, barHeight), r, r);
        x += w + gap;
    }
    return frame;
}

QImage MenuBarGlyph::traySquare(const QImage &frame, const QColor &tint)
{
    const qreal dpr = frame.devicePixelRatio();
    QImage square(int(std::lround(traySide * dpr)), int(std::lround(traySide * dpr)), QImage::Format_ARGB32_Premultiplied);
    square.setDevicePixelRatio(dpr);
    square.fill(Qt::transparent);

    QPainter painter(&square);
    const QSizeF size = frame.deviceIndependentSize();
    painter.drawImage(QPointF((traySide - size.width()) / 2, (traySide - size.height()) / 2), frame);
    painter.setCompositionMode(QPainter::CompositionMode_SourceIn);
    painter.fillRect(QRectF(0, 0, traySide, traySide), tint);
    return square;
}

QColor MenuBarGlyph::defaultTint()
{
    return Qt::black;
}

} // namespace quorvane
