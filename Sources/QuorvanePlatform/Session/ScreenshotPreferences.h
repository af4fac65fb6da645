#pragma once

#include "Session/SessionDockPreferences.h"

#include <QRegularExpression>
#include <QString>

#include <optional>

namespace quorvane {

// The system's own screenshot settings, as stored: where new screenshots are saved (a folder
// path that may start with "~") and the prefix of their file names. Either is none when the
// system keeps no such setting. Read afresh on every call.
class ScreenshotPreferences {
public:
    virtual ~ScreenshotPreferences() = default;
    virtual std::optional<QString> location() = 0;
    virtual std::optional<QString> namePrefix() = 0;
    // The names the system's screenshot tool gives its files, matched from a name's start: the
    // prefix, the tool's separator and its date. None when the system keeps no such tool.
    virtual std::optional<QRegularExpression> namePattern() = 0;
};

// The running session's own screenshot tool: GNOME (gnome-screenshot's auto-save-directory,
// else GNOME Shell's "Screenshots" folder of the Pictures folder; names "Screenshot from
// 2026-12-09 19-50-00.png"), XFCE's screenshooter (its configuration file, else the Pictures
// folder; names "<title>_2026-12-09_19-50-00.png") and KDE's Spectacle (its configuration, else the
// Pictures folder; names after its file-name format, "Screenshot_20261209_195000.png" by default). Another session keeps neither setting: both read
// as absent, so the defaults apply.
class LinuxScreenshotPreferences final : public ScreenshotPreferences {
public:
    explicit LinuxScreenshotPreferences(SessionSources sources = SessionSources::live(), QString pictures = {});

    std::optional<QString> location() override;
    std::optional<QString> namePrefix() override;
    std::optional<QRegularExpression> namePattern() override;

private:
    SessionSources m_sources;
    QString m_pictures; // the user's Pictures folder
};

} // namespace quorvane
