#pragma once

#include "Config.h"
#include "Paths.h"

namespace quorvane {

class DocumentService;
class FinderSurface;

// The first run and the folders the document needs: the Desktop's items become desktop
// "Default"; the desktops folder, its store folder and the folders of the live desktops and of
// the blank desktop exist afterwards; a legacy blank desktop takes its current name.
class DesktopsBootstrap {
public:
    DesktopsBootstrap(const Paths &paths, DocumentService &store, FinderSurface &surface);

    // Throws the failure of a folder that could not be made, or of a save.
    void run();
    // Renames the legacy blank desktop "_blank" (record, folder, references) and saves.
    void migrateBlankWorkspaceName(Config &config);

private:
    const Paths &m_paths;
    DocumentService &m_store;
    FinderSurface &m_surface;
};

} // namespace quorvane
