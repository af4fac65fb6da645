#include "Windows/WidgetActivationPolicy.h"

#include <QApplication>
#include <QVariant>
#include <QWidget>

namespace quorvane {

namespace {

// The window type a window had before accessory mode made it a tool window.
constexpr const char *originalTypeProperty = "quorvaneOriginalWindowType";

bool isApplicationWindow(const QWidget *w)
{
    if (!w->isWindow())
        return false;
    if (w->property(originalTypeProperty).isValid())
        return true; // made a tool window by accessory mode
    const Qt::WindowFlags flags = w->windowFlags();
    if (flags & (Qt::BypassWindowManagerHint | Qt::X11BypassWindowManagerHint))
        return false;
    const Qt::WindowType type = w->windowType();
    return type == Qt::Window || type == Qt::Dialog;
}

void setFlagsKeepingVisibility(QWidget *w, Qt::WindowFlags flags)
{
    if (w->windowFlags() == flags)
        return;
    const bool visible = w->isVisible();
    w->setWindowFlags(flags); // hides the window
    if (visible)
        w->show();
}

} // namespace

void WidgetActivationPolicy::setMode(Mode mode)
{
    m_mode = mode;
    const auto windows = QApplication::topLevelWidgets();
    for (QWidget *w : windows) {
        if (!isApplicationWindow(w))
            continue;
        const QVariant original = w->property(originalTypeProperty);
        if (mode == Mode::accessory && !original.isValid()) {
            w->setProperty(originalTypeProperty, int(w->windowType()));
            setFlagsKeepingVisibility(w, (w->windowFlags() & ~Qt::WindowType_Mask) | Qt::Tool);
        } else if (mode == Mode::regular && original.isValid()) {
            w->setProperty(originalTypeProperty, QVariant());
            setFlagsKeepingVisibility(w, (w->windowFlags() & ~Qt::WindowType_Mask) | Qt::WindowType(original.toInt()));
        }
    }
}

void WidgetActivationPolicy::activate()
{
    QWidget *focus = QApplication::activeWindow();
    const auto windows = QApplication::topLevelWidgets();
    for (QWidget *w : windows) {
        if (!isApplicationWindow(w) || !w->isVisible())
            continue;
        w->raise();
        if (!focus)
            focus = w;
    }
    if (focus) {
        focus->raise();
        focus->activateWindow();
    }
}

} // namespace quorvane
