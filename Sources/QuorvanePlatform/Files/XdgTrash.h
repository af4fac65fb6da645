#pragma once

#include "Files/FileOperations.h"

#include <QByteArray>
#include <QString>

#include <functional>
#include <optional>

#include <sys/types.h>

namespace quorvane {

// The user's Trash as freedesktop.org lays it out: `<data home>/Trash` for
// items on the file system its `files` folder is on, `.Trash/<uid>` (in a sticky `.Trash` that
// is not a link) or `.Trash-<uid>` at the top of any other (a home Trash that is a disk of its
// own included: nothing is ever copied into a Trash). The Trash is checked (and set up where
// missing) before anything moves: its `files` and `info` must be real folders the user owns
// and can write. The item's .trashinfo is written first (exclusively), then the item is
// renamed into `files` under a free name, never replacing; a name too long to carry the
// record's ".trashinfo" is shortened there (its Path keeps the original). When no Trash can be
// had nothing moves and the answer says why in words ("the Trash can't be used: …").
class XdgTrash {
public:
    // The file system a path lies on; none when it cannot be read.
    using DeviceOf = std::function<std::optional<dev_t>(const QByteArray &path)>;

    // deviceOf: stat's answer unless given (a test lays out disks of its own with it).
    explicit XdgTrash(QString dataHome, DeviceOf deviceOf = {});

    FileOperations::TrashResult moveToTrash(const QString &path) const;

    // The longest name of an item in `files`: its record's name adds ".trashinfo".
    static constexpr int maximumNameBytes = 255 - 10;

private:
    QString m_dataHome;
    DeviceOf m_deviceOf;
};

} // namespace quorvane
