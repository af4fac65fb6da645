#include "Shared/ElidedLabel.h"

#include <QEvent>
#include <QFontMetricsF>

#include <algorithm>
#include <cmath>

namespace quorvane {

namespace {
// The fewest characters it shows before the ellipsis.
constexpr int fewestCharacters = 4;

// Whole pixels enough for the text's exact width (a rounded width may fall short of it).
int widthOf(const QFont &font, const QString &text)
{
    return int(std::ceil(QFontMetricsF(font).horizontalAdvance(text)));
}
} // namespace

ElidedLabel::ElidedLabel(const QString &text, QWidget *parent)
    : QLabel(parent)
{
    setTextFormat(Qt::PlainText);
    setWordWrap(false);
    setSizePolicy(QSizePolicy::Preferred, QSizePolicy::Preferred);
    setFullText(text);
}

void ElidedLabel::setFullText(const QString &text)
{
    m_full = text;
    updateGeometry();
    elide();
}

QSize ElidedLabel::sizeHint() const
{
    const QMargins margins = contentsMargins();
    return QSize(widthOf(font(), m_full) + margins.left() + margins.right() + 2 * margin(),
                 QLabel::sizeHint().height());
}

QSize ElidedLabel::minimumSizeHint() const
{
    const QString least = m_full.left(fewestCharacters) + QChar(0x2026);
    const QMargins margins = contentsMargins();
    const int width = widthOf(font(), m_full.size() > fewestCharacters ? least : m_full);
    return QSize(std::min(width, sizeHint().width()) + margins.left() + margins.right() + 2 * margin(),
                 QLabel::minimumSizeHint().height());
}

void ElidedLabel::resizeEvent(QResizeEvent *event)
{
    QLabel::resizeEvent(event);
    elide();
}

void ElidedLabel::changeEvent(QEvent *event)
{
    QLabel::changeEvent(event);
    if (event->type() == QEvent::FontChange || event->type() == QEvent::StyleChange) {
        updateGeometry();
        elide();
    }
}

void ElidedLabel::elide()
{
    const int room = contentsRect().width() - 2 * margin();
    const QString shown = fontMetrics().elidedText(m_full, Qt::ElideRight, std::max(room, 0));
    // The label's own text is what it shows; a label not laid out yet shows it whole.
    const QString text = room <= 0 ? m_full : shown;
    if (text != QLabel::text())
        QLabel::setText(text);
    setToolTip(text == m_full ? QString() : m_full);
}

} // namespace quorvane
