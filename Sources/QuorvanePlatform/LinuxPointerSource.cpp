#include "PointerSource.h"
#include "X11Connection.h"

#include <QGuiApplication>
#include <QScreen>

#include <cstdlib>

namespace quorvane {

std::optional<PointerSource::State> LinuxPointerSource::read() const
{
    xcb_connection_t *c = x11::connection();
    const xcb_window_t root = x11::rootWindow();
    if (!c || !root)
        return std::nullopt;
    xcb_query_pointer_reply_t *reply = xcb_query_pointer_reply(c, xcb_query_pointer(c, root), nullptr);
    if (!reply)
        return std::nullopt;
    const bool held = (reply->mask & (XCB_BUTTON_MASK_1 | XCB_BUTTON_MASK_2 | XCB_BUTTON_MASK_3)) != 0;
    // The reply's root position is in device pixels; one round trip serves both answers.
    const QScreen *screen = QGuiApplication::primaryScreen();
    const qreal ratio = screen ? screen->devicePixelRatio() : 1.0;
    const QPointF position(reply->root_x / ratio, reply->root_y / ratio);
    std::free(reply);
    return State{position, held};
}

LinuxPointerSource &LinuxPointerSource::shared()
{
    static LinuxPointerSource source;
    return source;
}

} // namespace quorvane
