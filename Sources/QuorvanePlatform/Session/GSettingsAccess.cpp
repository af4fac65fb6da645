#include "Session/GSettingsAccess.h"

#include "Session/GSettingsTool.h"
#include "Session/GioLibrary.h"

namespace quorvane {

namespace {

QString place(const QString &schema, const QString &path)
{
    return path.isEmpty() ? schema : schema + QLatin1Char(':') + path;
}

} // namespace

bool GSettingsToolAccess::schemaInstalled(const QString &schema)
{
    const GioLibrary *gio = GioLibrary::get();
    GSettingsSchemaSource *source = gio ? gio->settingsSchemaSourceGetDefault() : nullptr;
    if (!source)
        return false;
    GSettingsSchema *found = gio->settingsSchemaSourceLookup(source, schema.toUtf8().constData(), TRUE);
    if (!found)
        return false;
    gio->settingsSchemaUnref(found);
    return true;
}

std::optional<QString> GSettingsToolAccess::get(const QString &schema, const QString &path, const QString &key,
                                                QString &error)
{
    const gsettings::Result result = gsettings::run({QStringLiteral("get"), place(schema, path), key});
    if (!result.ok) {
        error = result.error;
        return std::nullopt;
    }
    return result.output;
}

std::optional<QString> GSettingsToolAccess::set(const QString &schema, const QString &path, const QString &key,
                                                const QString &value)
{
    const gsettings::Result result = gsettings::run({QStringLiteral("set"), place(schema, path), key, value});
    if (!result.ok)
        return result.error;
    return std::nullopt;
}

std::optional<QString> GSettingsToolAccess::reset(const QString &schema, const QString &path, const QString &key)
{
    const gsettings::Result result = gsettings::run({QStringLiteral("reset"), place(schema, path), key});
    if (!result.ok)
        return result.error;
    return std::nullopt;
}

std::optional<QMap<QString, QString>> GSettingsToolAccess::values(const QString &schema)
{
    const gsettings::Result result = gsettings::run({QStringLiteral("list-recursively"), schema});
    if (!result.ok)
        return std::nullopt;
    QMap<QString, QString> values;
    // One "schema key value" line each.
    for (const QString &line : result.output.split(QLatin1Char('\n'), Qt::SkipEmptyParts)) {
        const QStringList parts = line.split(QLatin1Char(' '));
        if (parts.size() >= 3)
            values.insert(parts.at(1), parts.mid(2).join(QLatin1Char(' ')));
    }
    return values;
}

std::optional<QStringList> GSettingsToolAccess::folders(const QString &path)
{
    const ToolResult result = runTool(QStringLiteral("dconf"), {QStringLiteral("list"), path});
    if (!result.ok)
        return std::nullopt;
    // One name a line; a folder's ends in a slash, a key's does not.
    QStringList names;
    for (const QString &line : result.output.split(QLatin1Char('\n'), Qt::SkipEmptyParts)) {
        if (line.endsWith(QLatin1Char('/')))
            names << line.chopped(1);
    }
    return names;
}

} // namespace quorvane
