#pragma once

#include <xcb/xcb.h>

#include <QByteArray>

namespace quorvane::x11 {

// Qt's own X connection when the application runs on the xcb platform; null otherwise
// (offscreen, Wayland, no application), so every caller has a path without X11.
xcb_connection_t *connection();
// The root window of Qt's default screen; 0 without X11.
xcb_window_t rootWindow();
// The atom of that name, interned once per process; 0 without X11.
xcb_atom_t atom(const QByteArray &name);
// Sends what Qt and this process have queued for the server; nothing without X11.
void flush();
// A round trip: returns once the server has handled every request sent before; nothing
// without X11.
void sync();

} // namespace quorvane::x11
