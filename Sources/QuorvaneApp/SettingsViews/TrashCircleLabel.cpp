#include "SettingsViews/TrashCircleLabel.h"

#include "Shared/FocusRing.h"
#include "Shared/Style.h"
#include "Shared/SymbolIcon.h"

#include <QPainter>

namespace quorvane {

TrashCircleLabel::TrashCircleLabel(QWidget *parent)
    : QAbstractButton(parent)
{
    setFixedSize(22, 22);
    setCursor(Qt::PointingHandCursor);
    setFocusPolicy(Qt::StrongFocus);
    FocusRing::setOwnRing(this);
    setProperty(SymbolIcon::property, QStringLiteral("trash"));
}

QColor TrashCircleLabel::tint() const
{
    return isEnabled() ? Style::errorColor(palette()) : palette().color(QPalette::Disabled, QPalette::WindowText);
}

void TrashCircleLabel::paintEvent(QPaintEvent *)
{
    QPainter painter(this);
    painter.setRenderHint(QPainter::Antialiasing);
    QColor disc = tint();
    disc.setAlphaF(0.12);
    painter.setPen(Qt::NoPen);
    painter.setBrush(disc);
    painter.drawEllipse(rect().adjusted(0, 0, -1, -1));
    // The symbol itself, recoloured to the tint.
    QPixmap glyph = SymbolIcon::icon(QStringLiteral("trash")).pixmap(12, 12);
    QPainter tinting(&glyph);
    tinting.setCompositionMode(QPainter::CompositionMode_SourceIn);
    tinting.fillRect(glyph.rect(), tint());
    tinting.end();
    painter.drawPixmap(QRect(5, 5, 12, 12), glyph);
    if (hasFocus()) {
        painter.setBrush(Qt::NoBrush);
        painter.setPen(QPen(Style::focusColor(palette()), 1.5));
        painter.drawEllipse(rect().adjusted(1, 1, -2, -2));
    }
}

} // namespace quorvane
