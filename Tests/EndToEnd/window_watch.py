#!/usr/bin/python3
"""window_watch.py TITLE OPACITY SECONDS: watches the display, every 20 ms from one process, for
a viewable window titled exactly TITLE that covers the whole screen, has OPACITY of the maximum
(to one part in a million) and is kept below (_NET_WM_STATE_BELOW); with OPACITY "any", for any
viewable window titled TITLE. Succeeds once it sees one; fails when it sees two such windows
viewable at once, or none within SECONDS, printing what it saw last. A fourth argument, a file,
is made once the watch has begun. A window that lives two seconds is seen however slowly new
processes start on a loaded machine, which checks one command at a time could miss."""
import ctypes
import sys
import time

title, anything, limit = sys.argv[1].encode(), sys.argv[2] == "any", float(sys.argv[3])
opacity = 0.0 if anything else float(sys.argv[2])
x = ctypes.CDLL("libX11.so.6")
ulong, c_int, ptr = ctypes.c_ulong, ctypes.c_int, ctypes.c_void_p
x.XOpenDisplay.restype = ptr
x.XOpenDisplay.argtypes = [ctypes.c_char_p]
x.XDefaultRootWindow.restype = ulong
x.XDefaultRootWindow.argtypes = [ptr]
x.XInternAtom.restype = ulong
x.XInternAtom.argtypes = [ptr, ctypes.c_char_p, c_int]
x.XQueryTree.argtypes = [ptr, ulong, ctypes.POINTER(ulong), ctypes.POINTER(ulong),
                         ctypes.POINTER(ctypes.POINTER(ulong)), ctypes.POINTER(ctypes.c_uint)]
x.XFetchName.argtypes = [ptr, ulong, ctypes.POINTER(ctypes.c_char_p)]
x.XGetWindowProperty.argtypes = [ptr, ulong, ulong, ctypes.c_long, ctypes.c_long, c_int, ulong,
                                 ctypes.POINTER(ulong), ctypes.POINTER(c_int), ctypes.POINTER(ulong),
                                 ctypes.POINTER(ulong), ctypes.POINTER(ctypes.POINTER(ctypes.c_long))]
x.XFree.argtypes = [ptr]


class Attributes(ctypes.Structure):
    _fields_ = [("x", c_int), ("y", c_int), ("width", c_int), ("height", c_int), ("border_width", c_int),
                ("depth", c_int), ("visual", ptr), ("root", ulong), ("class", c_int), ("bit_gravity", c_int),
                ("win_gravity", c_int), ("backing_store", c_int), ("backing_planes", ulong),
                ("backing_pixel", ulong), ("save_under", c_int), ("colormap", ulong), ("map_installed", c_int),
                ("map_state", c_int), ("all_event_masks", ctypes.c_long), ("your_event_mask", ctypes.c_long),
                ("do_not_propagate_mask", ctypes.c_long), ("override_redirect", c_int), ("screen", ptr)]


x.XGetWindowAttributes.argtypes = [ptr, ulong, ctypes.POINTER(Attributes)]
# A window may go between two requests about it: its errors are ignored, not fatal.
ignore = ctypes.CFUNCTYPE(c_int, ptr, ptr)(lambda display, event: 0)
x.XSetErrorHandler(ignore)

d = x.XOpenDisplay(None)
if not d:
    sys.exit("no display")
root = x.XDefaultRootWindow(d)
opacity_atom = x.XInternAtom(d, b"_NET_WM_WINDOW_OPACITY", 0)
state_atom = x.XInternAtom(d, b"_NET_WM_STATE", 0)
below = x.XInternAtom(d, b"_NET_WM_STATE_BELOW", 0)


def attributes(window):
    a = Attributes()
    return a if x.XGetWindowAttributes(d, window, ctypes.byref(a)) else None


def longs(window, atom):
    kind, size, count, rest = ulong(), c_int(), ulong(), ulong()
    data = ctypes.POINTER(ctypes.c_long)()
    if x.XGetWindowProperty(d, window, atom, 0, 64, 0, 0, ctypes.byref(kind), ctypes.byref(size),
                            ctypes.byref(count), ctypes.byref(rest), ctypes.byref(data)) != 0 or not data:
        return []
    values = [data[i] & 0xFFFFFFFF for i in range(count.value)]
    x.XFree(ctypes.cast(data, ptr))
    return values


def windows(window, depth=0):
    parent, top, count = ulong(), ulong(), ctypes.c_uint()
    children = ctypes.POINTER(ulong)()
    if depth > 3 or not x.XQueryTree(d, window, ctypes.byref(top), ctypes.byref(parent), ctypes.byref(children),
                                     ctypes.byref(count)):
        return
    found = [children[i] for i in range(count.value)]
    if children:
        x.XFree(ctypes.cast(children, ptr))
    for child in found:
        yield child
        yield from windows(child, depth + 1)


def titled(window):
    name = ctypes.c_char_p()
    if not x.XFetchName(d, window, ctypes.byref(name)) or not name.value:
        return False
    same = name.value == title
    x.XFree(ctypes.cast(name, ptr))
    return same


screen = attributes(root)
want = round(opacity * 0xFFFFFFFF)
last = "no viewable window titled %s" % title.decode()
deadline = time.monotonic() + limit
if len(sys.argv) > 4:
    open(sys.argv[4], "w").close()
while time.monotonic() < deadline:
    seen = []
    for window in windows(root):
        a = attributes(window)
        if a and a.map_state == 2 and titled(window):  # IsViewable
            seen.append((window, a))
    if len(seen) > 1:
        sys.exit("%d windows titled %s viewable at once" % (len(seen), title.decode()))
    if seen:
        window, a = seen[0]
        values = longs(window, opacity_atom)
        states = longs(window, state_atom)
        last = "%#x: %dx%d of %dx%d, opacity %s, below %s" % (window, a.width, a.height, screen.width, screen.height,
                                                               values, below in states)
        if anything or ((a.width, a.height) == (screen.width, screen.height) and values
                        and abs(values[0] - want) < 4295 and below in states):
            print(last)
            sys.exit(0)
    time.sleep(0.02)
sys.exit("within %g s, last seen: %s" % (limit, last))
