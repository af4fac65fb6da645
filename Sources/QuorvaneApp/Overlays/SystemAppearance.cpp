#include "Overlays/SystemAppearance.h"

#include "Paths.h"
#include "Shared/Log.h"

#include <QLoggingCategory>

namespace quorvane {

namespace {
const QLoggingCategory &appLog() { return Log::app(); }
} // namespace

SystemAppearance::SystemAppearance(const PreferenceReader &preferences, AppearanceSwitch &appearanceSwitch)
    : m_preferences(preferences)
    , m_switch(appearanceSwitch)
{
}

SystemAppearance &SystemAppearance::shared()
{
    static LinuxPreferenceReader preferences;
    static LinuxAppearanceSwitch appearanceSwitch(SettingsLedger::inStore(Paths::standard().store()));
    static SystemAppearance appearance(preferences, appearanceSwitch);
    return appearance;
}

bool SystemAppearance::currentIsDark() const
{
    const auto value = m_preferences.value(QString(), QStringLiteral("AppleInterfaceStyle"));
    if (!value || value->typeId() != QMetaType::QString)
        return false;
    return value->toString().compare(QStringLiteral("dark"), Qt::CaseInsensitive) == 0;
}

void SystemAppearance::setDark(bool dark)
{
    if (const auto error = m_switch.setDark(dark)) {
        qCCritical(appLog, "appearance flip to %s failed: %s", dark ? "dark" : "light",
                   qUtf8Printable(*error));
    }
    if (onChange)
        onChange(dark);
}

void SystemAppearance::putBack()
{
    if (!m_switch.borrowing())
        return;
    if (const auto error = m_switch.putBack())
        qCCritical(appLog, "appearance not put back: %s", qUtf8Printable(*error));
    if (onChange)
        onChange(currentIsDark());
}

} // namespace quorvane
