#include "Shared/FocusRing.h"

#include <QApplication>
#include <QFocusFrame>
#include <QMenu>
#include <QPointer>

namespace quorvane {

namespace {

constexpr const char *ownRingProperty = "quorvaneOwnFocusRing";

QPointer<QFocusFrame> &frame()
{
    static QPointer<QFocusFrame> ring;
    return ring;
}

bool wantsRing(const QWidget *widget)
{
    return widget && !widget->isWindow() && widget->focusPolicy() != Qt::NoFocus
        && !widget->property(ownRingProperty).toBool() && !qobject_cast<const QMenu *>(widget->window())
        && widget->window()->windowType() != Qt::Popup;
}

void moveTo(QWidget *widget)
{
    QPointer<QFocusFrame> &ring = frame();
    if (!wantsRing(widget)) {
        if (ring)
            ring->setWidget(nullptr);
        return;
    }
    // The frame lives beside its control, so it goes when the control's parent goes.
    if (!ring)
        ring = new QFocusFrame(widget);
    ring->setWidget(widget);
}

} // namespace

void FocusRing::follow()
{
    static bool following = false;
    if (following)
        return;
    following = true;
    QObject::connect(qApp, &QApplication::focusChanged, qApp, [](QWidget *, QWidget *now) { moveTo(now); });
    moveTo(QApplication::focusWidget());
}

QWidget *FocusRing::target()
{
    const QPointer<QFocusFrame> &ring = frame();
    return ring && ring->isVisible() ? ring->widget() : nullptr;
}

void FocusRing::setOwnRing(QWidget *widget)
{
    widget->setProperty(ownRingProperty, true);
}

} // namespace quorvane
