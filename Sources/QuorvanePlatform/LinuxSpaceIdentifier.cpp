#include "SpaceIdentifier.h"

namespace quorvane {

SpaceIdentifier &SpaceIdentifier::shared()
{
    static LinuxSpaceIdentifier identifier;
    return identifier;
}

bool LinuxSpaceIdentifier::available() const
{
    return false;
}

std::optional<SpaceInfo> LinuxSpaceIdentifier::activeSpace() const
{
    return std::nullopt;
}

} // namespace quorvane
