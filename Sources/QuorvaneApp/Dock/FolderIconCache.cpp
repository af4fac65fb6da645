#include "Dock/FolderIconCache.h"
#include "Settings/Style.h"

#include <QFileIconProvider>
#include <QFileInfo>
#include <QGuiApplication>
#include <QPainter>
#include <QPainterPath>

#include <cmath>

namespace quorvane {

FolderIconCache &FolderIconCache::shared()
{
    static FolderIconCache cache;
    return cache;
}

QImage FolderIconCache::drawnFolder(int side)
{
    QImage image(side, side, QImage::Format_ARGB32_Premultiplied);
    image.fill(Qt::transparent);
    QPainter painter(&image);
    painter.setRenderHint(QPainter::Antialiasing);
    const double s = side;
    QPainterPath tab;
    tab.addRoundedRect(QRectF(s * 0.08, s * 0.18, s * 0.4, s * 0.2), s * 0.05, s * 0.05);
    painter.fillPath(tab, QColor(0x5A, 0x9B, 0xD5));
    QPainterPath body;
    body.addRoundedRect(QRectF(s * 0.06, s * 0.28, s * 0.88, s * 0.58), s * 0.07, s * 0.07);
    painter.fillPath(body, QColor(0x7C, 0xB8, 0xEA));
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
    QImage image;
    if (QGuiApplication::platformName() != QLatin1String("offscreen")) {
        const QIcon themed = QFileIconProvider().icon(QFileInfo(path));
        if (!themed.isNull())
            image = themed.pixmap(pixels, pixels).toImage();
    }
    if (image.isNull())
        image = drawnFolder(pixels);
    else if (image.width() != pixels)
        image = image.scaled(pixels, pixels, Qt::KeepAspectRatio, Qt::SmoothTransformation);
    if (tintHex) {
        if (const auto colour = optionalColorFromHex(*tintHex))
            image = tinted(image, *colour);
    }
    const QPixmap result = QPixmap::fromImage(image);
    m_cache.insert(key, result);
    return result;
}

} // namespace quorvane
