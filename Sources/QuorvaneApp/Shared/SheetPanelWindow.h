#pragma once

#include "Shared/ClosingWindow.h"

namespace quorvane {

class CompositorProbe;

// The frameless floating window of the new-desktop form, the calendar and the move prompt. It
// takes the keyboard focus like any normal window, sits at the normal level (users set their
// own), is only hidden when closed and moves when its background is pressed and dragged.
// While a compositing manager runs it is translucent, so its content can draw rounded corners
// over what lies behind; otherwise it is an opaque rectangle. Its shadow is the compositor's.
class SheetPanelWindow : public ClosingWindow {
public:
    // compositor: asked once, when the window is made; none asks the display.
    explicit SheetPanelWindow(const CompositorProbe *compositor = nullptr);

    bool translucent() const { return testAttribute(Qt::WA_TranslucentBackground); }
    // Off: a press on the background no longer moves the window.
    void setMovableByBackground(bool movable) { m_movable = movable; }
    bool movableByBackground() const { return m_movable; }
    // The window it was opened from: the window manager keeps it over that one and tells it
    // as its transient (WM_TRANSIENT_FOR); none, or a window not shown, makes it stand alone.
    // Once it is shown.
    void setOpenedFrom(QWidget *from);

protected:
    void mousePressEvent(QMouseEvent *event) override;

private:
    bool m_movable = true;
};

} // namespace quorvane
