#pragma once

#include "DesktopServices.h"

#include <functional>

namespace quorvane {

// Reveals through the session bus's file manager (org.freedesktop.FileManager1.ShowItems);
// without one, or when it refuses, opens each item's parent folder. The file manager is never
// waited for. Opening goes to the desktop's default handler.
class LinuxDesktopServices final : public DesktopServices {
public:
    // opener: how a URL is opened; none: QDesktopServices.
    explicit LinuxDesktopServices(std::function<void(const QUrl &)> opener = {});

    void open(const QUrl &url) override;
    void reveal(const QStringList &paths) override;

private:
    void openParents(const QStringList &paths);

    std::function<void(const QUrl &)> m_opener;
};

} // namespace quorvane
