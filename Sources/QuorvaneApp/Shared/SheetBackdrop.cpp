#include "Shared/SheetBackdrop.h"

#include "Shared/Style.h"

#include <QPainter>
#include <QPainterPath>

namespace quorvane {

SheetBackdrop::SheetBackdrop(QWidget *parent)
    : QWidget(parent)
{
}

void SheetBackdrop::setCornerRadius(qreal radius)
{
    m_radius = radius;
    update();
}

void SheetBackdrop::setStrokeOpacity(qreal opacity)
{
    m_strokeOpacity = opacity;
    update();
}

bool SheetBackdrop::seeThrough() const
{
    return window()->testAttribute(Qt::WA_TranslucentBackground);
}

void SheetBackdrop::paintEvent(QPaintEvent *)
{
    QPainter painter(this);
    painter.setRenderHint(QPainter::Antialiasing);
    const bool clear = seeThrough();
    const qreal radius = clear ? m_radius : 0;
    QColor fill = palette().color(QPalette::Window);
    fill.setAlphaF(clear ? float(fillOpacity) : 1.0f);
    const QRectF bounds = rect();
    QPainterPath shape;
    shape.addRoundedRect(bounds, radius, radius);
    if (clear)
        painter.setCompositionMode(QPainter::CompositionMode_Source);
    painter.fillPath(shape, fill);
    painter.setCompositionMode(QPainter::CompositionMode_SourceOver);
    if (m_strokeOpacity > 0) {
        QColor line = Style::separatorColor(palette());
        line.setAlphaF(float(line.alphaF() * m_strokeOpacity));
        // A 1-pixel line centred half a pixel inside the border lies within the bounds.
        const QRectF inner = bounds.adjusted(0.5, 0.5, -0.5, -0.5);
        painter.setPen(QPen(line, 1));
        painter.setBrush(Qt::NoBrush);
        painter.drawRoundedRect(inner, std::max<qreal>(0, radius - 0.5), std::max<qreal>(0, radius - 0.5));
    }
}

} // namespace quorvane
