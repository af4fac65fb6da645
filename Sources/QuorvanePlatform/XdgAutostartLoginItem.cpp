#include "LoginItem.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QSaveFile>

#include <cerrno>
#include <cstring>

#include <unistd.h>

namespace quorvane {

XdgAutostartLoginItem::XdgAutostartLoginItem(const QString &identifier, const QString &executablePath,
                                             const QString &autostartFolder)
    : m_identifier(identifier)
    , m_executable(executablePath)
    , m_folder(autostartFolder)
{
}

QString XdgAutostartLoginItem::standardAutostartFolder()
{
    QString config = qEnvironmentVariable("XDG_CONFIG_HOME");
    if (config.isEmpty() || !QDir::isAbsolutePath(config))
        config = QDir::homePath() + QStringLiteral("/.config");
    return QDir::cleanPath(config) + QStringLiteral("/autostart");
}

QString XdgAutostartLoginItem::execValue(const QString &executablePath)
{
    // Inside the quotes '"', '`', '$' and '\' take a backslash; '%' would start a field code.
    QString quoted = QStringLiteral("\"");
    for (const QChar c : executablePath) {
        if (c == QLatin1Char('"') || c == QLatin1Char('`') || c == QLatin1Char('$') || c == QLatin1Char('\\'))
            quoted += QLatin1Char('\\');
        if (c == QLatin1Char('%'))
            quoted += QLatin1Char('%');
        quoted += c;
    }
    quoted += QLatin1Char('"');
    // Then the escapes of every string value of the file.
    QString value;
    for (const QChar c : quoted) {
        switch (c.unicode()) {
        case '\\': value += QStringLiteral("\\\\"); break;
        case '\n': value += QStringLiteral("\\n"); break;
        case '\t': value += QStringLiteral("\\t"); break;
        case '\r': value += QStringLiteral("\\r"); break;
        default: value += c;
        }
    }
    return value;
}

QString XdgAutostartLoginItem::entryPath() const
{
    if (m_identifier.isEmpty())
        return QString();
    return m_folder + QLatin1Char('/') + m_identifier + QStringLiteral(".desktop");
}

bool XdgAutostartLoginItem::enabled() const
{
    if (m_identifier.isEmpty())
        return false;
    QFile file(entryPath());
    if (!file.open(QIODevice::ReadOnly))
        return false;
    bool inMainGroup = false;
    while (!file.atEnd()) {
        const QString line = QString::fromUtf8(file.readLine()).trimmed();
        if (line.startsWith(QLatin1Char('['))) {
            inMainGroup = line == QLatin1String("[Desktop Entry]");
            continue;
        }
        const qsizetype equals = line.indexOf(QLatin1Char('='));
        if (!inMainGroup || equals < 0)
            continue;
        if (line.left(equals).trimmed() == QLatin1String("Hidden") && line.mid(equals + 1).trimmed() == QLatin1String("true"))
            return false;
    }
    return true;
}

std::optional<QString> XdgAutostartLoginItem::enable()
{
    if (m_identifier.isEmpty() || m_executable.isEmpty() || !QDir::isAbsolutePath(m_executable))
        return QStringLiteral("Only an installed copy of Quorvane can start at login.");
    if (!QDir().mkpath(m_folder))
        return QStringLiteral("Couldn't create the folder ") + m_folder;
    const QByteArray contents = QByteArrayLiteral("[Desktop Entry]\nType=Application\nName=Quorvane\nExec=")
        + execValue(m_executable).toUtf8() + QByteArrayLiteral("\nTerminal=false\n");
    QSaveFile file(entryPath());
    if (!file.open(QIODevice::WriteOnly) || file.write(contents) != contents.size() || !file.commit())
        return file.errorString();
    return std::nullopt;
}

std::optional<QString> XdgAutostartLoginItem::disable()
{
    if (m_identifier.isEmpty())
        return std::nullopt;
    const QByteArray path = QFile::encodeName(entryPath());
    if (::unlink(path.constData()) == 0 || errno == ENOENT)
        return std::nullopt;
    return QString::fromLocal8Bit(std::strerror(errno));
}

} // namespace quorvane
