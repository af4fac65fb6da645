#pragma once

#include "Paths.h"

namespace quorvane {

class AlertPresenter;
class DataLock;

// The alerts the launch may owe the user before anything moves, each with its log line.
namespace launchalerts {

// The document is of a newer version: the session is read-only.
void documentFromNewerVersion(AlertPresenter &alerts, int schemaVersion);
// The Desktop folder is the home folder or holds the desktops folder: nothing may move.
void unsafeDesktop(AlertPresenter &alerts, const Paths &paths);
// The desktops folder's lock could not be taken: another process holds it, or the folder can't
// be written. This process quits after the alert.
void dataLockNotTaken(AlertPresenter &alerts, const Paths &paths, const DataLock &lock);

} // namespace launchalerts

} // namespace quorvane
