#pragma once

#include "IconPosition.h"
#include "Location.h"

#include <QList>
#include <QString>
#include <QStringList>

#include <map>
#include <optional>

namespace quorvane {

// Item name → icon position on the Desktop.
using IconPositions = std::map<QString, IconPosition>;

// Everything the swap engine does to the Desktop and to the desktop folders. Positions are
// only ever read and written for items on the Desktop. Operations that can fail throw an
// exception derived from std::exception (SurfaceError for file-system failures).
class DesktopSurface {
public:
    virtual ~DesktopSurface() = default;

    // Whether the Desktop and the desktops folder lie on the same volume.
    virtual bool sameVolume() = 0;
    // Names of the items directly inside the location's folder.
    virtual QStringList items(const Location &at) = 0;
    // Moves the named item from one folder to the other under the same name.
    virtual void move(const QString &name, const Location &from, const Location &to) = 0;
    virtual std::optional<IconPosition> readPosition(const QString &name) = 0;
    // Default: readPosition for each name in list order; a name whose read fails or yields
    // nothing is left out. Never fails.
    virtual IconPositions readPositions(const QStringList &names);
    virtual void writePosition(const IconPosition &position, const QString &name) = 0;
    // Default: writePosition for each entry in the map's order; a failed write is skipped.
    // Never fails.
    virtual void writePositions(const IconPositions &positions);
    // Carries the desktop host's own position entries of the named items from one folder to
    // the other, before the items themselves move: from the Desktop into the desktop's folder,
    // and back. Positions are advisory: a carry never moves or changes an item. Default: nothing.
    virtual void carryPositions(const Location &from, const Location &to, const QStringList &names);
    // Called once the items carried for have moved: a host that reads its positions only as its
    // desktop starts is asked to read them again. Default: nothing.
    virtual void finishCarry();
    // Refuses, before anything moves, folders that items must not move into or out of: throws
    // SwapError desktopMissing when the Desktop does not exist, folderOutOfBounds for a
    // desktop's folder that leads out of bounds (the home folder, a folder holding the Desktop
    // or the desktops folder, one inside the Desktop), crossVolumeStore for one on another file
    // system than the Desktop. Default: accepts every folder.
    virtual void checkFolders(const QList<Location> &folders);
};

} // namespace quorvane
