#include "Windows/WindowLevel.h"
#include "Windows/X11Connection.h"

#include <xcb/shape.h>

#include <QGuiApplication>
#include <QLoggingCategory>
#include <QSet>
#include <QWidget>
#include <QWindow>

#include <algorithm>
#include <cstdlib>

#include <vector>

namespace quorvane {

namespace {

void setAtoms(xcb_connection_t *c, xcb_window_t window, const char *property, const std::vector<xcb_atom_t> &atoms)
{
    xcb_change_property(c, XCB_PROP_MODE_REPLACE, window, x11::atom(property), XCB_ATOM_ATOM, 32,
                        static_cast<uint32_t>(atoms.size()), atoms.data());
}

// Qt adds the states its own flags stand for to whatever _NET_WM_STATE the unmapped window
// already holds, so these survive its show().
void appendStates(xcb_connection_t *c, xcb_window_t window, const std::vector<xcb_atom_t> &atoms)
{
    xcb_change_property(c, XCB_PROP_MODE_APPEND, window, x11::atom("_NET_WM_STATE"), XCB_ATOM_ATOM, 32,
                        static_cast<uint32_t>(atoms.size()), atoms.data());
}

} // namespace

void applyWindowLevel(QWidget *window, WindowLevel level, WindowBehaviour behaviour)
{
    if (!window)
        return;
    Qt::WindowFlags flags = Qt::FramelessWindowHint | Qt::NoDropShadowWindowHint;
    // Tool windows stay off taskbars; the focusable ones still take the keyboard. A tool tip
    // bypasses the window manager, so nothing stacks a window above it.
    flags |= level == WindowLevel::status ? Qt::ToolTip : Qt::Tool;
    if (behaviour.clickThrough)
        flags |= Qt::WindowTransparentForInput;
    if (!behaviour.focusable)
        flags |= Qt::WindowDoesNotAcceptFocus;
    const bool below = level == WindowLevel::desktop || level == WindowLevel::aboveIcons;
    flags |= below ? Qt::WindowStaysOnBottomHint : Qt::WindowStaysOnTopHint;
    window->setWindowFlags(flags);
    if (!behaviour.focusable)
        window->setAttribute(Qt::WA_ShowWithoutActivating);

    xcb_connection_t *c = x11::connection();
    if (!c)
        return;
    const auto id = static_cast<xcb_window_t>(window->winId()); // creates the native window, unmapped
    const char *type = level == WindowLevel::desktop ? "_NET_WM_WINDOW_TYPE_DESKTOP"
        : level == WindowLevel::status               ? "_NET_WM_WINDOW_TYPE_TOOLTIP"
        : behaviour.focusable                        ? "_NET_WM_WINDOW_TYPE_UTILITY"
                                                     : "_NET_WM_WINDOW_TYPE_DOCK";
    setAtoms(c, id, "_NET_WM_WINDOW_TYPE", {x11::atom(type)});
    std::vector<xcb_atom_t> states{x11::atom("_NET_WM_STATE_SKIP_TASKBAR"), x11::atom("_NET_WM_STATE_SKIP_PAGER")};
    if (behaviour.sticky)
        states.push_back(x11::atom("_NET_WM_STATE_STICKY"));
    appendStates(c, id, states);
    if (behaviour.sticky) {
        // All workspaces, for window managers that read the desktop number rather than the state.
        const uint32_t all = 0xFFFFFFFF;
        xcb_change_property(c, XCB_PROP_MODE_REPLACE, id, x11::atom("_NET_WM_DESKTOP"), XCB_ATOM_CARDINAL, 32, 1, &all);
    }
    if (behaviour.clickThrough)
        clearInputRegion(window);
    xcb_flush(c);
}

void clearInputRegion(QWidget *window)
{
    xcb_connection_t *c = x11::connection();
    if (!window || !c)
        return;
    auto id = static_cast<xcb_window_t>(window->winId());
    xcb_shape_rectangles(c, XCB_SHAPE_SO_SET, XCB_SHAPE_SK_INPUT, XCB_CLIP_ORDERING_UNSORTED, id, 0, 0, 0, nullptr);
    // A reparenting window manager's frame takes the clicks itself unless it copies the
    // window's input region, which not every one does: the frames that hold only this window
    // lose theirs too. A virtual root, which holds every window, is left alone.
    const xcb_window_t root = x11::rootWindow();
    const xcb_atom_t virtualRoot = x11::atom("__SWM_VROOT");
    for (int depth = 0; depth < 8; ++depth) {
        auto *tree = xcb_query_tree_reply(c, xcb_query_tree(c, id), nullptr);
        xcb_window_t parent = XCB_WINDOW_NONE;
        if (tree)
            parent = tree->parent;
        std::free(tree);
        if (parent == XCB_WINDOW_NONE || parent == root)
            break;
        auto *mark = xcb_get_property_reply(c, xcb_get_property(c, 0, parent, virtualRoot, XCB_ATOM_WINDOW, 0, 1), nullptr);
        const bool isVirtualRoot = mark && mark->type != XCB_NONE;
        std::free(mark);
        if (isVirtualRoot)
            break;
        xcb_shape_rectangles(c, XCB_SHAPE_SO_SET, XCB_SHAPE_SK_INPUT, XCB_CLIP_ORDERING_UNSORTED, parent, 0, 0, 0, nullptr);
        id = parent;
    }
    xcb_flush(c);
}

bool overlayServed(const char *overlay)
{
    if (!QGuiApplication::platformName().startsWith(QLatin1String("wayland")))
        return true;
    static QSet<QByteArray> told;
    if (!told.contains(overlay)) {
        told.insert(overlay);
        static const QLoggingCategory log("quorvane.overlays");
        qCInfo(log).noquote() << QStringLiteral("%1 is not shown on Wayland: the compositor, not the application, places "
                                                "its windows")
                                     .arg(QLatin1String(overlay));
    }
    return false;
}

void setTransientFor(QWidget *window, QWidget *owner)
{
    if (!window)
        return;
    QWidget *top = owner ? owner->window() : nullptr;
    if (top == window || (top && !top->testAttribute(Qt::WA_WState_Created)))
        top = nullptr;
    window->winId(); // the native window, unmapped until shown
    if (QWindow *handle = window->windowHandle())
        handle->setTransientParent(top ? top->windowHandle() : nullptr);
    xcb_connection_t *c = x11::connection();
    if (!c)
        return;
    const auto id = static_cast<xcb_window_t>(window->winId());
    if (top) {
        const auto ownerId = static_cast<xcb_window_t>(top->winId());
        xcb_change_property(c, XCB_PROP_MODE_REPLACE, id, XCB_ATOM_WM_TRANSIENT_FOR, XCB_ATOM_WINDOW, 32, 1, &ownerId);
    } else {
        xcb_delete_property(c, id, XCB_ATOM_WM_TRANSIENT_FOR);
    }
    xcb_flush(c);
}

namespace {
constexpr char opacityProperty[] = "quorvaneWindowOpacity";
} // namespace

void setWindowOpacity(QWidget *window, double opacity)
{
    if (!window)
        return;
    opacity = std::clamp(opacity, 0.0, 1.0);
    window->setProperty(opacityProperty, opacity);
    // The offscreen platform draws no window translucent and says so at every change.
    if (QGuiApplication::platformName() == QLatin1String("offscreen"))
        return;
    window->winId();
    if (QWindow *handle = window->windowHandle())
        handle->setOpacity(opacity);
}

double windowOpacity(const QWidget *window)
{
    const QVariant value = window ? window->property(opacityProperty) : QVariant();
    return value.isValid() ? value.toDouble() : 1.0;
}

} // namespace quorvane
