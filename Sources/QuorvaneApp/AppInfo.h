#pragma once

#include <QString>

namespace quorvane {

// The application's identity: its reverse-DNS identifier, short version and display name.
struct AppInfo {
    QString identifier;
    QString shortVersion;
    QString name;

    static AppInfo current();
};

} // namespace quorvane
