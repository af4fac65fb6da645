#pragma once

#include "CaptureMetadata.h"

#include <QStringList>

namespace quorvane::test {

// A capture-metadata index that gives one fixed answer (none: it never answers) for every
// path, and records the paths asked about.
class FakeCaptureMetadata final : public CaptureMetadata {
public:
    std::optional<bool> answer;
    QStringList asked;

    std::optional<bool> isScreenCapture(const QString &path) override
    {
        asked << path;
        return answer;
    }
};

} // namespace quorvane::test
