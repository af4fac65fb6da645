#pragma once

#include "Files/DesktopServices.h"

#include <QDBusMessage>

#include <functional>
#include <optional>

namespace quorvane {

// Reveals through the session bus's file manager (org.freedesktop.FileManager1.ShowItems);
// without one, or when it refuses, opens each item's parent folder. The file manager is only
// waited for, without serving events, by a process about to quit. Opening goes to the
// desktop's default handler.
class LinuxDesktopServices final : public DesktopServices {
public:
    // opener: how a URL is opened; none: QDesktopServices.
    explicit LinuxDesktopServices(std::function<void(const QUrl &)> opener = {});

    void open(const QUrl &url) override;
    // From the desktop's default and associated applications (mimeapps.list, defaults.list and
    // the applications' mimeinfo.cache in the XDG folders).
    bool canOpen(const QUrl &url) const override;
    void reveal(const QStringList &paths) override;
    void revealBeforeQuitting(const QStringList &paths, int timeoutMs) override;

    // Whether a scheme handler for scheme ("mailto") is named in the lists of configDirs (each
    // "mimeapps.list") or dataDirs (each "applications/" mimeapps.list, defaults.list and
    // mimeinfo.cache).
    static bool schemeHasHandler(const QString &scheme, const QStringList &configDirs, const QStringList &dataDirs);

private:
    // The file manager's ShowItems call for paths; none when the bus has no file manager.
    static std::optional<QDBusMessage> showItemsCall(const QStringList &paths);
    void openParents(const QStringList &paths);

    std::function<void(const QUrl &)> m_opener;
};

} // namespace quorvane
