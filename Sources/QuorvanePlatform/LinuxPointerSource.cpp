#include "PointerSource.h"
#include "X11Connection.h"

#include <QGuiApplication>
#include <QScreen>

#include <cstdlib>

namespace quorvane {

namespace {

// The pointer is read on a connection of its own. A round trip on Qt's connection also wakes
// Qt's event reader thread for the reply; the corner polls twenty times a second for as long
// as the application runs, so that second wake-up is most of what an idle poll costs.
struct PointerConnection {
    xcb_connection_t *connection = nullptr;
    xcb_window_t root = 0;

    PointerConnection()
    {
        int screenNumber = 0;
        xcb_connection_t *c = xcb_connect(nullptr, &screenNumber);
        if (xcb_connection_has_error(c)) {
            xcb_disconnect(c);
            return;
        }
        xcb_screen_iterator_t it = xcb_setup_roots_iterator(xcb_get_setup(c));
        for (int i = 0; i < screenNumber && it.rem; ++i)
            xcb_screen_next(&it);
        if (!it.rem) {
            xcb_disconnect(c);
            return;
        }
        connection = c;
        root = it.data->root;
    }
    ~PointerConnection()
    {
        if (connection)
            xcb_disconnect(connection);
    }
    PointerConnection(const PointerConnection &) = delete;
    PointerConnection &operator=(const PointerConnection &) = delete;
};

} // namespace

std::optional<PointerSource::State> LinuxPointerSource::read() const
{
    // Only where the application itself runs on X11; then on the same display as Qt's.
    if (!x11::connection())
        return std::nullopt;
    static PointerConnection own;
    xcb_connection_t *c = own.connection ? own.connection : x11::connection();
    const xcb_window_t root = own.connection ? own.root : x11::rootWindow();
    if (!root)
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
