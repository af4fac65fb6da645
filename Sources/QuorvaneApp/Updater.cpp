#include "Updater.h"

namespace quorvane {

std::optional<QString> Updater::frameworkVersion()
{
    return std::nullopt;
}

void Updater::start(std::function<bool()>)
{
    // No update feed exists on this platform: there is nothing to start.
}

} // namespace quorvane
