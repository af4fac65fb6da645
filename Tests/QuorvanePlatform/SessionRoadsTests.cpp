#include "SessionRoads.h"

#include <gtest/gtest.h>

using namespace quorvane;

namespace {

struct SessionShape {
    const char *name;
    SessionOffer offer;
    HotKeyRoad hotKeys;
    bool grabsNeedX11Focus;
    bool x11KeyLayout;
    WorkspaceRoad workspaces;
    // A word the Shortcuts section's note about the session's limits must hold; empty: no note.
    const char *limitSays;
};

SessionOffer offer(bool x11, bool wayland, bool rootWorkspaces, const char *socket = "", bool shortcutService = false,
                   std::optional<CustomShortcutList::Dialect> shortcutList = std::nullopt)
{
    return SessionOffer{x11, wayland, rootWorkspaces, QString::fromLatin1(socket), shortcutService, std::move(shortcutList)};
}

const char *const swaySocket = "/run/user/1000/sway-ipc.sock";

} // namespace

// Each session shape the application meets, with the roads its hot keys, key names and
// workspaces take, and what the Shortcuts section says of the session's limits.
TEST(SessionRoads, EachSessionShapeTakesTheRoadsItServes)
{
    const SessionShape shapes[] = {
        {"plain X11 with openbox", offer(true, false, true), HotKeyRoad::keyGrabs, false, true, WorkspaceRoad::rootWindow, ""},
        // An X session keeps its own grabs, even where the desktop runs KDE's shortcut service
        // or has a shortcut list of its own.
        {"XFCE on X11", offer(true, false, true), HotKeyRoad::keyGrabs, false, true, WorkspaceRoad::rootWindow, ""},
        {"Plasma on X11", offer(true, false, true, "", true), HotKeyRoad::keyGrabs, false, true, WorkspaceRoad::rootWindow, ""},
        {"GNOME on X11", offer(true, false, true, "", false, CustomShortcutList::Dialect::gnome()), HotKeyRoad::keyGrabs, false,
         true, WorkspaceRoad::rootWindow, ""},
        {"GNOME on Wayland with Xwayland", offer(true, true, true, "", false, CustomShortcutList::Dialect::gnome()),
         HotKeyRoad::customShortcuts, false, true, WorkspaceRoad::rootWindow, "keyboard shortcuts"},
        {"Plasma on Wayland with kglobalaccel", offer(true, true, true, "", true), HotKeyRoad::shortcutService, false, true,
         WorkspaceRoad::rootWindow, "KDE"},
        {"sway with Xwayland", offer(true, true, false, swaySocket), HotKeyRoad::keyGrabs, true, true, WorkspaceRoad::socket,
         "X11 window has focus"},
        {"sway without Xwayland", offer(false, true, false, swaySocket), HotKeyRoad::none, false, false, WorkspaceRoad::socket,
         "quorvane --switch-to"},
        // i3 names its workspaces on the root window too: those stay, so stored bindings hold.
        {"i3 on X11", offer(true, false, true, swaySocket), HotKeyRoad::keyGrabs, false, true, WorkspaceRoad::rootWindow, ""},
        {"weston without Xwayland", offer(false, true, false), HotKeyRoad::none, false, false, WorkspaceRoad::rootWindow,
         "quorvane --switch-to"},
        {"weston with Xwayland", offer(true, true, false), HotKeyRoad::keyGrabs, true, true, WorkspaceRoad::rootWindow,
         "X11 window has focus"},
        {"no display", offer(false, false, false), HotKeyRoad::none, false, false, WorkspaceRoad::rootWindow, ""},
        {"no display, kglobalaccel on the bus", offer(false, false, false, "", true), HotKeyRoad::shortcutService, false, false,
         WorkspaceRoad::rootWindow, "KDE"},
    };
    for (const SessionShape &shape : shapes) {
        SCOPED_TRACE(shape.name);
        const PlatformRoads roads = choosePlatformRoads(shape.offer);
        EXPECT_EQ(roads.hotKeys, shape.hotKeys);
        EXPECT_EQ(roads.grabsNeedX11Focus, shape.grabsNeedX11Focus);
        EXPECT_EQ(roads.x11KeyLayout, shape.x11KeyLayout);
        EXPECT_EQ(roads.workspaces, shape.workspaces);
        EXPECT_EQ(roads.workspaceSocket, shape.workspaces == WorkspaceRoad::socket ? QString::fromLatin1(swaySocket) : QString());
        EXPECT_EQ(roads.shortcutList.has_value(), shape.hotKeys == HotKeyRoad::customShortcuts);
        if (*shape.limitSays)
            EXPECT_TRUE(roads.shortcutLimit.contains(QLatin1String(shape.limitSays))) << qPrintable(roads.shortcutLimit);
        else
            EXPECT_TRUE(roads.shortcutLimit.isEmpty()) << qPrintable(roads.shortcutLimit);
    }
}

// The custom shortcuts go into the list of the session's own desktop.
TEST(SessionRoads, CustomShortcutsGoIntoTheSessionsOwnList)
{
    const PlatformRoads roads = choosePlatformRoads(offer(true, true, true, "", false, CustomShortcutList::Dialect::cinnamon()));
    ASSERT_EQ(roads.hotKeys, HotKeyRoad::customShortcuts);
    ASSERT_TRUE(roads.shortcutList);
    EXPECT_EQ(roads.shortcutList->desktop, CustomShortcutList::Dialect::cinnamon().desktop);
    EXPECT_NE(roads.shortcutList->desktop, CustomShortcutList::Dialect::gnome().desktop);
}
