#pragma once

#include <QStringList>
#include <QUrl>

namespace quorvane {

// The desktop's file manager and default handlers.
class DesktopServices {
public:
    virtual ~DesktopServices() = default;
    // Opens a folder, a file or an address with its default handler.
    virtual void open(const QUrl &url) = 0;
    // Shows the items selected in the file manager (their folders opened when it cannot).
    virtual void reveal(const QStringList &paths) = 0;
};

} // namespace quorvane
