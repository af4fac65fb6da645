#pragma once

#include "Install/UpdaterBackend.h"
#include "Work/Scheduler.h"

#include <functional>
#include <optional>

namespace quorvane {

// Holds an update's install and relaunch while a switch runs, and records that an install has
// begun, so that the update's own replacement of the executable is not taken for an uninstall.
class UpdaterCoordinator final : public UpdaterDelegate {
public:
    explicit UpdaterCoordinator(Scheduler &scheduler);
    ~UpdaterCoordinator() override;
    UpdaterCoordinator(const UpdaterCoordinator &) = delete;
    UpdaterCoordinator &operator=(const UpdaterCoordinator &) = delete;

    // Whether the system is busy; none until the updater is started.
    std::function<bool()> busy;

    bool shouldPostponeRelaunch(std::function<void()> release) override;
    void willInstallUpdate() override { markInstallBegun(); }
    void willRelaunchApplication() override { markInstallBegun(); }

    // Releases the update once the system is idle, asking again every half second.
    void waitUntilIdle(std::function<void()> release);

    // Set once an install has begun; never cleared.
    bool updateInFlight() const { return m_inFlight; }

    static constexpr double recheckSeconds = 0.5;

private:
    bool isBusy() const { return busy && busy(); }
    void markInstallBegun();

    Scheduler &m_scheduler;
    std::optional<Scheduler::Token> m_pending;
    bool m_inFlight = false;
};

} // namespace quorvane
