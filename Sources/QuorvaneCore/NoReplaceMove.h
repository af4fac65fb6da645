#pragma once

#include <QByteArray>
#include <QString>

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

// The cross-file-system half of moveItem, usable on its own: exclusive recursive copy of
// regular files, folders and symbolic links (modes and modification times kept), then removal
// of the source. Any other kind of item (a device, a pipe, a socket) fails with EOPNOTSUPP
// before the source is touched.
int copyThenRemove(const QByteArray &from, const QByteArray &to);

// mkdir -p: creates the folder and every missing parent; an existing folder is no error.
int makeFolders(const QByteArray &path);
int makeFolders(const QString &path);

// Whether anything (a dangling link included) stands at the path.
bool exists(const QByteArray &path);
bool exists(const QString &path);

// Every name inside the folder ("." and ".." left out, hidden names included), sorted by bytes.
int listEntries(const QByteArray &folder, std::vector<QByteArray> &names);

// Removes the item at the path, a folder with everything in it.
int removeTree(const QByteArray &path);

// The system's text for an errno.
QString errorText(int code);

} // namespace quorvane::fileops
