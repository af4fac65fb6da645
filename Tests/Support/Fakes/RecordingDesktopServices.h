#pragma once

#include "Files/DesktopServices.h"

#include <utility>
#include <vector>

namespace quorvane::test {

// Records what would have been opened and revealed.
class RecordingDesktopServices final : public DesktopServices {
public:
    std::vector<QUrl> opened;
    std::vector<QStringList> revealed;
    // Revealed by a process about to quit, with the longest it waits for the file manager.
    std::vector<std::pair<QStringList, int>> revealedBeforeQuitting;

    // Whether "mailto:" addresses have a mail application to open them.
    bool mailHandler = true;

    void open(const QUrl &url) override { opened.push_back(url); }
    bool canOpen(const QUrl &url) const override { return mailHandler || url.scheme() != QLatin1String("mailto"); }
    void reveal(const QStringList &paths) override { revealed.push_back(paths); }
    void revealBeforeQuitting(const QStringList &paths, int timeoutMs) override
    {
        revealedBeforeQuitting.emplace_back(paths, timeoutMs);
    }
};

} // namespace quorvane::test
