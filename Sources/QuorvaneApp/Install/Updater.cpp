#include "Install/Updater.h"

#include "Controller/Log.h"

namespace quorvane {

std::optional<QString> Updater::frameworkVersion()
{
    return std::nullopt;
}

void Updater::start(std::function<bool()>)
{
    // No update feed exists on this platform: there is nothing to start.
}

void Updater::checkForUpdates()
{
    qCInfo(Log::app()) << "no update feed on this platform: nothing to check";
}

} // namespace quorvane
