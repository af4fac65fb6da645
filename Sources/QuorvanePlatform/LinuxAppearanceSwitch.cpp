#include "AppearanceSwitch.h"
#include "GSettingsTool.h"

namespace quorvane {

namespace {

const QStringList lightValues{QStringLiteral("'default'"), QStringLiteral("'prefer-light'")};

QStringList keyArguments(const char *verb)
{
    return {QLatin1String(verb), QLatin1String(gsettings::interfaceSchema), QLatin1String(gsettings::colorSchemeKey)};
}

} // namespace

std::optional<QString> LinuxAppearanceSwitch::setDark(bool dark)
{
    QString value;
    if (dark) {
        // Remember which light value the user had, so that turning light again gives it back.
        const auto current = gsettings::run(keyArguments("get"));
        if (current.ok && lightValues.contains(current.output))
            m_lightValue = current.output;
        value = QStringLiteral("'prefer-dark'");
    } else {
        value = m_lightValue.value_or(QStringLiteral("'default'"));
    }
    const auto result = gsettings::run(keyArguments("set") << value);
    if (!result.ok)
        return result.error;
    return std::nullopt;
}

} // namespace quorvane
