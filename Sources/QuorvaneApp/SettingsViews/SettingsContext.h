#pragma once

#include "FloatingDockTypes.h"
#include "Shared/AppInfo.h"

#include <QString>

#include <functional>
#include <optional>

namespace quorvane {

class CueImageCache;
class DebouncedCommit;
class DesktopServices;
class LoginItem;
class Dialogs;
class Scheduler;
class SettingsModel;
class SpaceIdentifier;

// How this session serves global shortcuts, for what the row of a refused one says: as keys of
// its own (another program may hold one), as command lines the desktop runs (a key whose action
// has none can't be served), or not at all.
enum class ShortcutRoad {
    keys,
    commandLines,
    none
};

// What the settings window's views use besides the model. The scheduler and the dialogs are
// required; a missing callback is skipped.
struct SettingsViewServices {
    Dialogs *dialogs = nullptr;
    Scheduler *scheduler = nullptr;
    AppInfo info;
    // Reveals folders and opens addresses; none: nothing opens.
    DesktopServices *desktop = nullptr;
    // The start-at-login entry; none: the application has no identifier to register.
    LoginItem *loginItem = nullptr;
    // The name of the system's action on a screen corner, none when it has none; none at all:
    // the system keeps no hot corners.
    std::function<std::optional<QString>(FloatingDockCorner)> hotCornerOccupant;
    // Opens the new-desktop sheet.
    std::function<void()> showCreateSurface;
    // The window manager's workspaces; none: they cannot be read, and Space following is unavailable.
    SpaceIdentifier *spaces = nullptr;
    // Opens the cleanup calendar over the settings model, or brings it to the front.
    std::function<void()> showCalendar;
    // The overlay images, shared with the overlay itself; none: the previews read their files.
    CueImageCache *cues = nullptr;
    // What this session's global shortcuts cannot do, shown in the Shortcuts section; empty: nothing.
    QString shortcutLimit;
    // How the session serves shortcuts, for the reason a refused one's row gives.
    ShortcutRoad shortcutRoad = ShortcutRoad::keys;
    // The session's theme when it has no dark variant, named beside a desktop's Light / Dark
    // choice; none (or no function): it has one.
    std::function<std::optional<QString>()> themeWithoutDark;
    // Whether the session has a light or dark look to turn at all; none (or no function): it has.
    std::function<bool()> hasDarkSwitch;
    // Whether a cue below the icons cannot be shown (the desktop draws its own wallpaper under
    // its icons); none (or no function): it can.
    std::function<bool()> cueBelowIconsUnavailable;
};

// Handed by the shell to every section it builds.
struct SettingsContext {
    SettingsModel &model;
    const SettingsViewServices &services;
    // The accent's delayed write; owned by the shell, so it outlives the page that started it.
    DebouncedCommit &accentCommit;
    // The wallpaper colour's delayed write, owned by the shell the same way.
    DebouncedCommit &cueColorCommit;
};

} // namespace quorvane
