#pragma once

#include <QtGlobal>

#include <optional>

namespace quorvane {

// The running instances of this application, for handing over to a newer start.
class RunningInstances {
public:
    virtual ~RunningInstances() = default;
    // Registers this process as the running instance. False when another live instance holds
    // the registration (this process then holds nothing).
    virtual bool claim() = 0;
    // The process id of another live instance of this application, if there is one.
    virtual std::optional<qint64> otherInstancePid() const = 0;
    // Gives up this process's registration, if it holds it.
    virtual void release() = 0;
};

} // namespace quorvane
