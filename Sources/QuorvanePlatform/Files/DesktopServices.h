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
    // Whether an address of url's kind (its scheme) has a handler to open it: files and folders
    // always have; "mailto:" only where a mail application is set up.
    virtual bool canOpen(const QUrl &url) const
    {
        (void)url;
        return true;
    }
    // Shows the items selected in the file manager (their folders opened when it cannot).
    virtual void reveal(const QStringList &paths) = 0;
    // The same for a process about to quit: returns once the file manager has answered (or
    // the folders were opened instead), or after timeoutMs at most, so the request does not
    // die with the process.
    virtual void revealBeforeQuitting(const QStringList &paths, int timeoutMs) = 0;
};

} // namespace quorvane
