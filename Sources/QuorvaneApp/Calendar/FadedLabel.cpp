#include "Calendar/FadedLabel.h"

#include "Shared/Style.h"

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
    const QPalette &source = parentWidget() ? parentWidget()->palette() : palette();
    const QColor text = source.color(QPalette::WindowText);
    const QColor window = source.color(QPalette::Window);
    // The text at that opacity over the window, drawn back towards the text as far as it takes to
    // read at 4.5:1 as drawn: the thin strokes of small antialiased text never reach the colour
    // itself, so the colour aims a little higher.
    const auto mix = [&](float a, float b) { return a * float(m_opacity) + b * float(1 - m_opacity); };
    const QColor blended = QColor::fromRgbF(mix(text.redF(), window.redF()), mix(text.greenF(), window.greenF()),
                                            mix(text.blueF(), window.blueF()));
    const QColor color = Style::readableOn(blended, text, {window}, aimedRatio);
    QPalette faded = palette();
    faded.setColor(QPalette::WindowText, color);
    setPalette(faded);
    m_fading = false;
}

} // namespace quorvane
