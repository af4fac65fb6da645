#pragma once

#include "Install/UpdaterCoordinator.h"

#include <QString>

#include <functional>
#include <optional>

namespace quorvane {

class Scheduler;
class UpdaterBackend;

// Software updates through an update framework, held while a switch runs. Without a framework
// (this platform has none) there is no version, nothing starts and no check is offered.
class Updater {
public:
    // An empty identifier: the bare executable, which is never updated. No backend: no
    // framework is loaded.
    Updater(const QString &identifier, UpdaterBackend *backend, Scheduler &scheduler);

    // The framework's version; none when no framework is loaded.
    std::optional<QString> frameworkVersion() const;
    // Whether the status menu offers "Check for Updates…": an identifier and a loaded framework.
    bool offersUpdates() const;
    // Stores the busy probe and starts the framework; does nothing without an identifier or a
    // loaded framework.
    void start(std::function<bool()> busy);
    // The status menu's "Check for Updates…".
    void checkForUpdates();

    bool updateInFlight() const { return m_coordinator.updateInFlight(); }
    UpdaterCoordinator &coordinator() { return m_coordinator; }

private:
    QString m_identifier;
    UpdaterBackend *m_backend;
    UpdaterCoordinator m_coordinator;
};

} // namespace quorvane
