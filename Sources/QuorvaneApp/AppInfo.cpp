#include "AppInfo.h"

namespace quorvane {

AppInfo AppInfo::current()
{
    return AppInfo{QStringLiteral("app.quorvane.Quorvane"), QStringLiteral(QUORVANE_VERSION), QStringLiteral("Quorvane")};
}

} // namespace quorvane
