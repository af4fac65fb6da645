#pragma once

#include <QString>

namespace quorvane {

// The application's identity: its reverse-DNS identifier, short version and display name.
// An installed application (its executable in <prefix>/bin next to its desktop entry in
// <prefix>/share/applications) has its identifier; the bare executable run from a build
// folder has none.
struct AppInfo {
    QString identifier;
    QString shortVersion;
    QString name;

    // The identifier of the installed application; also the name of its desktop entry.
    static const QString installedIdentifier;

    static AppInfo current();
    // The identity of the executable at that path.
    static AppInfo forExecutable(const QString &executablePath);
    static AppInfo installed();
    static AppInfo bareExecutable();

    bool operator==(const AppInfo &) const = default;
};

} // namespace quorvane
