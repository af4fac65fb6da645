#include "SettingsViews/WallpaperPreview.h"

#include "Overlays/CueImageCache.h"
#include "Shared/Style.h"

#include <QImageReader>
#include <QLinearGradient>
#include <QPainter>
#include <QPainterPath>

namespace quorvane {

namespace {

constexpr qreal cornerRadius = 10;

} // namespace

WallpaperPreview::WallpaperPreview(CueImageCache *cache, QWidget *parent)
    : QWidget(parent)
    , m_cache(cache)
{
    setAttribute(Qt::WA_TransparentForMouseEvents);
    setFocusPolicy(Qt::NoFocus);
    setFixedHeight(84);
    setSizePolicy(QSizePolicy::Expanding, QSizePolicy::Fixed);
}

void WallpaperPreview::setFill(FillKind kind, const QColor &color, const std::optional<QString> &imagePath, double opacity)
{
    if (m_kind == kind && m_color == color && m_imagePath == imagePath && m_opacity == opacity)
        return;
    m_kind = kind;
    m_color = color;
    m_imagePath = imagePath;
    m_opacity = opacity;
    update();
}

QImage WallpaperPreview::image()
{
    if (m_kind != FillKind::image || !m_imagePath)
        return {};
    if (m_cache)
        return m_cache->image(*m_imagePath);
    if (m_readPath != *m_imagePath) {
        m_read = CueImageCache::read(*m_imagePath);
        m_readPath = *m_imagePath;
    }
    return m_read;
}

void WallpaperPreview::paintEvent(QPaintEvent *)
{
    QPainter painter(this);
    painter.setRenderHint(QPainter::Antialiasing);
    painter.setRenderHint(QPainter::SmoothPixmapTransform);
    const QRectF frame = QRectF(rect());
    QPainterPath shape;
    shape.addRoundedRect(frame, cornerRadius, cornerRadius);
    painter.setClipPath(shape);

    // Stands in for the desktop picture.
    QLinearGradient picture(frame.topLeft(), frame.bottomRight());
    QColor blue(0, 122, 255);
    QColor purple(175, 82, 222);
    blue.setAlphaF(0.55f);
    purple.setAlphaF(0.55f);
    picture.setColorAt(0, blue);
    picture.setColorAt(1, purple);
    painter.fillRect(frame, picture);

    painter.setOpacity(m_opacity);
    if (const QImage picked = image(); !picked.isNull()) {
        // Scaled to fill, centred: the part that overflows the frame is cut off.
        const QSizeF scaled = QSizeF(picked.size()).scaled(frame.size(), Qt::KeepAspectRatioByExpanding);
        QRectF target(QPointF(), scaled);
        target.moveCenter(frame.center());
        painter.drawImage(target, picked);
    } else {
        painter.fillRect(frame, m_color);
    }
    painter.setOpacity(1);

    painter.setClipping(false);
    QPen border(Style::separatorColor(palette()), 1);
    painter.setPen(border);
    painter.setBrush(Qt::NoBrush);
    painter.drawRoundedRect(frame.adjusted(0.5, 0.5, -0.5, -0.5), cornerRadius - 0.5, cornerRadius - 0.5);
}

} // namespace quorvane
