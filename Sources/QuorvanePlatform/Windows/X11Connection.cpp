#include "Windows/X11Connection.h"

#include <QGuiApplication>
#include <QHash>

#include <cstdlib>

namespace quorvane::x11 {

xcb_connection_t *connection()
{
    auto *app = qGuiApp;
    if (!app || QGuiApplication::platformName() != QLatin1String("xcb"))
        return nullptr;
    auto *native = app->nativeInterface<QNativeInterface::QX11Application>();
    return native ? native->connection() : nullptr;
}

xcb_window_t rootWindow()
{
    xcb_connection_t *c = connection();
    if (!c)
        return 0;
    // Qt's default screen is the first of the connection's setup.
    const xcb_screen_t *screen = xcb_setup_roots_iterator(xcb_get_setup(c)).data;
    return screen ? screen->root : 0;
}

xcb_atom_t atom(const QByteArray &name)
{
    static QHash<QByteArray, xcb_atom_t> cache;
    xcb_connection_t *c = connection();
    if (!c)
        return 0;
    if (auto it = cache.constFind(name); it != cache.constEnd())
        return *it;
    const auto cookie = xcb_intern_atom(c, 0, static_cast<uint16_t>(name.size()), name.constData());
    xcb_intern_atom_reply_t *reply = xcb_intern_atom_reply(c, cookie, nullptr);
    const xcb_atom_t value = reply ? reply->atom : 0;
    std::free(reply);
    if (value)
        cache.insert(name, value);
    return value;
}

void flush()
{
    if (xcb_connection_t *c = connection())
        xcb_flush(c);
}

void sync()
{
    if (xcb_connection_t *c = connection())
        std::free(xcb_get_input_focus_reply(c, xcb_get_input_focus(c), nullptr));
}

} // namespace quorvane::x11
