#include "Shared/ClosingWindow.h"

#include <QApplication>
#include <QCloseEvent>
#include <QKeyEvent>
#include <QPushButton>
#include <QScreen>

namespace quorvane {

namespace {

constexpr const char *cancelButtonProperty = "quorvaneCancelButton";

// The first button of window itself (not of a dialog it holds) that shows and answers to
// test; none when no such button shows.
template <typename Test>
QAbstractButton *shownButton(QWidget *window, Test test)
{
    for (QAbstractButton *button : window->findChildren<QAbstractButton *>()) {
        if (button->window() == window && button->isVisibleTo(window) && test(button))
            return button;
    }
    return nullptr;
}

} // namespace

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

void ClosingWindow::releaseNativeWindow()
{
    if (isVisible() || !windowHandle())
        return;
    for (const QWidget *window : QApplication::topLevelWidgets()) {
        if (window == this || !window->isVisible())
            continue;
        for (const QWidget *owner = window->parentWidget(); owner; owner = owner->parentWidget()) {
            if (owner == this)
                return;
        }
    }
    destroy();
}

void ClosingWindow::markAsCancelButton(QAbstractButton *button)
{
    button->setProperty(cancelButtonProperty, true);
}

void ClosingWindow::keyPressEvent(QKeyEvent *event)
{
    // Keys no control took arrive here from the focused one.
    const Qt::KeyboardModifiers modifiers = event->modifiers() & ~Qt::KeypadModifier;
    QAbstractButton *target = nullptr;
    if (modifiers == Qt::NoModifier && (event->key() == Qt::Key_Return || event->key() == Qt::Key_Enter)) {
        target = shownButton(this, [](QAbstractButton *button) {
            const auto *push = qobject_cast<QPushButton *>(button);
            return push && push->isDefault();
        });
    } else if (modifiers == Qt::NoModifier && event->key() == Qt::Key_Escape) {
        target = shownButton(this, [](QAbstractButton *button) { return button->property(cancelButtonProperty).toBool(); });
        if (!target && m_closesOnEscape) {
            event->accept();
            close();
            return;
        }
    }
    if (!target) {
        QWidget::keyPressEvent(event);
        return;
    }
    event->accept();
    if (target->isEnabled())
        target->click();
}

} // namespace quorvane
