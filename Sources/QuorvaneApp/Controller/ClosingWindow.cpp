#include "Controller/ClosingWindow.h"

#include <QCloseEvent>
#include <QScreen>

namespace quorvane {

ClosingWindow::ClosingWindow(Qt::WindowFlags flags)
    : QWidget(nullptr, flags | Qt::Window)
{
}

void ClosingWindow::centre()
{
    if (const QScreen *screen = this->screen()) {
        QRect frame = frameGeometry();
        frame.moveCenter(screen->availableGeometry().center());
        move(frame.topLeft());
    }
}

void ClosingWindow::closeEvent(QCloseEvent *event)
{
    QWidget::closeEvent(event);
    if (event->isAccepted() && onClose) {
        // Hidden before the owner hears of it, so a change of the activation policy in the
        // callback does not map the closing window again.
        hide();
        const auto callback = onClose; // the owner may release this window from inside it
        callback();
    }
}

} // namespace quorvane
