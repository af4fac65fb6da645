#include "Files/CaptureMetadata.h"

namespace quorvane {

std::optional<bool> LinuxCaptureMetadata::isScreenCapture(const QString &)
{
    return std::nullopt;
}

} // namespace quorvane
