#pragma once

#include <QVariantList>

#include <cstdint>
#include <optional>

namespace quorvane {

// The window manager's workspaces, described the way the Space identifier reads them: one
// entry per display, each a map with "Display Identifier" (text), "Current Space" (a map) and
// "Spaces" (a list of maps in the window manager's order); a Space's map holds "uuid" (text)
// and "type" (integer, 0 for an ordinary workspace).
class SpaceProvider {
public:
    using WindowId = std::uintptr_t;
    // A window shown on every workspace.
    static constexpr std::int64_t allDesktops = 0xFFFFFFFF;

    virtual ~SpaceProvider() = default;
    // True while workspaces can be read at all; asked afresh each time.
    virtual bool available() const = 0;
    // None when unavailable or unreadable.
    virtual std::optional<QVariantList> managedDisplaySpaces() const = 0;
    // The main display's identifier as the entries name it; none when there is none.
    virtual std::optional<QString> mainDisplayIdentifier() const = 0;
    // The workspace a window lies on (allDesktops for every one); none when unknown.
    virtual std::optional<std::int64_t> windowDesktop(WindowId window) const = 0;
    // The workspace shown now; none when unknown.
    virtual std::optional<std::int64_t> currentDesktop() const = 0;
    // Asks the window manager to put the window on the current workspace.
    virtual void moveToCurrentDesktop(WindowId window) = 0;
};

// EWMH through Qt's X connection: one display "Main" whose Spaces are the
// _NET_NUMBER_OF_DESKTOPS desktops, each a user Space named "ewmh-desktop-<index>", the current
// one _NET_CURRENT_DESKTOP. While the active window (_NET_ACTIVE_WINDOW) is full screen on the
// current desktop, the current Space is a full-screen one (type 4) of the same identity.
// Available only on X11 while both root properties exist.
class LinuxSpaceProvider final : public SpaceProvider {
public:
    bool available() const override;
    std::optional<QVariantList> managedDisplaySpaces() const override;
    std::optional<QString> mainDisplayIdentifier() const override { return std::nullopt; }
    std::optional<std::int64_t> windowDesktop(WindowId window) const override;
    std::optional<std::int64_t> currentDesktop() const override;
    void moveToCurrentDesktop(WindowId window) override;
    // The window _NET_ACTIVE_WINDOW names; none when it names none.
    std::optional<WindowId> activeWindow() const;

    // The identity of the desktop of that index.
    static QString identity(std::int64_t index);
};

} // namespace quorvane
