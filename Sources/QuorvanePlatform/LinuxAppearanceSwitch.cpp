#include "AppearanceSwitch.h"

namespace quorvane {

std::optional<QString> LinuxAppearanceSwitch::setDark(bool)
{
    return QStringLiteral("switching the desktop's appearance is not available");
}

} // namespace quorvane
