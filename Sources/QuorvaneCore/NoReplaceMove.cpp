#include "NoReplaceMove.h"

#include "CopyRecord.h"

#include <QFile>

#include <algorithm>
#include <cerrno>
#include <cstring>
#include <optional>
#include <stdio.h> // renameat2, RENAME_NOREPLACE
#include <vector>

#include <dirent.h>
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

namespace quorvane::fileops {

namespace {

// The names inside a folder, "." and ".." left out; 0 or errno.
int entriesOf(const QByteArray &folder, std::vector<QByteArray> &names)
{
    DIR *dir = ::opendir(folder.constData());
    if (!dir)
        return errno;
    errno = 0;
    while (const dirent *entry = ::readdir(dir)) {
        const char *name = entry->d_name;
        if (std::strcmp(name, ".") != 0 && std::strcmp(name, "..") != 0)
            names.emplace_back(name);
        errno = 0;
    }
    const int code = errno;
    ::closedir(dir);
    return code;
}

// An item of the source changed, was replaced or went away after it was surveyed or copied.
constexpr int changedMeanwhile = EBUSY;

// One item of the source as surveyed before the copy, with where its copy goes.
struct Surveyed {
    QByteArray from;
    QByteArray to;
    struct stat st {};
    std::vector<QByteArray> children; // folders: the names inside, sorted
};

bool sameTime(const struct timespec &a, const struct timespec &b)
{
    return a.tv_sec == b.tv_sec && a.tv_nsec == b.tv_nsec;
}

// Whether `now` is still the item surveyed as `then`. A folder's content is checked on its own.
bool unchanged(const struct stat &then, const struct stat &now)
{
    if (then.st_dev != now.st_dev || then.st_ino != now.st_ino || (then.st_mode & S_IFMT) != (now.st_mode & S_IFMT))
        return false;
    return S_ISDIR(then.st_mode)
        || (then.st_size == now.st_size && sameTime(then.st_mtim, now.st_mtim) && sameTime(then.st_ctim, now.st_ctim));
}

QByteArray parentOf(const QByteArray &path)
{
    const qsizetype slash = path.lastIndexOf('/');
    if (slash < 0)
        return QByteArrayLiteral(".");
    return slash == 0 ? QByteArrayLiteral("/") : path.left(slash);
}

// Flushes a folder's entries to the device; 0 or errno. A file system that cannot sync folders
// (EINVAL) is no failure.
int syncFolder(const QByteArray &folder)
{
    const int fd = ::open(folder.constData(), O_RDONLY | O_DIRECTORY | O_CLOEXEC);
    if (fd < 0)
        return errno;
    const int code = ::fsync(fd) == 0 || errno == EINVAL ? 0 : errno;
    ::close(fd);
    return code;
}

// Records the item at `from` and, for a folder, everything inside it (pre-order: a folder comes
// before its content). Fails before anything is copied when the source could not be copied
// whole or could not be removed afterwards.
int survey(const QByteArray &from, const QByteArray &to, std::vector<Surveyed> &items)
{
    Surveyed item;
    item.from = from;
    item.to = to;
    if (::lstat(from.constData(), &item.st) != 0)
        return errno;
    if (S_ISREG(item.st.st_mode) || S_ISLNK(item.st.st_mode)) {
        items.push_back(std::move(item));
        return 0;
    }
    if (!S_ISDIR(item.st.st_mode))
        return EOPNOTSUPP;
    // Emptying the folder afterwards needs write and search permission on it.
    if (::access(from.constData(), W_OK | X_OK) != 0)
        return errno;
    if (const int code = listEntries(from, item.children))
        return code;
    const std::vector<QByteArray> names = item.children;
    items.push_back(std::move(item));
    for (const QByteArray &name : names) {
        if (const int code = survey(from + '/' + name, to + '/' + name, items))
            return code;
    }
    return 0;
}

int copyFile(const Surveyed &item)
{
    // Non-blocking, so that a pipe or a device put in the file's place cannot make the open
    // wait; what was opened must be the very file surveyed.
    const int in = ::open(item.from.constData(), O_RDONLY | O_NONBLOCK | O_NOFOLLOW | O_CLOEXEC);
    if (in < 0)
        return errno;
    struct stat st {};
    int code = ::fstat(in, &st) == 0 ? 0 : errno;
    if (code == 0 && !S_ISREG(st.st_mode))
        code = EOPNOTSUPP;
    if (code == 0 && (st.st_dev != item.st.st_dev || st.st_ino != item.st.st_ino))
        code = changedMeanwhile;
    if (code == 0) {
        const int flags = ::fcntl(in, F_GETFL);
        if (flags < 0 || ::fcntl(in, F_SETFL, flags & ~O_NONBLOCK) != 0)
            code = errno;
    }
    if (code != 0) {
        ::close(in);
        return code;
    }
    const int out = ::open(item.to.constData(), O_WRONLY | O_CREAT | O_EXCL | O_NOFOLLOW | O_CLOEXEC, 0600);
    if (out < 0) {
        code = errno;
        ::close(in);
        return code;
    }
    char buffer[65536];
    for (;;) {
        const ssize_t n = ::read(in, buffer, sizeof buffer);
        if (n == 0)
            break;
        if (n < 0) {
            if (errno == EINTR)
                continue;
            code = errno;
            break;
        }
        if ((code = writeAll(out, buffer, n)) != 0)
            break;
    }
    if (code == 0 && ::fchmod(out, item.st.st_mode & 07777) != 0)
        code = errno;
    // The source goes away afterwards: the copy must have reached the device first.
    if (code == 0 && ::fsync(out) != 0)
        code = errno;
    if (code == 0) {
        const struct timespec times[2] = {item.st.st_atim, item.st.st_mtim};
        ::futimens(out, times);
    }
    ::close(in);
    if (::close(out) != 0 && code == 0)
        code = errno;
    if (code != 0)
        ::unlink(item.to.constData());
    return code;
}

int copyLink(const Surveyed &item)
{
    QByteArray target(qsizetype(item.st.st_size) + 1, '\0');
    const ssize_t n = ::readlink(item.from.constData(), target.data(), size_t(target.size()));
    if (n < 0)
        return errno;
    if (n != item.st.st_size)
        return changedMeanwhile;
    target.truncate(n);
    if (::symlink(target.constData(), item.to.constData()) != 0)
        return errno;
    const struct timespec times[2] = {item.st.st_atim, item.st.st_mtim};
    ::utimensat(AT_FDCWD, item.to.constData(), times, AT_SYMLINK_NOFOLLOW);
    return 0;
}

// Copies one surveyed item; a folder is created empty and stays writable until the whole copy
// is done (finishFolder gives it its mode).
int copyOne(const Surveyed &item)
{
    if (S_ISREG(item.st.st_mode))
        return copyFile(item);
    if (S_ISLNK(item.st.st_mode))
        return copyLink(item);
    return ::mkdir(item.to.constData(), 0700) == 0 ? 0 : errno;
}

// Flushes a copied folder and gives it the source folder's mode and times.
int finishFolder(const Surveyed &item)
{
    const int fd = ::open(item.to.constData(), O_RDONLY | O_DIRECTORY | O_NOFOLLOW | O_CLOEXEC);
    if (fd < 0)
        return errno;
    int code = ::fsync(fd) == 0 || errno == EINVAL ? 0 : errno;
    if (code == 0 && ::fchmod(fd, item.st.st_mode & 07777) != 0)
        code = errno;
    if (code == 0) {
        const struct timespec times[2] = {item.st.st_atim, item.st.st_mtim};
        ::futimens(fd, times);
    }
    ::close(fd);
    return code;
}

// Removes a copy this process made, whatever modes its folders were given.
int removeCopy(const QByteArray &path)
{
    struct stat st {};
    if (::lstat(path.constData(), &st) != 0)
        return errno;
    if (!S_ISDIR(st.st_mode))
        return ::unlink(path.constData()) == 0 ? 0 : errno;
    if ((st.st_mode & S_IRWXU) != S_IRWXU)
        ::chmod(path.constData(), (st.st_mode & 07777) | S_IRWXU);
    std::vector<QByteArray> names;
    if (const int code = entriesOf(path, names))
        return code;
    for (const QByteArray &name : names) {
        if (const int code = removeCopy(path + '/' + name))
            return code;
    }
    return ::rmdir(path.constData()) == 0 ? 0 : errno;
}

// Whether the source is still exactly what was copied: every item unchanged, no folder holding
// a name that was not copied.
int verifySource(const std::vector<Surveyed> &items)
{
    for (const Surveyed &item : items) {
        struct stat now {};
        if (::lstat(item.from.constData(), &now) != 0 || !unchanged(item.st, now))
            return changedMeanwhile;
        if (S_ISDIR(item.st.st_mode)) {
            std::vector<QByteArray> names;
            if (const int code = listEntries(item.from, names))
                return code;
            if (names != item.children)
                return names.size() > item.children.size() ? ENOTEMPTY : changedMeanwhile;
        }
    }
    return 0;
}

// Removes one surveyed item of the source (content goes before its folder), checked once more
// right before it goes; a folder goes with rmdir, so a name added meanwhile makes it fail.
int removeSurveyed(const Surveyed &item)
{
    if (S_ISDIR(item.st.st_mode))
        return ::rmdir(item.from.constData()) == 0 ? 0 : errno;
    struct stat now {};
    if (::lstat(item.from.constData(), &now) != 0 || !unchanged(item.st, now))
        return changedMeanwhile;
    return ::unlink(item.from.constData()) == 0 ? 0 : errno;
}

} // namespace

int writeAll(int fd, const char *data, ssize_t size)
{
    while (size > 0) {
        const ssize_t n = ::write(fd, data, size_t(size));
        if (n < 0) {
            if (errno == EINTR)
                continue;
            return errno;
        }
        data += n;
        size -= n;
    }
    return 0;
}

int renameNoReplace(const QByteArray &from, const QByteArray &to)
{
    return ::renameat2(AT_FDCWD, from.constData(), AT_FDCWD, to.constData(), RENAME_NOREPLACE) == 0 ? 0 : errno;
}

int moveItem(const QByteArray &from, const QByteArray &to, const QByteArray &records)
{
    const int code = renameNoReplace(from, to);
    if (code != EXDEV)
        return code;
    return copyThenRemove(from, to, records);
}

int moveItem(const QString &from, const QString &to, const QString &records)
{
    return moveItem(QFile::encodeName(from), QFile::encodeName(to), QFile::encodeName(records));
}

namespace {

// Inside a copy's hidden folder: the marker holding the record's token, and the copy itself.
constexpr char itemName[] = "item";
constexpr qsizetype largestMarker = 64;

QByteArray absolutePath(const QByteArray &path)
{
    if (path.startsWith('/'))
        return path;
    char cwd[4096];
    return ::getcwd(cwd, sizeof cwd) ? QByteArray(cwd) + '/' + path : path;
}

CopyRecord::FileId idOf(const struct stat &st)
{
    return {st.st_dev, st.st_ino};
}

std::optional<CopyRecord::FileId> idAt(const QByteArray &path)
{
    struct stat st {};
    if (::lstat(path.constData(), &st) != 0)
        return std::nullopt;
    return idOf(st);
}

int writeMarker(const QByteArray &path, const QByteArray &token)
{
    const int fd = ::open(path.constData(), O_WRONLY | O_CREAT | O_EXCL | O_NOFOLLOW | O_CLOEXEC, 0600);
    if (fd < 0)
        return errno;
    int code = writeAll(fd, token.constData(), token.size());
    if (code == 0 && ::fsync(fd) != 0)
        code = errno;
    if (::close(fd) != 0 && code == 0)
        code = errno;
    return code;
}

// Whether the folder holds the marker of this token: a small regular file, read without
// following a link or waiting on anything that is not a file.
bool markerMatches(const QByteArray &folder, const QByteArray &token)
{
    const int fd = ::open((folder + '/' + copyMarkerName).constData(), O_RDONLY | O_NOFOLLOW | O_NONBLOCK | O_CLOEXEC);
    if (fd < 0)
        return false;
    struct stat st {};
    char buffer[largestMarker + 1];
    ssize_t n = -1;
    if (::fstat(fd, &st) == 0 && S_ISREG(st.st_mode) && st.st_size <= largestMarker)
        n = ::read(fd, buffer, sizeof buffer);
    ::close(fd);
    return n >= 0 && QByteArray(buffer, n) == token;
}

// Whether the copy matches what was surveyed: the same kinds of items under the same names and
// regular files and links of the same sizes, the whole tree.
int verifyCopy(const std::vector<Surveyed> &items)
{
    for (const Surveyed &item : items) {
        struct stat now {};
        if (::lstat(item.to.constData(), &now) != 0)
            return EIO;
        if ((now.st_mode & S_IFMT) != (item.st.st_mode & S_IFMT))
            return EIO;
        if (!S_ISDIR(now.st_mode) && now.st_size != item.st.st_size)
            return EIO;
        if (S_ISDIR(now.st_mode)) {
            std::vector<QByteArray> names;
            if (listEntries(item.to, names) != 0 || names != item.children)
                return EIO;
        }
    }
    return 0;
}

bool sameContent(const QByteArray &a, const QByteArray &b)
{
    const int first = ::open(a.constData(), O_RDONLY | O_NOFOLLOW | O_NONBLOCK | O_CLOEXEC);
    const int second = ::open(b.constData(), O_RDONLY | O_NOFOLLOW | O_NONBLOCK | O_CLOEXEC);
    bool same = first >= 0 && second >= 0;
    char one[65536];
    char other[65536];
    while (same) {
        const ssize_t n = ::read(first, one, sizeof one);
        if (n < 0 || n != ::read(second, other, size_t(n)) || std::memcmp(one, other, size_t(n)) != 0) {
            same = false;
            break;
        }
        if (n == 0) {
            same = ::read(second, other, 1) == 0;
            break;
        }
    }
    if (first >= 0)
        ::close(first);
    if (second >= 0)
        ::close(second);
    return same;
}

QByteArray linkTarget(const QByteArray &path)
{
    char target[4096];
    const ssize_t n = ::readlink(path.constData(), target, sizeof target);
    return n < 0 ? QByteArray() : QByteArray(target, n);
}

// Whether everything still at `source` has its exact like at `copy`: the same kinds of items
// under the same names, files of the same bytes, links to the same targets.
bool covers(const QByteArray &copy, const QByteArray &source)
{
    struct stat a {
    }, b{};
    if (::lstat(source.constData(), &a) != 0)
        return true; // already gone
    if (::lstat(copy.constData(), &b) != 0 || (a.st_mode & S_IFMT) != (b.st_mode & S_IFMT))
        return false;
    if (S_ISREG(a.st_mode))
        return a.st_size == b.st_size && sameContent(copy, source);
    if (S_ISLNK(a.st_mode))
        return linkTarget(copy) == linkTarget(source);
    if (!S_ISDIR(a.st_mode))
        return false;
    std::vector<QByteArray> names;
    if (listEntries(source, names) != 0)
        return false;
    return std::all_of(names.begin(), names.end(),
                       [&](const QByteArray &name) { return covers(copy + '/' + name, source + '/' + name); });
}

// Any folder of the source on a file system of its own cannot be removed afterwards (EBUSY).
int refuseMountPoints(const QByteArray &from, const std::vector<Surveyed> &items)
{
    struct stat parent {};
    if (::stat(parentOf(from).constData(), &parent) != 0)
        return errno;
    for (const Surveyed &item : items) {
        if (S_ISDIR(item.st.st_mode) && item.st.st_dev != parent.st_dev)
            return EBUSY;
    }
    return 0;
}

void step(const CopyHooks &hooks)
{
    if (hooks.eachStep)
        hooks.eachStep();
}

// Removes the hidden folder a record names, only when it is the one the record's copy made: a
// folder (never a link) of this user, with the device and inode noted when it was made and the
// record's marker inside, goes with whatever it holds. One made before its inode or marker could
// be noted held nothing yet: it goes only while empty. Anything else at that name is not the
// application's and stays. 0 or errno.
int removeTemporary(const CopyRecord &record)
{
    struct stat st {};
    if (::lstat(record.temporary.constData(), &st) != 0)
        return errno == ENOENT || errno == ENOTDIR ? 0 : errno;
    if (!S_ISDIR(st.st_mode) || st.st_uid != ::geteuid())
        return 0;
    if (record.made) {
        if (idOf(st) != *record.made)
            return 0;
        if (markerMatches(record.temporary, record.token))
            return removeCopy(record.temporary);
    }
    if (::rmdir(record.temporary.constData()) == 0 || errno == ENOTEMPTY || errno == EEXIST)
        return 0;
    return errno;
}

// Settles the copy a record names after an interruption. `keep`: the record stays for a later
// start, as the folder it copies into cannot be reached now (a disk not mounted).
int settle(const CopyRecord &record, bool &keep)
{
    struct stat folder {};
    keep = ::stat(parentOf(record.target).constData(), &folder) != 0 || !S_ISDIR(folder.st_mode);
    if (keep)
        return 0;
    // A move whose complete copy took its name (the very item renamed there) had begun to remove
    // its source: what is left of the source goes, while it is still the item that was copied
    // and the copy holds all of it exactly. Otherwise the copy was unfinished and the source,
    // whole, stays.
    const bool placed = record.phase == CopyRecord::Phase::placing && record.placed && idAt(record.target) == record.placed;
    if (record.kind == CopyRecord::Kind::move && placed && idAt(record.source) == record.sourceId
        && covers(record.target, record.source)) {
        if (const int code = removeCopy(record.source))
            return code;
    }
    return removeTemporary(record);
}

// Settles the interrupted copies the records name: every one, or only those into `into`.
int settleRecords(const QByteArray &records, const std::optional<QByteArray> &into)
{
    std::vector<CopyRecord> found;
    int result = loadCopyRecords(records, found);
    for (const CopyRecord &record : found) {
        if (into && parentOf(record.target) != *into)
            continue;
        bool keep = false;
        int code = settle(record, keep);
        if (code == 0 && !keep)
            code = removeCopyRecord(records, record.token);
        if (code != 0 && result == 0)
            result = code;
    }
    return result;
}

// Copies `from` to `to` through a hidden folder beside `to`, removing the source afterwards when
// asked. See copyThenRemove.
int copyThrough(const QByteArray &from, const QByteArray &to, bool removeSource, const QByteArray &records,
                const CopyHooks &hooks)
{
    const QByteArray target = absolutePath(to);
    // What an earlier interrupted operation into the same folder left is settled first.
    settleRecords(records, parentOf(target));
    if (exists(to))
        return EEXIST;
    // The source leaves its parent folder at the end: that must be possible before anything is
    // copied, or a retry would only add copies.
    if (removeSource && ::access(parentOf(from).constData(), W_OK | X_OK) != 0)
        return errno;
    std::vector<Surveyed> items;
    if (const int code = survey(from, to, items))
        return code;
    if (removeSource) {
        if (const int code = refuseMountPoints(from, items))
            return code;
    }
    if (hooks.afterSurvey)
        hooks.afterSurvey();

    // The record is on the device before anything is made: whatever an interruption leaves from
    // here on, the next start finds it through the record.
    CopyRecord record = CopyRecord::start(removeSource ? CopyRecord::Kind::move : CopyRecord::Kind::copy,
                                          absolutePath(from), target);
    record.sourceId = idOf(items.front().st);
    if (const int code = saveCopyRecord(records, record))
        return code;
    step(hooks);
    const QByteArray folder = record.temporary;
    const auto abandon = [&](int code) {
        removeCopy(folder);
        removeCopyRecord(records, record.token);
        return code;
    };
    if (::mkdir(folder.constData(), 0700) != 0) {
        const int code = errno;
        removeCopyRecord(records, record.token);
        return code;
    }
    step(hooks);
    struct stat made {};
    int code = ::lstat(folder.constData(), &made) == 0 ? 0 : errno;
    if (code == 0) {
        record.made = idOf(made);
        code = saveCopyRecord(records, record);
    }
    step(hooks);
    if (code == 0)
        code = writeMarker(folder + '/' + copyMarkerName, record.token);
    step(hooks);
    const QByteArray item = folder + '/' + itemName;
    // The copy is made under the hidden folder: retarget the survey there. A copy that stays
    // beside its source never takes the set-id bits along.
    for (Surveyed &surveyed : items) {
        surveyed.to = item + surveyed.to.mid(to.size());
        if (!removeSource)
            surveyed.st.st_mode &= ~mode_t(S_ISUID | S_ISGID);
    }
    for (auto it = items.begin(); code == 0 && it != items.end(); ++it) {
        code = copyOne(*it);
        step(hooks);
    }
    // Folder modes only now, deepest first: a read-only folder is filled before it is locked.
    // The top folder keeps its write permission until it has been renamed into place.
    for (auto it = items.rbegin(); code == 0 && it != items.rend() - 1; ++it) {
        if (S_ISDIR(it->st.st_mode))
            code = finishFolder(*it);
    }
    if (code == 0)
        code = verifyCopy(items);
    if (code == 0 && removeSource)
        code = verifySource(items);
    if (code == 0)
        code = syncFolder(folder);
    step(hooks);
    // Complete and checked: from here a restart finishes the move instead of undoing it, once
    // the copy has its name.
    if (code == 0 && removeSource) {
        struct stat copied {};
        code = ::lstat(item.constData(), &copied) == 0 ? 0 : errno;
        if (code == 0) {
            record.phase = CopyRecord::Phase::placing;
            record.placed = idOf(copied);
            code = saveCopyRecord(records, record);
        }
        step(hooks);
    }
    if (code == 0)
        code = renameNoReplace(item, to);
    if (code == 0 && S_ISDIR(items.front().st.st_mode)) {
        Surveyed top = items.front();
        top.to = to;
        if ((code = finishFolder(top)) != 0)
            ::rename(to.constData(), item.constData()); // back under the hidden folder: removed there
    }
    if (code != 0)
        return abandon(code);
    // The name must be on the device before the source goes.
    if ((code = syncFolder(parentOf(to))) != 0)
        return abandon(code); // the marker and the record only: both the copy and the source stay
    step(hooks);
    if (!removeSource) {
        code = removeCopy(folder);
        removeCopyRecord(records, record.token);
        return code;
    }

    // The whole copy is in place under its name: only now does the source go, and only what
    // was copied.
    if (hooks.beforeRemoval)
        hooks.beforeRemoval();
    code = verifySource(items);
    for (auto it = items.rbegin(); code == 0 && it != items.rend(); ++it) {
        code = removeSurveyed(*it);
        step(hooks);
    }
    // Done, or stopped by a change in the source: either way both sides stay as they are.
    removeCopy(folder);
    step(hooks);
    removeCopyRecord(records, record.token);
    return code;
}

} // namespace

int copyThenRemove(const QByteArray &from, const QByteArray &to, const QByteArray &records, const CopyHooks &hooks)
{
    return copyThrough(from, to, true, records, hooks);
}

int copyExclusive(const QByteArray &from, const QByteArray &to, const QByteArray &records)
{
    return copyThrough(from, to, false, records, {});
}

int finishInterruptedCopies(const QByteArray &records)
{
    return settleRecords(records, std::nullopt);
}

int makeFolders(const QByteArray &path)
{
    struct stat st {};
    if (::stat(path.constData(), &st) == 0)
        return S_ISDIR(st.st_mode) ? 0 : ENOTDIR;
    const qsizetype slash = path.lastIndexOf('/');
    if (slash > 0) {
        if (const int parent = makeFolders(path.left(slash)))
            return parent;
    }
    if (::mkdir(path.constData(), 0777) == 0)
        return 0;
    const int code = errno;
    // Created meanwhile by someone else.
    if (code == EEXIST && ::stat(path.constData(), &st) == 0 && S_ISDIR(st.st_mode))
        return 0;
    return code;
}

int makeFolders(const QString &path)
{
    return makeFolders(QFile::encodeName(path));
}

bool exists(const QByteArray &path)
{
    struct stat st {};
    return ::lstat(path.constData(), &st) == 0;
}

bool exists(const QString &path)
{
    return exists(QFile::encodeName(path));
}

int listEntries(const QByteArray &folder, std::vector<QByteArray> &names)
{
    names.clear();
    const int code = entriesOf(folder, names);
    // QByteArray compares bytes as unsigned characters.
    std::sort(names.begin(), names.end());
    return code;
}

QString errorText(int code)
{
    return QString::fromLocal8Bit(std::strerror(code));
}

QString errorTextFor(int code, const QString &item)
{
    if (code == ENOSPC || code == EDQUOT)
        return QStringLiteral("there isn\u2019t enough space for \u201C%1\u201D (%2)").arg(item, errorText(code));
    return errorText(code);
}

} // namespace quorvane::fileops
