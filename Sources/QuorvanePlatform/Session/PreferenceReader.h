#pragma once

#include <QString>
#include <QVariant>

#include <functional>
#include <map>
#include <memory>
#include <optional>

namespace quorvane {

struct SessionSources;

// Reads another program's (or the whole session's) preferences.
class PreferenceReader {
public:
    virtual ~PreferenceReader() = default;
    // The value of key in the preferences of domain; an empty domain names the preferences
    // every application reads. None when the preference is not set.
    virtual std::optional<QVariant> value(const QString &domain, const QString &key) const = 0;
};

// The global "AppleInterfaceStyle" is "Dark" while the running desktop looks dark
// (LinuxAppearanceSwitch::isDark: GNOME's 'prefer-dark' "color-scheme", XFCE's dark XSETTINGS
// theme ...), and absent otherwise, also when the tool or the setting is missing. The dock's
// preferences ("com.apple.dock": tile size, edge, hiding and the screen corners) are read from the
// running session's own panel, dock and hot corners (sessionDockPreference). Every other preference is
// absent, so defaults apply.
//
// The session's tools may take seconds: a dock preference is read from them once, and from then
// on answered from what was read while it is asked again away from the event loop (HostWork), so
// a change in the session lands by the next question, and no question waits for a tool twice.
class LinuxPreferenceReader final : public PreferenceReader {
public:
    using Sources = std::function<SessionSources()>;
    // sources: how the session is asked (by default through its own tools).
    explicit LinuxPreferenceReader(Sources sources = {});
    std::optional<QVariant> value(const QString &domain, const QString &key) const override;

private:
    struct Known {
        Sources sources;
        std::map<QString, std::optional<QVariant>> values; // the dock's, by key
        bool refreshing = false;
    };
    // Asks the session again for every key asked so far; one such job at a time.
    void refresh() const;
    std::shared_ptr<Known> m_known;
};

} // namespace quorvane
