#pragma once

#include <QString>

#include <optional>

namespace quorvane {

// The system's record of whether a file was made by its screen capture: true or false when
// the file's metadata says so, none when there is no answer.
class CaptureMetadata {
public:
    virtual ~CaptureMetadata() = default;
    virtual std::optional<bool> isScreenCapture(const QString &path) = 0;
};

// No file metadata index records screen captures here: there is never an answer, and
// recognition falls back to file names.
class LinuxCaptureMetadata final : public CaptureMetadata {
public:
    std::optional<bool> isScreenCapture(const QString &path) override;
};

} // namespace quorvane
