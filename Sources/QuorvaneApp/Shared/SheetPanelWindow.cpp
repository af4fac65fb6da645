#include "Shared/SheetPanelWindow.h"

#include "Windows/CompositorProbe.h"
#include "Windows/WindowLevel.h"

#include <QMouseEvent>
#include <QWindow>

namespace quorvane {

SheetPanelWindow::SheetPanelWindow(const CompositorProbe *compositor)
    : ClosingWindow(Qt::FramelessWindowHint)
{
    // Without a probe given, the display is asked once, here.
    if (compositor ? compositor->compositing() : LinuxCompositorProbe().compositing()) {
        setAttribute(Qt::WA_TranslucentBackground);
    } else {
        // Without a compositor a translucent window shows black where nothing is drawn.
        setAutoFillBackground(true);
    }
}

void SheetPanelWindow::setOpenedFrom(QWidget *from)
{
    QWidget *top = from ? from->window() : nullptr;
    setTransientFor(this, top && top->isVisible() ? top : nullptr);
}

void SheetPanelWindow::mousePressEvent(QMouseEvent *event)
{
    // Presses that no control took arrive here: the background.
    if (m_movable && event->button() == Qt::LeftButton && windowHandle()) {
        windowHandle()->startSystemMove();
        event->accept();
        return;
    }
    ClosingWindow::mousePressEvent(event);
}

} // namespace quorvane
