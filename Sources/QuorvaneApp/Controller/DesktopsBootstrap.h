#pragma once

#include "Config.h"
#include "DesktopSurface.h"
#include "Paths.h"

#include <QObject>

#include <exception>
#include <functional>

namespace quorvane {

class DocumentService;
class FinderSurface;

// The first run and the folders the document needs: the Desktop's items become desktop
// "Default"; the desktops folder, its store folder and the folders of the live desktops and of
// the blank desktop exist afterwards; a legacy blank desktop takes its current name.
class DesktopsBootstrap {
public:
    DesktopsBootstrap(const Paths &paths, DocumentService &store, FinderSurface &surface);

    // Runs the bootstrap, then `then` on the GUI thread with its failure (none when it went
    // well: a folder that could not be made, a save that failed), while `lifetime` lives. On the
    // first run the Desktop's icon positions are read away from the event loop (the host may
    // need a child process to tell), and the rest follows once they are back; otherwise all of
    // it, `then` included, runs before this returns.
    void run(QObject *lifetime, std::function<void(std::exception_ptr)> then);
    // Renames the legacy blank desktop "_blank" (record, folder, references) and saves.
    void migrateBlankWorkspaceName(Config &config);

private:
    // The Desktop's items become desktop "Default", unless desktops were made meanwhile.
    void makeFirstDesktop(const QStringList &items, const IconPositions &positions);
    // The steps after the first run: the legacy name, the folders of the desktops.
    void finish();

    const Paths &m_paths;
    DocumentService &m_store;
    FinderSurface &m_surface;
};

} // namespace quorvane
