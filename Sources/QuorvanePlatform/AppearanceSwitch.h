#pragma once

#include <QString>

#include <optional>

namespace quorvane {

// Switches the desktop's light or dark mode.
class AppearanceSwitch {
public:
    virtual ~AppearanceSwitch() = default;
    // None on success, else a description of the failure.
    virtual std::optional<QString> setDark(bool dark) = 0;
};

// The session's "color-scheme" of org.gnome.desktop.interface through the gsettings tool:
// 'prefer-dark' for dark; for light, the light value ('default' or 'prefer-light') that the
// last change to dark replaced, else 'default', so the user's own value comes back unchanged.
// A failure is the tool's error text.
class LinuxAppearanceSwitch final : public AppearanceSwitch {
public:
    std::optional<QString> setDark(bool dark) override;

private:
    std::optional<QString> m_lightValue;
};

} // namespace quorvane
