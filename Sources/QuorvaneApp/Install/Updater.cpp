#include "Install/Updater.h"

#include "Install/UpdaterBackend.h"

namespace quorvane {

Updater::Updater(const QString &identifier, UpdaterBackend *backend, Scheduler &scheduler)
    : m_identifier(identifier)
    , m_backend(backend)
    , m_coordinator(scheduler)
{
}

std::optional<QString> Updater::frameworkVersion() const
{
    return m_backend ? m_backend->version() : std::nullopt;
}

bool Updater::offersUpdates() const
{
    return !m_identifier.isEmpty() && frameworkVersion().has_value();
}

void Updater::start(std::function<bool()> busy)
{
    if (!offersUpdates())
        return;
    m_coordinator.busy = std::move(busy);
    m_backend->start(m_coordinator);
}

void Updater::checkForUpdates()
{
    if (offersUpdates())
        m_backend->checkForUpdates();
}

} // namespace quorvane
