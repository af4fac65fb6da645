#!/usr/bin/python3
# A stand-in for a status area that draws StatusNotifier items, on the session bus:
#   status_host.py serve FILE          keeps the watcher and writes each item's bus name to FILE
#   status_host.py menu NAME           prints the labels of the item's menu, one a line
#   status_host.py click NAME LABEL    clicks the menu entry whose label starts with LABEL
#   status_host.py context NAME X Y    asks the item for its own menu at X, Y
#   status_host.py registered          prints the bus names of the items the watcher has
#   status_host.py layout NAME         prints each entry of the item's menu as a host reads it:
#                                      label|icon-name|shortcut (keys joined with +)|toggle-type
import sys

import dbus
import dbus.service

WATCHER = 'org.kde.StatusNotifierWatcher'


def serve(path):
    import dbus.mainloop.glib
    from gi.repository import GLib
    dbus.mainloop.glib.DBusGMainLoop(set_as_default=True)
    bus = dbus.SessionBus()

    class Watcher(dbus.service.Object):
        def __init__(self):
            super().__init__(bus, '/StatusNotifierWatcher')
            self.items = []

        @dbus.service.method(WATCHER, in_signature='s', sender_keyword='sender')
        def RegisterStatusNotifierItem(self, service, sender=None):
            name = service if service.startswith(':') or '.' in service else sender
            self.items.append(str(name))
            with open(path, 'a') as out:
                out.write(str(name) + '\n')

        @dbus.service.method(WATCHER, in_signature='s')
        def RegisterStatusNotifierHost(self, service):
            pass

        @dbus.service.method(dbus.PROPERTIES_IFACE, in_signature='ss', out_signature='v')
        def Get(self, interface, prop):
            return self.GetAll(interface)[prop]

        @dbus.service.method(dbus.PROPERTIES_IFACE, in_signature='s', out_signature='a{sv}')
        def GetAll(self, interface):
            return {'RegisteredStatusNotifierItems': dbus.Array(self.items, signature='s'),
                    'IsStatusNotifierHostRegistered': True, 'ProtocolVersion': dbus.Int32(0)}

    name = dbus.service.BusName(WATCHER, bus)
    Watcher()
    GLib.MainLoop().run()


def entries(item):
    menu = dbus.SessionBus().get_object(item, '/MenuBar')
    _, layout = menu.GetLayout(0, -1, dbus.Array([], signature='s'), dbus_interface='com.canonical.dbusmenu')
    found = []

    def walk(node):
        ident, props, children = node
        if 'label' in props:
            found.append((int(ident), str(props['label']).replace('_', '')))
        for child in children:
            walk(child)
    walk(layout)
    return menu, found


def main():
    command = sys.argv[1]
    if command == 'serve':
        serve(sys.argv[2])
    elif command == 'menu':
        for _, label in entries(sys.argv[2])[1]:
            print(label)
    elif command == 'click':
        menu, found = entries(sys.argv[2])
        ident = next(i for i, label in found if label.startswith(sys.argv[3]))
        menu.Event(ident, 'clicked', dbus.Int32(0, variant_level=1), dbus.UInt32(0),
                   dbus_interface='com.canonical.dbusmenu')
    elif command == 'registered':
        watcher = dbus.SessionBus().get_object(WATCHER, '/StatusNotifierWatcher')
        for name in watcher.Get(WATCHER, 'RegisteredStatusNotifierItems', dbus_interface=dbus.PROPERTIES_IFACE):
            print(str(name).split('/')[0])
    elif command == 'layout':
        menu = dbus.SessionBus().get_object(sys.argv[2], '/MenuBar')
        _, layout = menu.GetLayout(0, -1, dbus.Array([], signature='s'), dbus_interface='com.canonical.dbusmenu')

        def show(node):
            _, props, children = node
            if 'label' in props:
                keys = ','.join('+'.join(str(k) for k in chord) for chord in props.get('shortcut', []))
                print('|'.join([str(props['label']).replace('_', ''), str(props.get('icon-name', '')), keys,
                                str(props.get('toggle-type', ''))]))
            for child in children:
                show(child)
        show(layout)
    elif command == 'context':
        item = dbus.SessionBus().get_object(sys.argv[2], '/StatusNotifierItem')
        item.ContextMenu(int(sys.argv[3]), int(sys.argv[4]), dbus_interface='org.kde.StatusNotifierItem')


main()
