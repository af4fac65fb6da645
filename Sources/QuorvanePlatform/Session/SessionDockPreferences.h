#pragma once

#include <QString>
#include <QVariant>

#include <functional>
#include <optional>

namespace quorvane {

// Where the running desktop session keeps what the dock's preferences name: the size, edge and
// hiding of its own panel or dock, and what its screen corners do.
struct SessionSources {
    // XDG_CURRENT_DESKTOP: the session's names, separated by ":" ("XFCE", "GNOME", "KDE").
    QString currentDesktop;
    // The output of `gsettings get SCHEMA KEY`; none when the tool, schema or key is missing.
    std::function<std::optional<QString>(const QString &schema, const QString &key)> gsetting;
    // Every property of an xfconf channel with its value, as `xfconf-query -c CHANNEL -lv`
    // lists them; none when xfconf cannot be asked.
    std::function<std::optional<QString>(const QString &channel)> xfconfListing;
    // The user's configuration folder (XDG_CONFIG_HOME), where KDE keeps kwinrc.
    QString configHome;

    // The session this process runs in, asked through its own tools.
    static SessionSources live();
};

// The value the dock's preferences would hold for key, read from the session: "tilesize"
// (points), "orientation" ("bottom", "left" or "right") and "autohide" (Bool) from XFCE's first
// panel that does not lie along the top edge, or from GNOME's dash-to-dock while it is enabled;
// "wvous-<tl|tr|bl|br>-corner" (the design's corner action numbers) from GNOME's hot corner and
// KDE's screen edges, and "wvous-…-modifier" 0 for a corner so taken. None for everything the
// session does not keep.
std::optional<QVariant> sessionDockPreference(const SessionSources &sources, const QString &key);

} // namespace quorvane
