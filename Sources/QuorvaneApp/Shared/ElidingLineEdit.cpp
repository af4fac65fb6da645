#include "Shared/ElidingLineEdit.h"

#include <QEvent>
#include <QFontMetricsF>
#include <QPainter>
#include <QStyle>
#include <QStyleOptionFrame>

#include <algorithm>
#include <cmath>

namespace quorvane {

namespace {
// QLineEdit's own room on either side of its text, and for its cursor.
constexpr int textMargin = 2;
constexpr int cursorRoom = 2;
constexpr int fewestCharacters = 4;
} // namespace

ElidingLineEdit::ElidingLineEdit(QWidget *parent)
    : QLineEdit(parent)
{
    setSizePolicy(QSizePolicy::Preferred, QSizePolicy::Fixed);
    connect(this, &QLineEdit::textChanged, this, [this] {
        updateGeometry();
        tellWhole();
    });
}

void ElidingLineEdit::tellWhole()
{
    setToolTip(elided() ? text() : QString());
}

void ElidingLineEdit::resizeEvent(QResizeEvent *event)
{
    QLineEdit::resizeEvent(event);
    tellWhole();
}

int ElidingLineEdit::widthFor(const QString &shown) const
{
    QStyleOptionFrame option;
    initStyleOption(&option);
    const QMargins margins = textMargins() + contentsMargins();
    const int inner = int(std::ceil(QFontMetricsF(font()).horizontalAdvance(shown))) + 2 * textMargin + cursorRoom + margins.left() + margins.right();
    return style()->sizeFromContents(QStyle::CT_LineEdit, &option, QSize(inner, QLineEdit::sizeHint().height()), this).width();
}

QSize ElidingLineEdit::sizeHint() const
{
    return QSize(widthFor(text().isEmpty() ? placeholderText() : text()), QLineEdit::sizeHint().height());
}

QSize ElidingLineEdit::minimumSizeHint() const
{
    const QString full = text().isEmpty() ? placeholderText() : text();
    const QString least = full.size() > fewestCharacters ? full.left(fewestCharacters) + QChar(0x2026) : full;
    return QSize(std::min(widthFor(least), sizeHint().width()), QLineEdit::minimumSizeHint().height());
}

QRect ElidingLineEdit::textRect() const
{
    QStyleOptionFrame option;
    initStyleOption(&option);
    QRect area = style()->subElementRect(QStyle::SE_LineEditContents, &option, this);
    area = area.marginsRemoved(textMargins());
    return area.adjusted(textMargin, 0, -textMargin, 0);
}

bool ElidingLineEdit::elided() const
{
    return !hasFocus() && !text().isEmpty() && QFontMetricsF(font()).horizontalAdvance(text()) > textRect().width();
}

void ElidingLineEdit::paintEvent(QPaintEvent *event)
{
    if (!elided()) {
        QLineEdit::paintEvent(event);
        return;
    }
    // The field's own panel, then the text cut to the room it has.
    QPainter painter(this);
    QStyleOptionFrame option;
    initStyleOption(&option);
    style()->drawPrimitive(QStyle::PE_PanelLineEdit, &option, &painter, this);
    const QRect area = textRect();
    painter.setPen(palette().color(isEnabled() ? QPalette::Active : QPalette::Disabled, QPalette::Text));
    painter.drawText(area, Qt::AlignVCenter | Qt::AlignLeft,
                     fontMetrics().elidedText(text(), Qt::ElideRight, area.width()));
}

void ElidingLineEdit::changeEvent(QEvent *event)
{
    QLineEdit::changeEvent(event);
    if (event->type() == QEvent::FontChange || event->type() == QEvent::StyleChange)
        updateGeometry();
}

} // namespace quorvane
