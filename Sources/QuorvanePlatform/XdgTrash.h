#pragma once

#include "FileOperations.h"

#include <QString>

namespace quorvane {

// The user's Trash as freedesktop.org lays it out: `<data home>/Trash` for
// items on the data home's file system, `.Trash/<uid>` (in a sticky `.Trash` that is not a link)
// or `.Trash-<uid>` at the top of any other. The Trash is checked (and set up where missing)
// before anything moves: its `files` and `info` must be real folders the user owns and can
// write. The item's .trashinfo is written first (exclusively), then the item is renamed into
// `files` under a free name, never replacing. When no Trash can be had nothing moves and the
// answer says why ("the Trash can't be used: …").
class XdgTrash {
public:
    explicit XdgTrash(QString dataHome);

    FileOperations::TrashResult moveToTrash(const QString &path) const;

private:
    QString m_dataHome;
};

} // namespace quorvane
