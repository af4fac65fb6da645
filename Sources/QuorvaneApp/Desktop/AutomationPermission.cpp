#include "Desktop/AutomationPermission.h"

namespace quorvane {

AutomationPermission::AutomationPermission(DesktopIconHostFinder findHost)
    : m_findHost(std::move(findHost))
{
}

AutomationPermission::Status AutomationPermission::finderStatus() const
{
    return m_findHost && m_findHost() ? Status::granted : Status::unknown;
}

void AutomationPermission::request()
{
}

} // namespace quorvane
