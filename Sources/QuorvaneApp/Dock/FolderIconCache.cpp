#include "Dock/FolderIconCache.h"
#include "Shared/Style.h"
#include "Shared/SymbolIcon.h"

#include <cmath>

namespace quorvane {

QImage FolderIconCache::drawnFolder(int side)
{
    // The icon set's folder, in a blue that reads on the dock's light and dark backgrounds.
    QImage image = SymbolIcon::pixmap(QStringLiteral("folder.fill"), side, QColor(0x3D, 0x84, 0xC6)).toImage();
    image.setDevicePixelRatio(1.0);
    return image;
}

QImage FolderIconCache::tinted(const QImage &icon, const QColor &colour)
{
    QImage out = icon.convertToFormat(QImage::Format_ARGB32);
    const QColor tint = colour.toHsl();
    for (int y = 0; y < out.height(); ++y) {
        auto *line = reinterpret_cast<QRgb *>(out.scanLine(y));
        for (int x = 0; x < out.width(); ++x) {
            const QColor pixel = QColor::fromRgba(line[x]);
            const QColor mixed = QColor::fromHslF(tint.hslHueF() < 0 ? 0 : tint.hslHueF(), tint.hslSaturationF(),
                                                  pixel.toHsl().lightnessF(), pixel.alphaF());
            line[x] = mixed.rgba();
        }
    }
    return out;
}

QPixmap FolderIconCache::icon(const QString &path, double side, const std::optional<QString> &tintHex)
{
    const int pixels = int(std::lround(side));
    const QString key = path + QLatin1Char('|') + QString::number(pixels) + QLatin1Char('|')
        + (tintHex ? *tintHex : QStringLiteral("-"));
    if (const auto it = m_cache.constFind(key); it != m_cache.constEnd())
        return *it;
    // Every folder shows the application's own folder icon, whatever icon theme is installed.
    QImage image = drawnFolder(pixels);
    if (tintHex) {
        if (const auto colour = optionalColorFromHex(*tintHex))
            image = tinted(image, *colour);
    }
    const QPixmap result = QPixmap::fromImage(image);
    m_cache.insert(key, result);
    return result;
}

} // namespace quorvane
