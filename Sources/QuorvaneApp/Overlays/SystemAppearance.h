#pragma once

#include "Session/AppearanceSwitch.h"
#include "Session/PreferenceReader.h"

#include <functional>
#include <memory>
#include <optional>

namespace quorvane {

// The session's light or dark mode.
class SystemAppearance {
public:
    SystemAppearance(const PreferenceReader &preferences, AppearanceSwitch &appearanceSwitch);
    // Waits (a few seconds at most) for a flip still under way: the switch outlives none.
    ~SystemAppearance();
    SystemAppearance(const SystemAppearance &) = delete;
    SystemAppearance &operator=(const SystemAppearance &) = delete;

    // The session's own, on this platform's preference reader and appearance switch (which it
    // owns), its ledger in the store folder given.
    static std::unique_ptr<SystemAppearance> ofSession(const QString &storeFolder);

    // True when the global "AppleInterfaceStyle" preference is a string equal to "dark",
    // ignoring case. The session is asked once; after that the answer follows what this
    // process asked for and what sessionChanged() learns, so a switch never waits for the
    // session's tools. While a flip asked for is still under way, the mode it turns the session
    // to; while a put back is, its outcome (waited for, a few seconds at most).
    bool currentIsDark() const;
    // The session's look may have changed outside this process (its settings' change signals):
    // the mode is asked again away from the event loop, and onChange hears it when it differs.
    void sessionChanged();
    // Never throws; a failure is logged. onChange hears the mode asked for at once; the
    // session's own settings follow away from the event loop (HostWork), so a slow desktop
    // never holds the caller.
    void setDark(bool dark);
    // Gives back what a desktop's mode borrowed of the session's settings, in this process or
    // one before it (no desktop asks for a mode any more, or the application ends). Never
    // throws; a failure is logged. Away from the event loop, in order with setDark; when
    // anything was borrowed, onChange then hears the mode the session is in.
    void putBack();
    // The session's theme when it has no dark variant; none otherwise.
    std::optional<QString> themeWithoutDarkVariant() const { return m_switch.themeWithoutDarkVariant(); }
    // Whether the session has a light or dark look to turn at all.
    bool hasDarkSwitch() const { return m_switch.hasDarkSwitch(); }

    // Called after every setDark with the mode the desktop was asked for, so that the
    // application's own windows can follow at the same moment; after a flip that failed, with
    // the mode the session is in (when it differs), so that "System" follows the session's own
    // look, not what was asked of it.
    std::function<void(bool dark)> onChange;

private:
    const PreferenceReader &m_preferences;
    AppearanceSwitch &m_switch;
    // What the work under way turns the session to: a mode, or unknown (a put back).
    struct Pending {
        int jobs = 0;
        std::optional<bool> mode;
        SystemAppearance *owner = nullptr; // none once it is gone
    };
    std::shared_ptr<Pending> m_pending = std::make_shared<Pending>(Pending{0, std::nullopt, this});
    // The session's mode as last read or set; none until the first read and after a put back.
    mutable std::optional<bool> m_known;
    // Reads the preference itself (a call to the session's tools).
    bool readSession() const;

    // What ofSession built for it; none when the caller owns the reader and the switch.
    std::unique_ptr<const PreferenceReader> m_ownPreferences;
    std::unique_ptr<AppearanceSwitch> m_ownSwitch;
};

} // namespace quorvane
