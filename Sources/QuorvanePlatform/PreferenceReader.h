#pragma once

#include <QString>
#include <QVariant>

#include <optional>

namespace quorvane {

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
class LinuxPreferenceReader final : public PreferenceReader {
public:
    std::optional<QVariant> value(const QString &domain, const QString &key) const override;
};

} // namespace quorvane
