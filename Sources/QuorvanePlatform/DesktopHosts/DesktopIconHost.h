#pragma once

#include "DesktopSurface.h"

#include <QString>
#include <QStringList>

#include <functional>
#include <memory>
#include <stdexcept>

namespace quorvane {

// A desktop host's position store that cannot be served: unreadable, or in a format this
// application does not know. The store is left as it is.
class IconStoreError : public std::runtime_error {
public:
    explicit IconStoreError(const QString &text)
        : std::runtime_error(text.toStdString())
    {
    }
};

// The program that draws the Desktop's icons and keeps where each one sits, keyed by the
// item's name on the Desktop, in coordinates of its own (a grid cell, or pixels).
class DesktopIconHost {
public:
    // When the host takes a position written to its store.
    enum class Pickup {
        onArrival, // as an item arrives on the Desktop, while the host runs
        onRestart, // only as its desktop starts: reload() asks it to start it again
        onTheItem, // kept on the item itself, so written once it lies on the Desktop
    };

    virtual ~DesktopIconHost() = default;
    // Names the host and its coordinates: positions kept for one name mean nothing to another.
    virtual QString name() const = 0;
    virtual Pickup pickup() const = 0;
    // The entries the store holds for these names; names without one are absent. A store that
    // does not exist yet holds none. Throws IconStoreError.
    virtual IconPositions read(const QStringList &names) = 0;
    // Sets the entries of `set` and removes those of `forget`, leaving every other entry and
    // setting of the store as it is; the store is replaced atomically, and only when this
    // changes it. Returns whether it changed. A store that does not exist is left missing
    // (nothing to serve yet): false. Throws IconStoreError.
    virtual bool write(const IconPositions &set, const QStringList &forget) = 0;
    // For an onRestart host: writes as write() does, with the host's desktop turned off so that
    // its own saving on the way out cannot undo the change, and starts the desktop again, the
    // way the host offers. Returns whether the store changed. For the others: write().
    virtual bool writeAndReload(const IconPositions &set, const QStringList &forget) = 0;
};

// The desktop host of this session with a position store, asked for at each call (its process
// followed, see runningDesktopHost); none when no such host runs.
using DesktopIconHostFinder = std::function<std::shared_ptr<DesktopIconHost>()>;

} // namespace quorvane
