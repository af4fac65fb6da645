#include "AppearanceSwitch.h"
#include "PreferenceReader.h"
#include "SessionDockPreferences.h"

namespace quorvane {

std::optional<QVariant> LinuxPreferenceReader::value(const QString &domain, const QString &key) const
{
    if (domain == QLatin1String("com.apple.dock"))
        return sessionDockPreference(SessionSources::live(), key);
    if (!domain.isEmpty() || key != QLatin1String("AppleInterfaceStyle"))
        return std::nullopt;
    if (LinuxAppearanceSwitch::sessionLooksDark())
        return QVariant(QStringLiteral("Dark"));
    return std::nullopt;
}

} // namespace quorvane
