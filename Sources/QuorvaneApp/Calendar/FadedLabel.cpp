#include "Calendar/FadedLabel.h"

#include <QEvent>

namespace quorvane {

FadedLabel::FadedLabel(const QString &text, qreal opacity, qreal fontScale, QWidget *parent)
    : QLabel(text, parent)
    , m_opacity(opacity)
{
    setTextFormat(Qt::PlainText);
    if (fontScale != 1.0) {
        QFont smaller = font();
        smaller.setPointSizeF(smaller.pointSizeF() * fontScale);
        setFont(smaller);
    }
    fade();
}

void FadedLabel::changeEvent(QEvent *event)
{
    QLabel::changeEvent(event);
    if (event->type() == QEvent::PaletteChange || event->type() == QEvent::ParentChange)
        fade();
}

void FadedLabel::fade()
{
    if (m_fading)
        return;
    m_fading = true;
    QColor color = parentWidget() ? parentWidget()->palette().color(QPalette::WindowText)
                                  : palette().color(QPalette::WindowText);
    color.setAlphaF(float(m_opacity));
    QPalette faded = palette();
    faded.setColor(QPalette::WindowText, color);
    setPalette(faded);
    m_fading = false;
}

} // namespace quorvane
