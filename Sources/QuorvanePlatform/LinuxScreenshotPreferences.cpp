#include "ScreenshotPreferences.h"

#include "RegularFile.h"

#include <QStandardPaths>
#include <QUrl>

namespace quorvane {

namespace {

bool sessionIs(const SessionSources &sources, const char *name)
{
    return sources.currentDesktop.split(QLatin1Char(':')).contains(QLatin1String(name), Qt::CaseInsensitive);
}

// One value of a key file, from the group given (any group when empty); none when missing.
std::optional<QString> keyFileValue(const QString &path, const QString &group, const QString &key)
{
    const auto text = RegularFile::readOrWarn(path, 1024 * 1024, RegularFile::Links::followed);
    if (!text)
        return std::nullopt;
    QString current;
    for (const QByteArray &raw : text->split('\n')) {
        const QString line = QString::fromUtf8(raw).trimmed();
        if (line.startsWith(QLatin1Char('[')) && line.endsWith(QLatin1Char(']'))) {
            current = line.mid(1, line.size() - 2);
            continue;
        }
        const qsizetype eq = line.indexOf(QLatin1Char('='));
        if (eq > 0 && (group.isEmpty() || current == group) && line.left(eq).trimmed() == key)
            return line.mid(eq + 1).trimmed();
    }
    return std::nullopt;
}

// A folder as the tools store it: a file URL or a path.
std::optional<QString> folder(const std::optional<QString> &stored)
{
    if (!stored || stored->isEmpty())
        return std::nullopt;
    if (stored->startsWith(QLatin1String("file:")))
        return QUrl(*stored).toLocalFile();
    return *stored;
}

// GSettings prints a string between single quotes.
QString unquoted(const QString &value)
{
    return value.size() >= 2 && value.startsWith(QLatin1Char('\'')) && value.endsWith(QLatin1Char('\''))
               ? value.mid(1, value.size() - 2)
               : value;
}

} // namespace

LinuxScreenshotPreferences::LinuxScreenshotPreferences(SessionSources sources, QString pictures)
    : m_sources(std::move(sources))
    , m_pictures(pictures.isEmpty() ? QStandardPaths::writableLocation(QStandardPaths::PicturesLocation) : pictures)
{
}

std::optional<QString> LinuxScreenshotPreferences::location()
{
    if (sessionIs(m_sources, "GNOME")) {
        if (m_sources.gsetting) {
            const auto chosen = m_sources.gsetting(QStringLiteral("org.gnome.gnome-screenshot"),
                                                   QStringLiteral("auto-save-directory"));
            if (const auto path = folder(chosen ? std::optional<QString>(unquoted(*chosen)) : std::nullopt))
                return path;
        }
        return m_pictures + QStringLiteral("/Screenshots");
    }
    if (sessionIs(m_sources, "XFCE")) {
        const QString rc = m_sources.configHome + QStringLiteral("/xfce4/xfce4-screenshooter");
        return folder(keyFileValue(rc, {}, QStringLiteral("screenshot_dir"))).value_or(m_pictures);
    }
    if (sessionIs(m_sources, "KDE")) {
        const QString rc = m_sources.configHome + QStringLiteral("/spectaclerc");
        return folder(keyFileValue(rc, QStringLiteral("General"), QStringLiteral("defaultSaveLocation"))).value_or(m_pictures);
    }
    return std::nullopt;
}

std::optional<QString> LinuxScreenshotPreferences::namePrefix()
{
    if (sessionIs(m_sources, "GNOME"))
        return QStringLiteral("Screenshot from");
    if (sessionIs(m_sources, "XFCE"))
        return keyFileValue(m_sources.configHome + QStringLiteral("/xfce4/xfce4-screenshooter"), {}, QStringLiteral("title"));
    if (sessionIs(m_sources, "KDE")) {
        // The literal start of the file-name format, before its first placeholder.
        const auto format = keyFileValue(m_sources.configHome + QStringLiteral("/spectaclerc"), QStringLiteral("General"),
                                         QStringLiteral("saveFilenameFormat"));
        if (format)
            return format->section(QLatin1Char('%'), 0, 0);
    }
    return std::nullopt;
}

} // namespace quorvane
