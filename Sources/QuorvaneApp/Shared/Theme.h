#pragma once

#include "Appearance.h"

#include <QPalette>

#include <functional>
#include <optional>

namespace quorvane {

// The application's one look: its style and its palette, set on the whole application so that
// every window (settings, calendar, dock, scroll display, prompts, menus, alerts) follows it and
// none keeps a palette of its own. "Light" and "Dark" are the fixed palettes; "System" follows the
// session's colour scheme, and changes when the session's does. The accent, where one is set,
// marks every selection.
class Theme {
public:
    // The process's theme.
    static Theme &shared();

    // Where "System" learns whether the session is dark; none: the palette the platform gave the
    // application before any look was applied.
    void setSystemSource(std::function<bool()> isDark);
    // The session's colour scheme changed: asks the source again and, under "System", re-applies.
    void systemChanged();

    // Applies look to the whole application. Nothing happens when it is already in force.
    void apply(const Appearance &look);

    // Whether the look in force is dark.
    bool dark() const { return m_dark; }
    // The palette of a look: dark or light, with the accent as the highlight when one is given.
    static QPalette palette(bool dark, const std::optional<QColor> &accent);

private:
    Theme() = default;
    bool systemIsDark();
    void install(bool dark, const std::optional<QColor> &accent);

    std::function<bool()> m_systemSource;
    std::optional<bool> m_systemDark;
    std::optional<Appearance> m_look;
    bool m_dark = false;
    bool m_installed = false;
    QPalette m_platformPalette;
};

} // namespace quorvane
