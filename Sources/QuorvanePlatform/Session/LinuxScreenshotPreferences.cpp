#include "Session/ScreenshotPreferences.h"

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

const QString spectacleDefaultFormat = QStringLiteral("Screenshot_%Y%M%D_%H%m%S");

std::optional<QString> spectacleFormat(const SessionSources &sources)
{
    return keyFileValue(sources.configHome + QStringLiteral("/spectaclerc"), QStringLiteral("General"),
                        QStringLiteral("saveFilenameFormat"));
}

// Spectacle's file-name format as a pattern: its literal text as it stands, its date and time
// placeholders as the digits they become, any other placeholder (the window's title, a month's
// name) as whatever it may write.
QString spectaclePattern(const QString &format)
{
    QString pattern;
    for (qsizetype i = 0; i < format.size(); ++i) {
        if (format.at(i) != QLatin1Char('%') || i + 1 == format.size()) {
            pattern += QRegularExpression::escape(QString(format.at(i)));
            continue;
        }
        const QChar placeholder = format.at(++i);
        if (placeholder == QLatin1Char('Y'))
            pattern += QStringLiteral("\\d{4}");
        else if (QStringLiteral("yMDHmS").contains(placeholder))
            pattern += QStringLiteral("\\d{2}");
        else if (placeholder == QLatin1Char('d'))
            pattern += QStringLiteral("\\d+");
        else if (placeholder == QLatin1Char('%'))
            pattern += QLatin1Char('%');
        else
            pattern += QStringLiteral(".*");
    }
    return pattern;
}

QRegularExpression fromStart(const QString &pattern)
{
    return QRegularExpression(QStringLiteral("\\A(?:") + pattern + QLatin1Char(')'));
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
        if (const auto format = spectacleFormat(m_sources))
            return format->section(QLatin1Char('%'), 0, 0);
    }
    return std::nullopt;
}

std::optional<QRegularExpression> LinuxScreenshotPreferences::namePattern()
{
    const QString date = QStringLiteral("\\d{4}-\\d{2}-\\d{2}");
    const QString time = QStringLiteral("\\d{2}-\\d{2}-\\d{2}");
    if (sessionIs(m_sources, "GNOME"))
        return fromStart(QStringLiteral("Screenshot from ") + date + QLatin1Char(' ') + time);
    if (sessionIs(m_sources, "XFCE")) {
        const auto title = namePrefix();
        const QString prefix = title && !title->isEmpty() ? *title : QStringLiteral("Screenshot");
        return fromStart(QRegularExpression::escape(prefix) + QLatin1Char('_') + date + QLatin1Char('_') + time);
    }
    if (sessionIs(m_sources, "KDE")) {
        const auto format = spectacleFormat(m_sources);
        return fromStart(spectaclePattern(format && !format->isEmpty() ? *format : spectacleDefaultFormat));
    }
    return std::nullopt;
}

} // namespace quorvane
