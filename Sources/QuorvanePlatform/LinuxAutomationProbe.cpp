#include "AutomationProbe.h"

namespace quorvane {

std::optional<std::int32_t> LinuxAutomationProbe::permissionToAutomate(const QByteArray &)
{
    return noSuchApplication;
}

} // namespace quorvane
