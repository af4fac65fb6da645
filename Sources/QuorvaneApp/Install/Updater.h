#pragma once

#include <QString>

#include <functional>
#include <optional>

namespace quorvane {

// Software updates. This platform has no update framework: no version, nothing started.
class Updater {
public:
    // The update framework's version; none when there is no framework.
    static std::optional<QString> frameworkVersion();
    // Starts checking for updates, asking busy before one is installed.
    static void start(std::function<bool()> busy);
    // The status menu's "Check for Updates…": asks the update feed for a newer version. There
    // is no feed on this platform, which is logged.
    static void checkForUpdates();
};

} // namespace quorvane
