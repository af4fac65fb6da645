#pragma once

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

// This desktop keeps neither setting in one agreed place: both read as absent, so the
// defaults apply (the Desktop is not known as the save folder; the prefix is "Screenshot").
class LinuxScreenshotPreferences final : public ScreenshotPreferences {
public:
    std::optional<QString> location() override;
    std::optional<QString> namePrefix() override;
};

} // namespace quorvane
