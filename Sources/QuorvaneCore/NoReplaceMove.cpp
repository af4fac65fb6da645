#include "NoReplaceMove.h"

#include <QFile>

#include <cerrno>
#include <algorithm>
#include <cstring>
#include <vector>
#include <stdio.h> // renameat2, RENAME_NOREPLACE

#include <dirent.h>
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

namespace quorvane::fileops {

namespace {

// Writes all bytes; 0 or errno.
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

// Removes exactly the surveyed items, content before its folder. Each item is checked once more
// right before it goes; folders go with rmdir, so a name added meanwhile makes it fail.
int removeSurveyed(const std::vector<Surveyed> &items)
{
    for (auto it = items.rbegin(); it != items.rend(); ++it) {
        if (S_ISDIR(it->st.st_mode)) {
            if (::rmdir(it->from.constData()) != 0)
                return errno;
            continue;
        }
        struct stat now {};
        if (::lstat(it->from.constData(), &now) != 0 || !unchanged(it->st, now))
            return changedMeanwhile;
        if (::unlink(it->from.constData()) != 0)
            return errno;
    }
    return 0;
}

} // namespace

int renameNoReplace(const QByteArray &from, const QByteArray &to)
{
    return ::renameat2(AT_FDCWD, from.constData(), AT_FDCWD, to.constData(), RENAME_NOREPLACE) == 0 ? 0 : errno;
}

int moveItem(const QByteArray &from, const QByteArray &to)
{
    const int code = renameNoReplace(from, to);
    if (code != EXDEV)
        return code;
    return copyThenRemove(from, to);
}

int moveItem(const QString &from, const QString &to)
{
    return moveItem(QFile::encodeName(from), QFile::encodeName(to));
}

int copyThenRemove(const QByteArray &from, const QByteArray &to, const CopyHooks &hooks)
{
    // The source leaves its parent folder at the end: that must be possible before anything is
    // copied, or a retry would only add copies.
    if (::access(parentOf(from).constData(), W_OK | X_OK) != 0)
        return errno;
    std::vector<Surveyed> items;
    if (const int code = survey(from, to, items))
        return code;
    if (hooks.afterSurvey)
        hooks.afterSurvey();

    bool created = false;
    int code = 0;
    for (const Surveyed &item : items) {
        if ((code = copyOne(item)) != 0)
            break;
        created = true;
    }
    // Folder modes only now, deepest first: a read-only folder is filled before it is locked.
    for (auto it = items.rbegin(); code == 0 && it != items.rend(); ++it) {
        if (S_ISDIR(it->st.st_mode))
            code = finishFolder(*it);
    }
    // The copy's own entry must be on the device as well before the source goes.
    if (code == 0)
        code = syncFolder(parentOf(to));
    if (code != 0) {
        if (created)
            removeCopy(to);
        return code;
    }

    // The whole copy is in place: only now does the source go, and only what was copied.
    if (hooks.beforeRemoval)
        hooks.beforeRemoval();
    if (const int changed = verifySource(items))
        return changed;
    return removeSurveyed(items);
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

} // namespace quorvane::fileops
