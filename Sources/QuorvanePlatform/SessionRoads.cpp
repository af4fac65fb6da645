#include "SessionRoads.h"

#include "Keys/KGlobalAccelHotKeyRegistrar.h"
#include "Workspaces/SpaceProvider.h"
#include "Workspaces/SwayWorkspaces.h"

#include <QCoreApplication>
#include <QGuiApplication>

namespace quorvane {

SessionOffer readSessionOffer(const QDBusConnection &bus)
{
    SessionOffer offer;
    offer.x11 = QGuiApplication::platformName() == QLatin1String("xcb");
    offer.wayland = !qEnvironmentVariableIsEmpty("WAYLAND_DISPLAY");
    offer.rootWorkspaces = LinuxSpaceProvider().available();
    offer.workspaceSocket = SwayWorkspaces::socketFromEnvironment();
    if (offer.wayland || !offer.x11)
        offer.shortcutService = KGlobalAccelHotKeyRegistrar::availableOn(bus);
    if (offer.wayland && !offer.shortcutService)
        offer.shortcutList = CustomShortcutList::forDesktop(qEnvironmentVariable("XDG_CURRENT_DESKTOP"));
    return offer;
}

PlatformRoads choosePlatformRoads(const SessionOffer &offer)
{
    PlatformRoads roads;
    if ((offer.wayland || !offer.x11) && offer.shortcutService) {
        roads.hotKeys = HotKeyRoad::shortcutService;
        roads.shortcutLimit = QCoreApplication::translate("SessionRoads", "Shortcuts are served by KDE's global shortcut service.");
    } else if (offer.wayland && offer.shortcutList) {
        roads.hotKeys = HotKeyRoad::customShortcuts;
        roads.shortcutList = offer.shortcutList;
        roads.shortcutLimit = QCoreApplication::translate("SessionRoads", "Shortcuts are added to the desktop's own keyboard shortcuts, each named "
                                                                          "\u201CQuorvane: \u2026\u201D. Switch to last desktop, Open calendar and "
                                                                          "Toggle floating dock can't be added there.");
    } else if (offer.x11) {
        roads.hotKeys = HotKeyRoad::keyGrabs;
        roads.grabsNeedX11Focus = offer.wayland;
        if (roads.grabsNeedX11Focus)
            roads.shortcutLimit = QCoreApplication::translate("SessionRoads", "On this Wayland session, shortcuts work only while an X11 window has focus.");
    } else if (offer.wayland) {
        roads.shortcutLimit = QCoreApplication::translate("SessionRoads", "This session gives the application no global shortcuts: bind keys in the desktop's "
                                                                          "own settings to the command line, as in \u201Cquorvane --switch-to Work\u201D.");
    }
    roads.x11KeyLayout = offer.x11;
    if (!offer.workspaceSocket.isEmpty() && !offer.rootWorkspaces) {
        roads.workspaces = WorkspaceRoad::socket;
        roads.workspaceSocket = offer.workspaceSocket;
    }
    return roads;
}

} // namespace quorvane
