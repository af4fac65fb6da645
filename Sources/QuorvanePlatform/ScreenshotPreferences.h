#pragma once

#include "SessionDockPreferences.h"

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
};

// The running session's own screenshot tool: GNOME (gnome-screenshot's auto-save-directory,
// else GNOME Shell's "Screenshots" folder of the Pictures folder; names "Screenshot from …"),
// XFCE's screenshooter (its configuration file, else the Pictures folder) and KDE's Spectacle
// (its configuration, else the Pictures folder). Another session keeps neither setting: both read
// as absent, so the defaults apply.
class LinuxScreenshotPreferences final : public ScreenshotPreferences {
public:
    explicit LinuxScreenshotPreferences(SessionSources sources = SessionSources::live(), QString pictures = {});

    std::optional<QString> location() override;
    std::optional<QString> namePrefix() override;

private:
    SessionSources m_sources;
    QString m_pictures; // the user's Pictures folder
};

} // namespace quorvane
