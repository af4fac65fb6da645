#include "ScreenshotPreferences.h"

namespace quorvane {

std::optional<QString> LinuxScreenshotPreferences::location()
{
    return std::nullopt;
}

std::optional<QString> LinuxScreenshotPreferences::namePrefix()
{
    return std::nullopt;
}

} // namespace quorvane
