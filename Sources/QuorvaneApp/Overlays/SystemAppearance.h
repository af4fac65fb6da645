#pragma once

#include "AppearanceSwitch.h"
#include "PreferenceReader.h"

namespace quorvane {

// The session's light or dark mode.
class SystemAppearance {
public:
    SystemAppearance(const PreferenceReader &preferences, AppearanceSwitch &appearanceSwitch);

    // The process's instance, on this platform's preference reader and appearance switch.
    static SystemAppearance &shared();

    // True when the global "AppleInterfaceStyle" preference is a string equal to "dark",
    // ignoring case.
    bool currentIsDark() const;
    // Never throws; a failure is logged.
    void setDark(bool dark);

private:
    const PreferenceReader &m_preferences;
    AppearanceSwitch &m_switch;
};

} // namespace quorvane
