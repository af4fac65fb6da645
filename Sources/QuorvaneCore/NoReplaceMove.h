#pragma once

#include <QByteArray>
#include <QString>

#include <functional>
#include <vector>

namespace quorvane::fileops {

// File operations on a user's items that never replace anything. Paths are native (bytes), so
// names that are not valid UTF-8 are handled as they stand. Every function returns 0 or the
// errno of the failure; none throws.

// One renameat2(RENAME_NOREPLACE): an existing item at `to` makes it fail with EEXIST.
int renameNoReplace(const QByteArray &from, const QByteArray &to);

// Moves the item at `from` (a file, a link or a whole folder) to `to`. Within one file system it
// is a single non-replacing rename. Across file systems it copies the item to `to` (created
// exclusively: an existing item there makes the move fail and nothing is touched), flushes the
// copy to the device, and removes the source only after the whole copy succeeded; a failed copy
// is removed again and the source stays as it was.
int moveItem(const QByteArray &from, const QByteArray &to);
int moveItem(const QString &from, const QString &to);

// Points in copyThenRemove where a test can step in: `afterSurvey` runs once the source has been
// surveyed and before anything is copied, `beforeRemoval` once the copy is complete and on the
// device and before the source is removed.
struct CopyHooks {
    std::function<void()> afterSurvey;
    std::function<void()> beforeRemoval;
};

// The cross-file-system half of moveItem, usable on its own: exclusive recursive copy of
// regular files, folders and symbolic links (modes and modification times kept), then removal
// of the source.
// - Before anything is copied the source is surveyed: any other kind of item (a device, a pipe,
//   a socket) fails with EOPNOTSUPP, and a folder of the source (or the source's parent) that
//   could not be emptied afterwards fails with EACCES; nothing is touched either way.
// - A failed copy is removed again and the source stays as it was.
// - Only what was copied is removed, and only while it is unchanged: an entry added to the
//   source meanwhile (ENOTEMPTY) or an item changed, replaced or gone since it was copied
//   (EBUSY) stops the removal. The copy then stays as well: both exist, nothing is lost.
int copyThenRemove(const QByteArray &from, const QByteArray &to, const CopyHooks &hooks = {});

// mkdir -p: creates the folder and every missing parent; an existing folder is no error.
int makeFolders(const QByteArray &path);
int makeFolders(const QString &path);

// Whether anything (a dangling link included) stands at the path.
bool exists(const QByteArray &path);
bool exists(const QString &path);

// Every name inside the folder ("." and ".." left out, hidden names included), sorted by bytes.
int listEntries(const QByteArray &folder, std::vector<QByteArray> &names);

// The system's text for an errno.
QString errorText(int code);

} // namespace quorvane::fileops
