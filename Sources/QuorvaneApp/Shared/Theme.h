#pragma once

#include "Appearance.h"

#include <QObject>
#include <QPalette>

#include <functional>
#include <optional>

namespace quorvane {

class DocumentService;

// The application's one look: its style and its palette, set on the whole application so that
// every window (settings, calendar, dock, scroll display, prompts, menus, alerts) follows it and
// none keeps a palette of its own. "Light" and "Dark" are the fixed palettes in the application's
// own style; "System" is the desktop's: the style its platform theme gave the application, its
// palette where that matches the session's light or dark mode (else the fixed palette of that
// mode), and it changes when the session's mode does. The accent, where one is set, marks every
// selection. Whatever the look, the control with the keyboard focus shows a ring around it.
class Theme {
public:
    // The process's theme. It stays process-wide on purpose: what it applies is QApplication's
    // own style and palette, of which a process has exactly one, so a second Theme could only
    // fight the first over them; every window, including those built far from the controller
    // (alerts, menus, prompts), follows that one palette.
    static Theme &shared();

    // Where "System" learns whether the session is dark; none: the palette the platform gave the
    // application before any look was applied.
    void setSystemSource(std::function<bool()> isDark);
    // The session's colour scheme changed: asks the source again and, under "System", re-applies.
    void systemChanged();

    // Whether "System" takes the platform theme's palette (when it matches the session's mode):
    // only a desktop's platform theme gives one worth taking. Off until told.
    void setFollowPlatformPalette(bool follow) { m_followPlatformPalette = follow; }

    // Applies look to the whole application. Nothing happens when it is already in force.
    void apply(const Appearance &look);
    // From now on applies the look of each document the service hands over, while it lives.
    void follow(DocumentService &documents);

    // The palette the platform gave the application before any look was applied.
    const QPalette &platformPalette() const { return m_platformPalette; }
    // Whether the look in force is dark.
    bool dark() const { return m_dark; }
    // The palette of a look: dark or light, with the accent as the highlight when one is given.
    static QPalette palette(bool dark, const std::optional<QColor> &accent);

private:
    Theme() = default;
    bool systemIsDark();
    void install(bool dark, const std::optional<QColor> &accent);
    // The palette of the look in force before the accent goes on.
    QPalette basePalette(bool dark) const;

    std::function<bool()> m_systemSource;
    std::optional<bool> m_systemDark;
    std::optional<Appearance> m_look;
    bool m_dark = false;
    bool m_installed = false;
    bool m_followPlatformPalette = false;
    QPalette m_platformPalette;
    QString m_platformStyle;
    QObject m_listening;
};

} // namespace quorvane
