#pragma once

class QWidget;

namespace quorvane {

// The ring around the control that has the keyboard focus, in every window of the application:
// one frame follows the focus from control to control, drawn by the application's style in the
// focus colour (Style::focusColor), so the focus shows whatever the control's own style marks.
// A control that draws its focus itself is left to it (setOwnRing).
class FocusRing {
public:
    // The ring's width, and the margin it takes around its control.
    static constexpr int width = 2;

    // Starts following the focus; once for the process, later calls do nothing.
    static void follow();
    // The control the ring stands around now; none when it shows nowhere.
    static QWidget *target();
    // Marks widget as drawing its own focus ring.
    static void setOwnRing(QWidget *widget);
};

} // namespace quorvane
