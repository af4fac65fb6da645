#pragma once

#include "AppearanceSwitch.h"
#include "PreferenceReader.h"

#include <functional>

namespace quorvane {

// The session's light or dark mode.
class SystemAppearance {
public:
    SystemAppearance(const PreferenceReader &preferences, AppearanceSwitch &appearanceSwitch);

    // The process's instance, on this platform's preference reader and appearance switch, its
    // ledger in the standard store.
    static SystemAppearance &shared();

    // True when the global "AppleInterfaceStyle" preference is a string equal to "dark",
    // ignoring case.
    bool currentIsDark() const;
    // Never throws; a failure is logged. onChange then hears the mode asked for.
    void setDark(bool dark);
    // Gives back what a desktop's mode borrowed of the session's settings, in this process or
    // one before it (no desktop asks for a mode any more, or the application ends). Never
    // throws; a failure is logged. When anything was borrowed, onChange then hears the mode
    // the session is in.
    void putBack();
    // The session's theme when it has no dark variant; none otherwise.
    std::optional<QString> themeWithoutDarkVariant() const { return m_switch.themeWithoutDarkVariant(); }

    // Called after every setDark with the mode the desktop was asked for, so that the
    // application's own windows can follow at the same moment.
    std::function<void(bool dark)> onChange;

private:
    const PreferenceReader &m_preferences;
    AppearanceSwitch &m_switch;
};

} // namespace quorvane
