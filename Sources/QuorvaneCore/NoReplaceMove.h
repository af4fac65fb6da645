#pragma once

#include <QByteArray>
#include <QString>

#include <functional>
#include <sys/types.h>
#include <vector>

namespace quorvane::fileops {

// File operations on a user's items that never replace anything. Paths are native (bytes), so
// names that are not valid UTF-8 are handled as they stand. Every function returns 0 or the
// errno of the failure; none throws.

// Writes every byte to the descriptor, going on after an interrupted write; 0 or errno.
int writeAll(int fd, const char *data, ssize_t size);

// One renameat2(RENAME_NOREPLACE): an existing item at `to` makes it fail with EEXIST.
int renameNoReplace(const QByteArray &from, const QByteArray &to);

// Copies across file systems keep a record of their own in `records`, a folder of the
// application's store, from before anything is made until they are done: the record names the
// source, the target and the hidden folder the copy is made in, and notes that folder's device
// and inode once made. Only what a record names, checked that way, is ever removed or finished
// by finishInterruptedCopies; an item that merely bears such a name is a user's item like any
// other. Operations on one records folder run one at a time (the one process of a desktops
// folder, on its main thread).

// Moves the item at `from` (a file, a link or a whole folder) to `to`. Within one file system it
// is a single non-replacing rename. Across file systems it is copyThenRemove: an existing item
// at `to` makes the move fail and nothing is touched.
int moveItem(const QByteArray &from, const QByteArray &to, const QByteArray &records);
int moveItem(const QString &from, const QString &to, const QString &records);

// Points in copyThenRemove where a test can step in: `afterSurvey` runs once the source has been
// surveyed and before anything is copied, `beforeRemoval` once the copy is in place and before
// the source is removed, `eachStep` after every step that changes the disk.
struct CopyHooks {
    std::function<void()> afterSurvey;
    std::function<void()> beforeRemoval;
    std::function<void()> eachStep;
};

// The cross-file-system half of moveItem, usable on its own: exclusive recursive copy of
// regular files, folders and symbolic links (modes and modification times kept), then removal
// of the source.
// - Before anything is copied the source is surveyed: any other kind of item (a device, a pipe,
//   a socket) fails with EOPNOTSUPP, a folder of the source (or the source's parent) that
//   could not be emptied afterwards fails with EACCES, and a folder on a file system of its
//   own (a mount point) with EBUSY; nothing is touched either way.
// - The record is written to `records` first (a record that cannot be written fails the move
//   before anything is made). The copy is written inside a hidden folder beside `to`
//   (".quorvane-copy-<token>-<name>", holding a marker with the record's token) and renamed to
//   `to`, never replacing, only once it is complete and matches the source (kinds and sizes of
//   the whole tree). Nothing ever sits unfinished under `to`. A failed copy is removed again and
//   the source stays as it was.
// - Only what was copied is removed, and only while it is unchanged: an entry added to the
//   source meanwhile (ENOTEMPTY) or an item changed, replaced or gone since it was copied
//   (EBUSY) stops the removal. The copy then stays as well: both exist, nothing is lost.
// - An interruption at any step is undone or finished by finishInterruptedCopies (every copy
//   into a folder first settles the records of earlier copies into that folder).
int copyThenRemove(const QByteArray &from, const QByteArray &to, const QByteArray &records,
                   const CopyHooks &hooks = {});

// Copies a regular file, a link or a whole folder to `to` the same way, without removing the
// source: `to` appears only complete.
int copyExclusive(const QByteArray &from, const QByteArray &to, const QByteArray &records);

// Settles what interrupted copies left, wherever they copied to, as their records in `records`
// name it: an unfinished copy is removed (its source still holds the whole item); a move whose
// copy already took its final name has the rest of its source removed, when the copy holds
// everything left of it. A hidden folder goes only when it is the record's own (a folder of
// this user with the noted device and inode and the record's marker inside); anything else at
// its name stays. A record whose target's folder cannot be reached (a disk not mounted) is kept
// for a later start; every other one is removed once settled. No folder: nothing to settle.
int finishInterruptedCopies(const QByteArray &records);

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
// The same for a failure met while working on the item: a full disk (or quota) says which item
// did not fit, since nothing else in the text would; any other failure is errorText's.
QString errorTextFor(int code, const QString &item);

} // namespace quorvane::fileops
