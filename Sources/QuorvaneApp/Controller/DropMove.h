#pragma once

#include "FileSystemSurface.h"
#include "NoReplaceMove.h"

#include <QString>

namespace quorvane {

// Moves one Desktop item into a desktop's folder (created when missing), never replacing
// anything. Across file systems the item is copied under a hidden name, takes its own name only
// once complete, and is then removed from the Desktop (hooks: where a test steps in), under a
// record in `copyRecords` (Paths::copyRecords); what an interruption leaves is settled by the
// next copy into that folder or the next start. False when the item could not be moved; it is
// then where it was, or, when only its removal failed, in both places.
bool moveDroppedItem(FileSystemSurface &files, const QString &name, const QString &workspace,
                     const QString &copyRecords, const fileops::CopyHooks &hooks = {});

} // namespace quorvane
