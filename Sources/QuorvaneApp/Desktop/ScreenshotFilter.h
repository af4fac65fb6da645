#pragma once

#include "Desktop/ScreenshotNames.h"
#include "Files/CaptureMetadata.h"
#include "Session/ScreenshotPreferences.h"

#include <QString>

#include <optional>

namespace quorvane {

// Whether a file is a screenshot, and the system's screenshot settings. Every function reads
// the system afresh; the overloads without a platform argument use this system's own.
class ScreenshotFilter {
public:
    ScreenshotFilter() = delete;

    static const QString defaultNamePrefix; // "Screenshot"

    // The folder screenshots are saved to: none when the system names none (or an empty one);
    // a leading "~" stands for the home folder; "." and ".." components are resolved.
    static std::optional<QString> screencaptureLocation(ScreenshotPreferences &preferences, const QString &home);
    static std::optional<QString> screencaptureLocation();

    // The user's override trimmed of blanks and tabs; none when that leaves nothing.
    static std::optional<QString> userNamePrefix(const std::optional<QString> &userOverride);
    // The user's override trimmed of blanks and tabs when not empty, else the system's prefix
    // trimmed the same way when not empty, else "Screenshot".
    static QString effectiveNamePrefix(const std::optional<QString> &userOverride, ScreenshotPreferences &preferences);
    static QString effectiveNamePrefix(const std::optional<QString> &userOverride);

    // True when the file's extension names an image type.
    static bool isImage(const QString &path);

    // A capture flag decides when the system gives one (for any kind of file). Without one, an
    // image with a screenshot's name counts: file names are the only record of a screenshot
    // here, so matching them needs no switch.
    static bool isScreenshot(const QString &path, const ScreenshotNames &names, CaptureMetadata &metadata);
    static bool isScreenshot(const QString &path, const ScreenshotNames &names);
};

} // namespace quorvane
