#include "Desktop/ScreenshotFilter.h"

#include "ScreenshotSweeper.h"

#include <QDir>
#include <QFileInfo>
#include <QMimeDatabase>

#include <algorithm>

namespace quorvane {

namespace {

// Blanks are the space separators and the tab; line breaks stay.
bool isBlank(QChar c)
{
    return c == QLatin1Char('\t') || c.category() == QChar::Separator_Space;
}

QString trimBlanks(const QString &text)
{
    qsizetype begin = 0;
    qsizetype end = text.size();
    while (begin < end && isBlank(text.at(begin)))
        ++begin;
    while (end > begin && isBlank(text.at(end - 1)))
        --end;
    return text.mid(begin, end - begin);
}

} // namespace

const QString ScreenshotFilter::defaultNamePrefix = QStringLiteral("Screenshot");

std::optional<QString> ScreenshotFilter::screencaptureLocation(ScreenshotPreferences &preferences, const QString &home)
{
    const auto value = preferences.location();
    if (!value || value->isEmpty())
        return std::nullopt;
    QString path = *value;
    if (path == QLatin1String("~") || path.startsWith(QLatin1String("~/")))
        path = home + path.mid(1);
    return QDir::cleanPath(path);
}

std::optional<QString> ScreenshotFilter::screencaptureLocation()
{
    LinuxScreenshotPreferences preferences;
    return screencaptureLocation(preferences, QDir::homePath());
}

std::optional<QString> ScreenshotFilter::userNamePrefix(const std::optional<QString> &userOverride)
{
    if (!userOverride)
        return std::nullopt;
    const QString trimmed = trimBlanks(*userOverride);
    return trimmed.isEmpty() ? std::nullopt : std::optional<QString>(trimmed);
}

QString ScreenshotFilter::effectiveNamePrefix(const std::optional<QString> &userOverride, ScreenshotPreferences &preferences)
{
    if (const auto own = userNamePrefix(userOverride))
        return *own;
    if (const auto system = preferences.namePrefix()) {
        const QString trimmed = trimBlanks(*system);
        if (!trimmed.isEmpty())
            return trimmed;
    }
    return defaultNamePrefix;
}

QString ScreenshotFilter::effectiveNamePrefix(const std::optional<QString> &userOverride)
{
    LinuxScreenshotPreferences preferences;
    return effectiveNamePrefix(userOverride, preferences);
}

bool ScreenshotFilter::isImage(const QString &path)
{
    if (QFileInfo(path).suffix().isEmpty())
        return false;
    const QMimeType type = QMimeDatabase().mimeTypeForFile(path, QMimeDatabase::MatchExtension);
    if (!type.isValid() || type.isDefault())
        return false;
    const auto isImageName = [](const QString &name) { return name.startsWith(QLatin1String("image/")); };
    const QStringList ancestors = type.allAncestors();
    return isImageName(type.name()) || std::any_of(ancestors.begin(), ancestors.end(), isImageName);
}

bool ScreenshotFilter::isScreenshot(const QString &path, const ScreenshotNames &names, CaptureMetadata &metadata)
{
    const std::optional<bool> flag = metadata.isScreenCapture(path);
    if (!isImage(path))
        return flag.value_or(false);
    return ScreenshotSweeper::isScreenshot(flag, true, names.matches(QFileInfo(path).fileName()));
}

bool ScreenshotFilter::isScreenshot(const QString &path, const ScreenshotNames &names)
{
    LinuxCaptureMetadata metadata;
    return isScreenshot(path, names, metadata);
}

} // namespace quorvane
