#pragma once

#include <QString>

namespace quorvane {

// The application's identity: its reverse-DNS identifier, short version and display name, and
// where it is installed. An installed application (its executable in <prefix>/bin next to its
// desktop entry in <prefix>/share/applications) has its identifier, its executable's absolute
// path and its entry's; the bare executable run from a build folder has none of the three.
struct AppInfo {
    QString identifier;
    QString shortVersion;
    QString name;
    QString executablePath = {};
    QString desktopEntry = {};

    // The identifier of the installed application; also the name of its desktop entry.
    static const QString installedIdentifier;

    static AppInfo current();
    // The identity of the executable at that path.
    static AppInfo forExecutable(const QString &executablePath);
    // An installed application; the paths are those of its executable and its desktop entry.
    static AppInfo installed(const QString &executablePath = QString(), const QString &desktopEntry = QString());
    static AppInfo bareExecutable();

    // <prefix>/share/applications/<identifier>.desktop for the executable <prefix>/bin/<name>.
    static QString desktopEntryFor(const QString &executablePath);

    bool operator==(const AppInfo &) const = default;
};

// Every window carries the application's icon from the first call on. It is given once the
// status item has docked, or before an alert that comes first: the embedding tray's window would
// otherwise draw the scalable picture at every size before it docks.
void useApplicationIconOnWindows();

} // namespace quorvane
