#include "Install/LinuxLoginItem.h"

#include "RegularFile.h"

#include <QCoreApplication>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QStandardPaths>

namespace quorvane {

LinuxLoginItem::LinuxLoginItem(const QString &identifier, const QString &executable, const QString &autostartFolder)
    : m_identifier(identifier)
    , m_executable(executable)
    , m_folder(autostartFolder)
{
    if (m_folder.isEmpty()) {
        QString config = qEnvironmentVariable("XDG_CONFIG_HOME");
        if (config.isEmpty() || !QDir::isAbsolutePath(config))
            config = QDir::homePath() + QStringLiteral("/.config");
        m_folder = config + QStringLiteral("/autostart");
    }
}

QString LinuxLoginItem::entryPath() const { return m_folder + QLatin1Char('/') + m_identifier + QStringLiteral(".desktop"); }

bool LinuxLoginItem::isEnabled() const
{
    // An entry kept elsewhere behind a link is read where it lies; only a regular file.
    const auto text = RegularFile::readOrWarn(entryPath(), 64 * 1024, RegularFile::Links::followed);
    if (!text)
        return false;
    bool inEntry = false;
    for (const QByteArray &raw : text->split('\n')) {
        const QByteArray line = raw.trimmed();
        if (line.startsWith('['))
            inEntry = line == "[Desktop Entry]";
        else if (inEntry && line.startsWith("Hidden")) {
            const QByteArray value = line.mid(line.indexOf('=') + 1).trimmed();
            if (line.left(line.indexOf('=')).trimmed() == "Hidden" && value == "true")
                return false;
        }
    }
    return true;
}

QString LinuxLoginItem::execArgument(const QString &executable)
{
    // Inside double quotes, ", `, $ and \ take a backslash; then the value's own escaping
    // doubles every backslash, and a field code's % is written %%.
    QString quoted;
    for (QChar c : executable) {
        if (c == QLatin1Char('"') || c == QLatin1Char('`') || c == QLatin1Char('$') || c == QLatin1Char('\\'))
            quoted += QLatin1Char('\\');
        quoted += c;
    }
    quoted = QLatin1Char('"') + quoted + QLatin1Char('"');
    quoted.replace(QLatin1Char('\\'), QStringLiteral("\\\\"));
    quoted.replace(QLatin1Char('%'), QStringLiteral("%%"));
    // A line break in a folder's name would otherwise end the Exec line and start a key of its
    // own; tabs and carriage returns take their escapes too.
    quoted.replace(QLatin1Char('\n'), QStringLiteral("\\n"));
    quoted.replace(QLatin1Char('\t'), QStringLiteral("\\t"));
    quoted.replace(QLatin1Char('\r'), QStringLiteral("\\r"));
    return quoted;
}

std::optional<QString> LinuxLoginItem::registerItem()
{
    if (!QDir().mkpath(m_folder) || !QFileInfo(m_folder).isDir())
        return QCoreApplication::translate("LoginItem", "Couldn't create the folder “%1”.").arg(m_folder);
    const QString text = QStringLiteral("[Desktop Entry]\nType=Application\nName=Quorvane\nExec=%1\n"
                                        "X-GNOME-Autostart-enabled=true\n")
                             .arg(execArgument(m_executable));
    // Never through a link: what a link in the entry's place leads to is not ours to rewrite.
    if (const auto failure = RegularFile::write(entryPath(), text.toUtf8()))
        return QCoreApplication::translate("LoginItem", "Couldn't write the autostart entry: %1").arg(*failure);
    return std::nullopt;
}

std::optional<QString> LinuxLoginItem::unregisterItem()
{
    QFile file(entryPath());
    if (!file.exists())
        return std::nullopt;
    if (!file.remove())
        return QCoreApplication::translate("LoginItem", "Couldn't remove the autostart entry: %1").arg(file.errorString());
    return std::nullopt;
}

} // namespace quorvane
