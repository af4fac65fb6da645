#include "Session/LxsessionThemeSetting.h"

#include "RegularFile.h"
#include "Work/ToolProcess.h"

#include <QDir>
#include <QFileInfo>

namespace quorvane {

namespace {

const QString themeKey = QStringLiteral("sNet/ThemeName");
const QString gtkGroup = QStringLiteral("[GTK]");

QString profile()
{
    const QString session = qEnvironmentVariable("DESKTOP_SESSION");
    // A session name is one path component, or the default profile serves.
    if (session.isEmpty() || session.contains(QLatin1Char('/')) || session == QLatin1String(".")
        || session == QLatin1String(".."))
        return QStringLiteral("LXDE");
    return session;
}

} // namespace

LxsessionThemeSetting::LxsessionThemeSetting(QString userFile, QStringList systemFiles, ThemeOf dark, ThemeOf light,
                                             std::function<bool(const QString &)> namesDark)
    : reload([] {
        const ToolResult result = runTool(QStringLiteral("lxsession"), {QStringLiteral("-r")});
        return result.ok ? std::nullopt : std::optional<QString>(result.error);
    })
    , m_userFile(std::move(userFile))
    , m_systemFiles(std::move(systemFiles))
    , m_dark(std::move(dark))
    , m_light(std::move(light))
    , m_namesDark(std::move(namesDark))
{
}

QString LxsessionThemeSetting::sessionUserFile()
{
    QString configHome = qEnvironmentVariable("XDG_CONFIG_HOME");
    if (configHome.isEmpty())
        configHome = QDir::homePath() + QStringLiteral("/.config");
    return configHome + QStringLiteral("/lxsession/") + profile() + QStringLiteral("/desktop.conf");
}

QStringList LxsessionThemeSetting::sessionSystemFiles()
{
    QString dirs = qEnvironmentVariable("XDG_CONFIG_DIRS");
    if (dirs.isEmpty())
        dirs = QStringLiteral("/etc/xdg");
    QStringList files;
    for (const QString &dir : dirs.split(QLatin1Char(':'), Qt::SkipEmptyParts))
        files << dir + QStringLiteral("/lxsession/") + profile() + QStringLiteral("/desktop.conf");
    files << QStringLiteral("/usr/share/lxsession/") + profile() + QStringLiteral("/desktop.conf");
    return files;
}

std::optional<QString> LxsessionThemeSetting::text(QString &error) const
{
    for (const QString &file : QStringList{m_userFile} + m_systemFiles) {
        const RegularFile::Content content = RegularFile::read(file, 1024 * 1024, RegularFile::Links::followed);
        if (content.missing())
            continue;
        if (!content.bytes) {
            error = file + QStringLiteral(": ") + content.reason;
            return std::nullopt;
        }
        return QString::fromUtf8(*content.bytes);
    }
    error = QStringLiteral("no lxsession desktop.conf");
    return std::nullopt;
}

std::optional<QString> LxsessionThemeSetting::themeIn(const QString &text)
{
    bool inGtk = false;
    for (const QString &line : text.split(QLatin1Char('\n'))) {
        const QString trimmed = line.trimmed();
        if (trimmed.startsWith(QLatin1Char('[')))
            inGtk = trimmed == gtkGroup;
        else if (inGtk && trimmed.startsWith(themeKey + QLatin1Char('=')))
            return trimmed.mid(themeKey.size() + 1).trimmed();
    }
    return std::nullopt;
}

QString LxsessionThemeSetting::withTheme(const QString &text, const QString &theme)
{
    QStringList lines = text.split(QLatin1Char('\n'));
    const QString line = themeKey + QLatin1Char('=') + theme;
    qsizetype group = -1;
    for (qsizetype i = 0; i < lines.size(); ++i) {
        const QString trimmed = lines[i].trimmed();
        if (trimmed.startsWith(QLatin1Char('['))) {
            if (group >= 0)
                break; // the next group: the key was not in [GTK]
            if (trimmed == gtkGroup)
                group = i;
        } else if (group >= 0 && trimmed.startsWith(themeKey + QLatin1Char('='))) {
            lines[i] = line;
            return lines.join(QLatin1Char('\n'));
        }
    }
    if (group >= 0) {
        lines.insert(group + 1, line);
        return lines.join(QLatin1Char('\n'));
    }
    QString result = text;
    if (!result.isEmpty() && !result.endsWith(QLatin1Char('\n')))
        result += QLatin1Char('\n');
    return result + gtkGroup + QLatin1Char('\n') + line + QLatin1Char('\n');
}

std::optional<QString> LxsessionThemeSetting::get(QString &error) const
{
    const auto current = text(error);
    if (!current)
        return std::nullopt;
    const auto theme = themeIn(*current);
    if (!theme)
        error = QStringLiteral("lxsession's desktop.conf names no theme");
    return theme;
}

std::optional<QString> LxsessionThemeSetting::set(const QString &value)
{
    if (value.contains(QLatin1Char('\n')))
        return QStringLiteral("a theme name of more than one line");
    QString error;
    const auto current = text(error);
    if (!current)
        return error;
    QDir().mkpath(QFileInfo(m_userFile).path());
    if (const auto failure = RegularFile::write(m_userFile, withTheme(*current, value).toUtf8()))
        return failure;
    return reload ? reload() : std::nullopt;
}

} // namespace quorvane
