#include "GSettingsTool.h"

namespace quorvane::gsettings {

Result run(const QStringList &arguments)
{
    return runTool(QStringLiteral("gsettings"), arguments);
}

std::optional<QString> unquoted(const QString &value)
{
    if (value.size() < 2 || !value.startsWith(QLatin1Char('\'')) || !value.endsWith(QLatin1Char('\'')))
        return std::nullopt;
    QString inner = value.mid(1, value.size() - 2);
    if (inner.contains(QLatin1Char('\\')) || inner.contains(QLatin1Char('\'')))
        return std::nullopt; // an escaped text: left alone rather than misread
    return inner;
}

QString quoted(const QString &text)
{
    QString escaped = text;
    escaped.replace(QLatin1Char('\\'), QLatin1String("\\\\")).replace(QLatin1Char('\''), QLatin1String("\\'"));
    return QLatin1Char('\'') + escaped + QLatin1Char('\'');
}

} // namespace quorvane::gsettings
