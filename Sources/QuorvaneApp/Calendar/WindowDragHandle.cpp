#include "Calendar/WindowDragHandle.h"

#include <QMouseEvent>
#include <QWindow>

namespace quorvane {

WindowDragHandle::WindowDragHandle(QWidget *parent)
    : QWidget(parent)
{
}

void WindowDragHandle::mousePressEvent(QMouseEvent *event)
{
    if (event->button() != Qt::LeftButton) {
        QWidget::mousePressEvent(event);
        return;
    }
    ++m_moves;
    if (QWindow *handle = window()->windowHandle())
        handle->startSystemMove();
    event->accept();
}

} // namespace quorvane
