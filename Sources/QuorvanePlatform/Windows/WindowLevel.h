#pragma once

class QWidget;

namespace quorvane {

// Where a window of the application stands among the others. The levels of the overlays:
//   desktop     the desktop cue's layer: a desktop-type window kept below every other;
//   aboveIcons  the cue's layer over the Desktop's icons and the switch transition, still
//               below normal windows;
//   floating    above normal windows (the dock, the calendar);
//   status      above everything, like the tray's own menus (the scroll display): a tool-tip
//               window the window manager does not manage.
enum class WindowLevel {
    desktop,
    aboveIcons,
    floating,
    status
};

struct WindowBehaviour {
    bool clickThrough = true; // input passes to the windows below
    bool focusable = false;   // may take the keyboard focus and be activated
    bool sticky = true;       // shown on every workspace
};

// Gives a top-level window its level and behaviour before it is first shown: frameless, off
// taskbars and pagers; with X11, the window type and the _NET_WM_STATE hints (sticky, below for
// the first two levels, above for the others) set on the unmapped window, where the window
// manager reads them when it maps it; a click-through window's input region emptied. Nothing
// beyond Qt's own flags without X11.
void applyWindowLevel(QWidget *window, WindowLevel level, WindowBehaviour behaviour = {});

// Empties the input region (X shape extension) of the window and of the window manager's
// frames around it, so that every click and the pointer pass through to the windows below
// whatever the window manager makes of the window's hints; the region lasts until it is set
// again. Call it again once the window is mapped and framed. Nothing without X11.
void clearInputRegion(QWidget *window);

// Whether the platform keeps a window at its level: X11 does (and the offscreen platform, which
// draws nothing). A Wayland compositor places each top-level window itself (sway tiles it and gives
// it the focus), so an overlay that must lie over the Desktop and under every window is not shown
// there. The first time each overlay (named in the log line) is refused, the log says so.
bool overlayServed(const char *overlay);

// Tells the window manager that window belongs to owner's window (WM_TRANSIENT_FOR): it is kept
// over it and told apart from the application's other windows. Set on the window whatever its
// type; call it once the window is shown (Qt's show clears the property of a window that is no
// dialog or tool window; window managers take it while the window is mapped as well). No owner,
// or one not created yet, clears it. Qt's own transient parent follows.
void setTransientFor(QWidget *window, QWidget *owner);

// A top-level window's opacity from 0 to 1, kept exactly (QWidget's own rounds it to 1/255):
// with X11 the compositing manager reads it from _NET_WM_WINDOW_OPACITY.
void setWindowOpacity(QWidget *window, double opacity);
// What setWindowOpacity last gave the window; 1 before that.
double windowOpacity(const QWidget *window);

} // namespace quorvane
