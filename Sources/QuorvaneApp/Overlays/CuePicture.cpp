#include "Overlays/CuePicture.h"

#include "Overlays/CueImageCache.h"
#include "Shared/Style.h"

#include <QPainter>

#include <algorithm>

namespace quorvane {

QImage composeCuePicture(const std::optional<BackgroundFill> &wallpaper, const DesktopCue::Fill &cue, double opacity,
                         QSize screen)
{
    QImage picture(screen, QImage::Format_RGB32);
    picture.fill(Qt::black);
    QPainter painter(&picture);
    painter.setRenderHint(QPainter::SmoothPixmapTransform);
    const QRect area(QPoint(0, 0), screen);
    if (wallpaper && wallpaper->kind == BackgroundFill::Kind::image) {
        const QImage own = CueImageCache::read(wallpaper->image);
        if (!own.isNull()) {
            const QSize covering = own.size().scaled(screen, Qt::KeepAspectRatioByExpanding);
            QRect target(QPoint(0, 0), covering);
            target.moveCenter(area.center());
            painter.drawImage(target, own);
        }
    } else if (wallpaper && QColor(wallpaper->color).isValid()) {
        painter.fillRect(area, QColor(wallpaper->color));
    }
    painter.setOpacity(std::clamp(opacity, 0.0, 1.0));
    if (cue.kind == DesktopCue::Fill::Kind::color) {
        painter.fillRect(area, colorFromHex(cue.value));
    } else if (const QImage image = CueImageCache::read(cue.value); !image.isNull()) {
        painter.drawImage(area, image);
    }
    painter.end();
    return picture;
}

} // namespace quorvane
