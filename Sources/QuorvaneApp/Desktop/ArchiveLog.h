#pragma once

#include <QString>

namespace quorvane::archivelog {

// The log lines of archiving, draining and the timers' auto-completion, all in one place: the
// "archive" category for completed work, the "error" category for failures.
void archived(const QString &name, const QString &destination);
void drained(const QString &name, const QString &destination);
// A restore stopped after its folder was back was completed at the next start.
void restoreCompleted(const QString &name);
void autoCompletionFailed(const QString &name, const QString &description);
// The document could not be read: no desktop timer completes this time.
void timersWait(const QString &description);
// An archived screenshot collection kept its name and no fresh one took its place.
void collectionNotRotated(const QString &name, const QString &description);
// A folder whose document change could not be saved was put back where it came from, or not.
void movedBack(const QString &from, const QString &to);
void moveBackFailed(const QString &from, const QString &to, const QString &description);

} // namespace quorvane::archivelog
