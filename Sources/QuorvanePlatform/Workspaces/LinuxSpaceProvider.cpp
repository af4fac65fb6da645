#include "Windows/X11Connection.h"
#include "Workspaces/SpaceProvider.h"

#include <QVariantMap>

#include <cstdlib>
#include <cstring>

namespace quorvane {

namespace {

// The first 32-bit value of a window's property of that type; none when the property is missing
// or short.
std::optional<std::uint32_t> value32(xcb_window_t window, const char *name, xcb_atom_t type)
{
    xcb_connection_t *c = x11::connection();
    const xcb_atom_t property = x11::atom(name);
    if (!c || !window || !property)
        return std::nullopt;
    const auto cookie = xcb_get_property(c, 0, window, property, type, 0, 1);
    xcb_get_property_reply_t *reply = xcb_get_property_reply(c, cookie, nullptr);
    if (!reply)
        return std::nullopt;
    std::optional<std::uint32_t> value;
    if (reply->format == 32 && reply->type == type && xcb_get_property_value_length(reply) >= 4) {
        std::uint32_t raw = 0;
        std::memcpy(&raw, xcb_get_property_value(reply), sizeof raw);
        value = raw;
    }
    std::free(reply);
    return value;
}

// One CARDINAL of a window's property.
std::optional<std::uint32_t> cardinal(xcb_window_t window, const char *name)
{
    return value32(window, name, XCB_ATOM_CARDINAL);
}

// The window a WINDOW property names; none when it is missing or names none.
std::optional<xcb_window_t> windowProperty(xcb_window_t window, const char *name)
{
    const auto named = value32(window, name, XCB_ATOM_WINDOW);
    return named && *named ? std::optional<xcb_window_t>(*named) : std::nullopt;
}

// True when the window's _NET_WM_STATE holds the state atom.
bool hasState(xcb_window_t window, const char *state)
{
    xcb_connection_t *c = x11::connection();
    const xcb_atom_t property = x11::atom("_NET_WM_STATE");
    const xcb_atom_t wanted = x11::atom(state);
    if (!c || !window || !property || !wanted)
        return false;
    const auto cookie = xcb_get_property(c, 0, window, property, XCB_ATOM_ATOM, 0, 64);
    xcb_get_property_reply_t *reply = xcb_get_property_reply(c, cookie, nullptr);
    if (!reply)
        return false;
    bool found = false;
    if (reply->format == 32 && reply->type == XCB_ATOM_ATOM) {
        const int count = xcb_get_property_value_length(reply) / 4;
        const auto *atoms = static_cast<const xcb_atom_t *>(xcb_get_property_value(reply));
        for (int i = 0; i < count && !found; ++i)
            found = atoms[i] == wanted;
    }
    std::free(reply);
    return found;
}

// A workspace shows a full-screen Space while its active window is full screen and not
// minimised; the workspace keeps its identity, only its kind changes.
constexpr int userSpaceType = 0;
constexpr int fullScreenSpaceType = 4;

bool activeWindowIsFullScreen(xcb_window_t root, std::uint32_t current)
{
    const auto active = windowProperty(root, "_NET_ACTIVE_WINDOW");
    if (!active || !hasState(*active, "_NET_WM_STATE_FULLSCREEN") || hasState(*active, "_NET_WM_STATE_HIDDEN"))
        return false;
    const auto desktop = cardinal(*active, "_NET_WM_DESKTOP");
    return !desktop || *desktop == current || *desktop == SpaceProvider::allDesktops;
}

QVariantMap space(std::int64_t index, int type = userSpaceType)
{
    return {{QStringLiteral("uuid"), LinuxSpaceProvider::identity(index)}, {QStringLiteral("type"), type}};
}

} // namespace

QString LinuxSpaceProvider::identity(std::int64_t index)
{
    return QStringLiteral("ewmh-desktop-%1").arg(index);
}

bool LinuxSpaceProvider::available() const
{
    const xcb_window_t root = x11::rootWindow();
    return cardinal(root, "_NET_NUMBER_OF_DESKTOPS") && cardinal(root, "_NET_CURRENT_DESKTOP");
}

std::optional<std::int64_t> LinuxSpaceProvider::currentDesktop() const
{
    if (const auto current = cardinal(x11::rootWindow(), "_NET_CURRENT_DESKTOP"))
        return std::int64_t(*current);
    return std::nullopt;
}

std::optional<QVariantList> LinuxSpaceProvider::managedDisplaySpaces() const
{
    const xcb_window_t root = x11::rootWindow();
    const auto count = cardinal(root, "_NET_NUMBER_OF_DESKTOPS");
    const auto current = cardinal(root, "_NET_CURRENT_DESKTOP");
    if (!count || !current)
        return std::nullopt;
    QVariantList spaces;
    for (std::uint32_t i = 0; i < *count && i < 1024; ++i)
        spaces.append(space(i));
    QVariantMap display{{QStringLiteral("Display Identifier"), QStringLiteral("Main")},
                        {QStringLiteral("Spaces"), spaces}};
    if (*current < *count)
        display.insert(QStringLiteral("Current Space"),
                       space(*current, activeWindowIsFullScreen(root, *current) ? fullScreenSpaceType : userSpaceType));
    return QVariantList{display};
}

std::optional<SpaceProvider::WindowId> LinuxSpaceProvider::activeWindow() const
{
    if (const auto active = windowProperty(x11::rootWindow(), "_NET_ACTIVE_WINDOW"))
        return WindowId(*active);
    return std::nullopt;
}

std::optional<std::int64_t> LinuxSpaceProvider::windowDesktop(WindowId window) const
{
    if (const auto desktop = cardinal(xcb_window_t(window), "_NET_WM_DESKTOP"))
        return std::int64_t(*desktop);
    return std::nullopt;
}

void LinuxSpaceProvider::moveToCurrentDesktop(WindowId window)
{
    xcb_connection_t *c = x11::connection();
    const xcb_window_t root = x11::rootWindow();
    const auto current = cardinal(root, "_NET_CURRENT_DESKTOP");
    const xcb_atom_t property = x11::atom("_NET_WM_DESKTOP");
    if (!c || !window || !current || !property)
        return;
    // An unmapped window carries the property itself; a mapped one asks the window manager.
    const std::uint32_t desktop = *current;
    xcb_change_property(c, XCB_PROP_MODE_REPLACE, xcb_window_t(window), property, XCB_ATOM_CARDINAL, 32, 1, &desktop);
    xcb_client_message_event_t event;
    std::memset(&event, 0, sizeof event);
    event.response_type = XCB_CLIENT_MESSAGE;
    event.format = 32;
    event.window = xcb_window_t(window);
    event.type = property;
    event.data.data32[0] = desktop;
    event.data.data32[1] = 1; // a normal application
    xcb_send_event(c, 0, root, XCB_EVENT_MASK_SUBSTRUCTURE_REDIRECT | XCB_EVENT_MASK_SUBSTRUCTURE_NOTIFY,
                   reinterpret_cast<const char *>(&event));
    xcb_flush(c);
}

} // namespace quorvane
