#include "CompositorProbe.h"
#include "X11Connection.h"

#include <QGuiApplication>

#include <cstdlib>

namespace quorvane {

bool LinuxCompositorProbe::compositing() const
{
    if (QGuiApplication::platformName() == QLatin1String("offscreen"))
        return true;
    xcb_connection_t *c = x11::connection();
    if (!c)
        return false;
    // The screen of x11::rootWindow(): the first of the connection, as on every usual display.
    const xcb_atom_t selection = x11::atom("_NET_WM_CM_S0");
    if (!selection)
        return false;
    xcb_get_selection_owner_reply_t *reply = xcb_get_selection_owner_reply(c, xcb_get_selection_owner(c, selection), nullptr);
    const bool owned = reply && reply->owner != XCB_NONE;
    std::free(reply);
    return owned;
}

LinuxCompositorProbe &LinuxCompositorProbe::shared()
{
    static LinuxCompositorProbe probe;
    return probe;
}

} // namespace quorvane
