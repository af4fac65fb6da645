#include "SettingsViews/ColorSwatch.h"

#include "Shared/FocusRing.h"
#include "Shared/Style.h"
#include "Shared/SymbolIcon.h"

#include <QPainter>

namespace quorvane {

ColorSwatch::ColorSwatch(const QColor &color, int diameter, bool clickable, QWidget *parent)
    : QAbstractButton(parent)
    , m_color(color)
    , m_diameter(diameter)
{
    setFixedSize(diameter, diameter);
    FocusRing::setOwnRing(this); // its ring follows its round shape
    if (clickable) {
        setCursor(Qt::PointingHandCursor);
        setFocusPolicy(Qt::StrongFocus);
    } else {
        setFocusPolicy(Qt::NoFocus);
        setAttribute(Qt::WA_TransparentForMouseEvents);
    }
}

void ColorSwatch::setColor(const QColor &color)
{
    if (color == m_color)
        return;
    m_color = color;
    update();
}

void ColorSwatch::setSelected(bool selected)
{
    if (selected == m_selected)
        return;
    m_selected = selected;
    update();
}

void ColorSwatch::setSymbol(const QString &symbol, const QColor &glyph)
{
    m_symbol = symbol;
    m_glyph = glyph;
    setProperty(SymbolIcon::property, symbol);
    update();
}

QColor glyphColor(const QColor &on)
{
    const QColor rgb = on.isValid() ? on.toRgb() : QColor(Qt::black);
    const double luma = 0.299 * rgb.redF() + 0.587 * rgb.greenF() + 0.114 * rgb.blueF();
    if (luma > 0.62) {
        QColor black(Qt::black);
        black.setAlphaF(0.7);
        return black;
    }
    return Qt::white;
}

void ColorSwatch::paintEvent(QPaintEvent *)
{
    QPainter painter(this);
    painter.setRenderHint(QPainter::Antialiasing);
    const QRectF box = QRectF(rect()).adjusted(0.5, 0.5, -0.5, -0.5);
    const bool ring = m_selected || hasFocus();
    const QRectF disc = m_diameter > 12 ? box.adjusted(2, 2, -2, -2) : box;
    QColor border = palette().color(QPalette::WindowText);
    border.setAlphaF(0.15);
    // A colour that all but vanishes on the window (black in the dark look) gets an edge that
    // stands 3:1 against it where the round edge is smoothed into the window (4.5:1 drawn).
    const QColor window = palette().color(QPalette::Window);
    if (Style::contrastRatio(m_color, window) < 3.0)
        border = Style::readableOn(palette().color(QPalette::Mid), palette().color(QPalette::WindowText), {window}, 4.5);
    painter.setPen(QPen(border, 1));
    painter.setBrush(m_color);
    painter.drawEllipse(disc);
    if (!m_symbol.isEmpty()) {
        const int size = std::max(6, int(disc.width() * 0.45));
        QPixmap glyph = SymbolIcon::icon(m_symbol).pixmap(size, size);
        QPainter tinting(&glyph);
        tinting.setCompositionMode(QPainter::CompositionMode_SourceIn);
        tinting.fillRect(glyph.rect(), m_glyph);
        tinting.end();
        painter.drawPixmap(QRectF(disc.center() - QPointF(size / 2.0, size / 2.0), QSizeF(size, size)), glyph,
                           QRectF(glyph.rect()));
    }
    if (ring) {
        painter.setBrush(Qt::NoBrush);
        painter.setPen(QPen(m_selected ? palette().color(QPalette::WindowText) : Style::focusColor(palette()), 2));
        painter.drawEllipse(box.adjusted(0.5, 0.5, -0.5, -0.5));
    }
}

} // namespace quorvane
