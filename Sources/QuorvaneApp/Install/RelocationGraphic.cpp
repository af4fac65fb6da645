#include "Install/RelocationGraphic.h"

#include "Shared/Style.h"
#include "Shared/SymbolIcon.h"

#include <QApplication>
#include <QIcon>
#include <QPainter>
#include <QPainterPath>
#include <QVariantAnimation>

namespace quorvane {

namespace {
constexpr int gap = 14;
constexpr int arrowSize = 14;
} // namespace

RelocationGraphic::RelocationGraphic(QWidget *parent)
    : QWidget(parent)
    , m_animation(new QVariantAnimation(this))
{
    m_animation->setStartValue(0.0);
    m_animation->setEndValue(1.0);
    m_animation->setDuration(halfPeriodMs);
    m_animation->setEasingCurve(QEasingCurve::InOutSine);
    QObject::connect(m_animation, &QVariantAnimation::valueChanged, this, [this](const QVariant &value) {
        m_phase = value.toReal();
        update();
    });
    // Forth and back for ever: each run ends by turning round.
    QObject::connect(m_animation, &QVariantAnimation::finished, this, [this] {
        if (!m_animating)
            return;
        m_animation->setDirection(m_animation->direction() == QAbstractAnimation::Forward ? QAbstractAnimation::Backward
                                                                                          : QAbstractAnimation::Forward);
        m_animation->start();
    });
}

void RelocationGraphic::setAnimating(bool animating)
{
    if (animating == m_animating)
        return;
    m_animating = animating;
    if (animating) {
        m_animation->setDirection(QAbstractAnimation::Forward);
        m_animation->start();
    } else {
        m_animation->stop();
        m_phase = 0;
        update();
    }
}

QSize RelocationGraphic::sizeHint() const
{
    return QSize(2 * tileSize + 2 * gap + arrowSize + 2 * offset, 92);
}

void RelocationGraphic::paintTileFrame(QPainter &painter, const QRectF &rect)
{
    QPainterPath tile;
    tile.addRoundedRect(rect.adjusted(0.5, 0.5, -0.5, -0.5), tileRadius, tileRadius);
    painter.fillPath(tile, palette().color(QPalette::Base));
    QColor stroke = Style::separatorColor(palette());
    stroke.setAlphaF(stroke.alphaF() * 0.6);
    painter.setPen(QPen(stroke, 1));
    painter.drawPath(tile);
}

void RelocationGraphic::paintAppTile(QPainter &painter, const QRectF &rect)
{
    const QIcon own = QApplication::windowIcon();
    if (own.isNull()) {
        paintTile(painter, rect, QStringLiteral("square.grid.2x2.fill"), palette().color(QPalette::Highlight));
        return;
    }
    // The application's own icon, as the desktop shows it in its menus and panels.
    paintTileFrame(painter, rect);
    const QRectF iconRect(rect.center() - QPointF(appIconSize / 2.0, appIconSize / 2.0), QSizeF(appIconSize, appIconSize));
    own.paint(&painter, iconRect.toRect());
}

void RelocationGraphic::paintTile(QPainter &painter, const QRectF &rect, const QString &symbol, const QColor &tint)
{
    paintTileFrame(painter, rect);
    const QRectF symbolRect(rect.center() - QPointF(symbolSize / 2.0, symbolSize / 2.0), QSizeF(symbolSize, symbolSize));
    QPixmap pixmap = SymbolIcon::icon(symbol).pixmap(symbolSize, symbolSize);
    // The symbol takes the tile's tint.
    QPainter tinting(&pixmap);
    tinting.setCompositionMode(QPainter::CompositionMode_SourceIn);
    tinting.fillRect(pixmap.rect(), tint);
    tinting.end();
    painter.drawPixmap(symbolRect.toRect(), pixmap);
}

void RelocationGraphic::paintEvent(QPaintEvent *)
{
    QPainter painter(this);
    painter.setRenderHint(QPainter::Antialiasing);
    const qreal width = 2 * tileSize + 2 * gap + arrowSize;
    const qreal left = (this->width() - width) / 2.0;
    const qreal top = (height() - tileSize) / 2.0;
    const qreal shift = -offset + 2 * offset * m_phase;
    paintAppTile(painter, QRectF(left + shift, top, tileSize, tileSize));

    QColor tertiary = palette().color(QPalette::PlaceholderText);
    painter.setOpacity(0.3 + 0.7 * m_phase);
    QPixmap arrow = SymbolIcon::icon(QStringLiteral("arrow.right")).pixmap(arrowSize, arrowSize);
    QPainter tinting(&arrow);
    tinting.setCompositionMode(QPainter::CompositionMode_SourceIn);
    tinting.fillRect(arrow.rect(), tertiary);
    tinting.end();
    painter.drawPixmap(QPointF(left + tileSize + gap, (height() - arrowSize) / 2.0), arrow);
    painter.setOpacity(1.0);

    paintTile(painter, QRectF(left + tileSize + 2 * gap + arrowSize, top, tileSize, tileSize), QStringLiteral("folder.fill"),
              palette().color(QPalette::Disabled, QPalette::WindowText));
}

} // namespace quorvane
