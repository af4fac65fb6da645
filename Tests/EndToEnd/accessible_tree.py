#!/usr/bin/python3
# Prints what assistive technology reads of the applications on the session's accessibility
# bus, one object a line: "<role>|<name>|<x>,<y>,<w>,<h>" (screen coordinates of its box),
# indented by depth. Only showing objects and their showing children are listed.
# Usage: accessible_tree.py [APPLICATION_NAME]
import sys

import dbus

ACCESSIBLE = "org.a11y.atspi.Accessible"
COMPONENT = "org.a11y.atspi.Component"
STATE_SHOWING = 25  # AT-SPI's state bit for "showing"

session = dbus.SessionBus()
address = session.get_object("org.a11y.Bus", "/org/a11y/bus").GetAddress(dbus_interface="org.a11y.Bus")
bus = dbus.bus.BusConnection(address)


def props(name, path):
    return dbus.Interface(bus.get_object(name, path, introspect=False), "org.freedesktop.DBus.Properties")


def node(name, path):
    return bus.get_object(name, path, introspect=False)


def showing(obj):
    states = obj.GetState(dbus_interface=ACCESSIBLE)
    return bool(states[STATE_SHOWING // 32] & (1 << (STATE_SHOWING % 32)))


def walk(name, path, depth, out):
    obj = node(name, path)
    try:
        if depth > 0 and not showing(obj):
            return
        role = obj.GetRoleName(dbus_interface=ACCESSIBLE)
        label = props(name, path).Get(ACCESSIBLE, "Name")
        try:
            x, y, w, h = obj.GetExtents(dbus.UInt32(0), dbus_interface=COMPONENT)
        except dbus.DBusException:
            x = y = w = h = -1
        out.append("%s%s|%s|%d,%d,%d,%d" % ("  " * depth, role, label, x, y, w, h))
        children = obj.GetChildren(dbus_interface=ACCESSIBLE)
    except dbus.DBusException as error:
        print("unreadable %s %s: %s" % (name, path, error), file=sys.stderr)
        return
    for child_name, child_path in children:
        walk(child_name, child_path, depth + 1, out)


wanted = sys.argv[1] if len(sys.argv) > 1 else None
root = node("org.a11y.atspi.Registry", "/org/a11y/atspi/accessible/root")
lines = []
for app_name, app_path in root.GetChildren(dbus_interface=ACCESSIBLE):
    try:
        title = props(app_name, app_path).Get(ACCESSIBLE, "Name")
    except dbus.DBusException:
        continue
    if wanted is None or title == wanted:
        walk(app_name, app_path, 0, lines)
print("\n".join(lines))
