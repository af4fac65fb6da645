#!/usr/bin/python3
# A stand-in for KDE's shortcut service on a test's own session bus: it keeps each action's
# keys, gives an action only the keys no other action holds (Ctrl+Alt+9 belongs to another
# program from the start) and, asked through its test interface, presses a key.
import dbus
import dbus.mainloop.glib
import dbus.service
from gi.repository import GLib

dbus.mainloop.glib.DBusGMainLoop(set_as_default=True)
bus = dbus.SessionBus()
CTRL, ALT = 0x04000000, 0x08000000


class Component(dbus.service.Object):
    def __init__(self, name):
        self.path = '/component/' + ''.join(c if c.isalnum() else '_' for c in name)
        super().__init__(bus, self.path)

    @dbus.service.signal('org.kde.kglobalaccel.Component', signature='ssx')
    def globalShortcutPressed(self, component, action, timestamp):
        pass


class Service(dbus.service.Object):
    def __init__(self):
        super().__init__(bus, '/kglobalaccel')
        self.keys = {('other', 'taken'): [CTRL | ALT | ord('9')]}
        self.components = {}

    @dbus.service.method('org.kde.KGlobalAccel', in_signature='as')
    def doRegister(self, ids):
        self.keys.setdefault((str(ids[0]), str(ids[1])), [])

    @dbus.service.method('org.kde.KGlobalAccel', in_signature='as', out_signature='b')
    def unRegister(self, ids):
        return self.keys.pop((str(ids[0]), str(ids[1])), None) is not None

    @dbus.service.method('org.kde.KGlobalAccel', in_signature='asaiu', out_signature='ai')
    def setShortcut(self, ids, keys, flags):
        action = (str(ids[0]), str(ids[1]))
        held = {k for other, ks in self.keys.items() if other != action for k in ks}
        self.keys[action] = [int(k) for k in keys if int(k) not in held]
        return dbus.Array(self.keys[action], signature='i')

    @dbus.service.method('org.kde.KGlobalAccel', in_signature='s', out_signature='o')
    def getComponent(self, name):
        if name not in self.components:
            self.components[name] = Component(str(name))
        return dbus.ObjectPath(self.components[name].path)

    @dbus.service.method('org.quorvane.test.Keys', in_signature='i', out_signature='b')
    def press(self, key):
        for (component, action), keys in self.keys.items():
            if key in keys and component in self.components:
                self.components[component].globalShortcutPressed(component, action, 0)
                return True
        return False

    @dbus.service.method('org.quorvane.test.Keys', in_signature='', out_signature='as')
    def actions(self):
        return ['%s/%s' % action for action in self.keys]


name = dbus.service.BusName('org.kde.kglobalaccel', bus)
Service()
GLib.MainLoop().run()
