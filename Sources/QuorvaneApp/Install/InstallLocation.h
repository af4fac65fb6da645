#pragma once

#include "EnumNames.h"

#include <QString>

namespace quorvane {

// Where the running application lies, and its move to the applications folder.
class InstallLocation {
public:
    enum class Situation { fine, translocated, inDownloads };

    static Situation situation();
    // The new location of the application; throws IoError on failure.
    static QString moveToApplications();
    // Opens the application at location as a new instance and quits this one; a failure is logged.
    static void relaunch(const QString &location);
};

template<> struct EnumNames<InstallLocation::Situation> {
    static constexpr const char *names[] = {"fine", "translocated", "inDownloads"};
};

} // namespace quorvane
