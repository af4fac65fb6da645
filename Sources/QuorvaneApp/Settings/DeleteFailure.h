#pragma once

#include <QString>

namespace quorvane {

// A desktop folder whose move to the Trash failed; identified by the desktop.
struct DeleteFailure {
    QString workspace;
    bool folderMissing = false; // the folder was no longer there
    QString reason;

    bool operator==(const DeleteFailure &) const = default;
};

} // namespace quorvane
