#pragma once

#include <QString>

#include <functional>
#include <optional>

namespace quorvane {

// What the application says to an update in progress. The backend calls it on the main thread.
class UpdaterDelegate {
public:
    virtual ~UpdaterDelegate() = default;
    // An update is ready to be installed, after which the application relaunches. True holds
    // both until release is called; false lets them go on at once.
    virtual bool shouldPostponeRelaunch(std::function<void()> release) = 0;
    virtual void willInstallUpdate() = 0;
    virtual void willRelaunchApplication() = 0;
};

// A framework that fetches and installs new versions of the application. This platform has
// none: distributions update the application, so no implementation is given.
class UpdaterBackend {
public:
    virtual ~UpdaterBackend() = default;
    // The framework's own version; none when it is not loaded.
    virtual std::optional<QString> version() const = 0;
    // Begins the framework's own schedule; the delegate outlives the backend's use of it.
    virtual void start(UpdaterDelegate &delegate) = 0;
    // The user asked for a check now.
    virtual void checkForUpdates() = 0;
};

} // namespace quorvane
