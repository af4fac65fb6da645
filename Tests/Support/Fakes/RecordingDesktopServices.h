#pragma once

#include "DesktopServices.h"

#include <vector>

namespace quorvane::test {

// Records what would have been opened and revealed.
class RecordingDesktopServices final : public DesktopServices {
public:
    std::vector<QUrl> opened;
    std::vector<QStringList> revealed;

    void open(const QUrl &url) override { opened.push_back(url); }
    void reveal(const QStringList &paths) override { revealed.push_back(paths); }
};

} // namespace quorvane::test
