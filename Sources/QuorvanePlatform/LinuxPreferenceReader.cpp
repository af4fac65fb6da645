#include "AppearanceSwitch.h"
#include "PreferenceReader.h"

namespace quorvane {

std::optional<QVariant> LinuxPreferenceReader::value(const QString &domain, const QString &key) const
{
    if (!domain.isEmpty() || key != QLatin1String("AppleInterfaceStyle"))
        return std::nullopt;
    if (LinuxAppearanceSwitch().isDark())
        return QVariant(QStringLiteral("Dark"));
    return std::nullopt;
}

} // namespace quorvane
