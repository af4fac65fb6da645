#include "Overlays/OverlayWindow.h"

#include <QPainter>

namespace quorvane {

OverlayWindow::OverlayWindow(const QString &title, const QRect &frame, WindowLevel level, Painter paint, bool translucent)
    : m_paint(std::move(paint))
{
    setWindowTitle(title);
    setAttribute(Qt::WA_NoSystemBackground);
    if (translucent)
        setAttribute(Qt::WA_TranslucentBackground); // before the native window exists
    applyWindowLevel(this, level);
    setGeometry(frame);
}

void OverlayWindow::showEvent(QShowEvent *event)
{
    QWidget::showEvent(event);
    // Qt sets the region it wants for its own flags when it maps the window: the mapped
    // window's input region is emptied again.
    clearInputRegion(this);
}

void OverlayWindow::paintEvent(QPaintEvent *)
{
    {
        QPainter painter(this);
        if (testAttribute(Qt::WA_TranslucentBackground)) {
            painter.setCompositionMode(QPainter::CompositionMode_Source);
            painter.fillRect(rect(), Qt::transparent);
            painter.setCompositionMode(QPainter::CompositionMode_SourceOver);
        }
        if (m_paint)
            m_paint(painter, rect());
    }
    // The first frame is drawn once the window manager has framed and mapped the window: its
    // frame loses its input region now.
    if (m_paints == 0)
        clearInputRegion(this);
    if (++m_paints == 1 && onFirstPaint) {
        const auto first = std::move(onFirstPaint);
        onFirstPaint = nullptr;
        first();
    }
}

} // namespace quorvane
