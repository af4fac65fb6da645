#pragma once

#include <xcb/xinput.h>

namespace quorvane {

// The few calls of XInput's client library the pointer's watch makes, looked up in the library
// the first time the pointer's motion is watched (a hot corner). Linked, it would be loaded and
// relocated at every start for a watch that many users never ask for.
// Safe to call from any thread; the library, once opened, stays for the life of the process.
struct XInputLibrary {
    xcb_extension_t *id = nullptr;
    xcb_input_xi_query_version_cookie_t (*queryVersion)(xcb_connection_t *c, uint16_t major, uint16_t minor) = nullptr;
    xcb_input_xi_query_version_reply_t *(*queryVersionReply)(xcb_connection_t *c, xcb_input_xi_query_version_cookie_t cookie,
                                                             xcb_generic_error_t **error) = nullptr;
    xcb_void_cookie_t (*selectEventsChecked)(xcb_connection_t *c, xcb_window_t window, uint16_t numMasks,
                                             const xcb_input_event_mask_t *masks) = nullptr;

    // The library with every call found; none when it cannot be opened or lacks one of them.
    static const XInputLibrary *get();
};

} // namespace quorvane
