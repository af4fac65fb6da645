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

int copyFile(const QByteArray &from, const QByteArray &to, const struct stat &st, bool &created)
{
    const int in = ::open(from.constData(), O_RDONLY | O_NOFOLLOW | O_CLOEXEC);
    if (in < 0)
        return errno;
    const int out = ::open(to.constData(), O_WRONLY | O_CREAT | O_EXCL | O_NOFOLLOW | O_CLOEXEC, 0600);
    if (out < 0) {
        const int code = errno;
        ::close(in);
        return code;
    }
    created = true;
    int code = 0;
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
    if (code == 0 && ::fchmod(out, st.st_mode & 07777) != 0)
        code = errno;
    // The source goes away afterwards: the copy must have reached the device first.
    if (code == 0 && ::fsync(out) != 0)
        code = errno;
    if (code == 0) {
        const struct timespec times[2] = {st.st_atim, st.st_mtim};
        ::futimens(out, times);
    }
    ::close(in);
    if (::close(out) != 0 && code == 0)
        code = errno;
    return code;
}

// Copies the item at `from` to `to`, which must not exist. `created` tells whether anything was
// created at `to` (and so must be removed when the copy fails).
int copyItem(const QByteArray &from, const QByteArray &to, bool &created)
{
    created = false;
    struct stat st {};
    if (::lstat(from.constData(), &st) != 0)
        return errno;
    if (S_ISREG(st.st_mode)) {
        return copyFile(from, to, st, created);
    }
    if (S_ISLNK(st.st_mode)) {
        QByteArray target(qsizetype(st.st_size) + 1, '\0');
        const ssize_t n = ::readlink(from.constData(), target.data(), size_t(target.size()));
        if (n < 0)
            return errno;
        if (n >= target.size())
            return ENAMETOOLONG; // changed meanwhile
        target.truncate(n);
        if (::symlink(target.constData(), to.constData()) != 0)
            return errno;
        created = true;
        const struct timespec times[2] = {st.st_atim, st.st_mtim};
        ::utimensat(AT_FDCWD, to.constData(), times, AT_SYMLINK_NOFOLLOW);
        return 0;
    }
    if (!S_ISDIR(st.st_mode))
        return EOPNOTSUPP;

    if (::mkdir(to.constData(), 0700) != 0)
        return errno;
    created = true;
    std::vector<QByteArray> names;
    if (const int code = entriesOf(from, names))
        return code;
    for (const QByteArray &name : names) {
        bool inner = false;
        if (const int code = copyItem(from + '/' + name, to + '/' + name, inner))
            return code;
    }
    if (::chmod(to.constData(), st.st_mode & 07777) != 0)
        return errno;
    const int dirFd = ::open(to.constData(), O_RDONLY | O_DIRECTORY | O_CLOEXEC);
    if (dirFd >= 0) {
        ::fsync(dirFd);
        const struct timespec times[2] = {st.st_atim, st.st_mtim};
        ::futimens(dirFd, times);
        ::close(dirFd);
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

int copyThenRemove(const QByteArray &from, const QByteArray &to)
{
    bool created = false;
    if (const int code = copyItem(from, to, created)) {
        if (created)
            removeTree(to);
        return code;
    }
    // The whole copy is in place: only now does the source go.
    return removeTree(from);
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

int removeTree(const QByteArray &path)
{
    struct stat st {};
    if (::lstat(path.constData(), &st) != 0)
        return errno;
    if (!S_ISDIR(st.st_mode))
        return ::unlink(path.constData()) == 0 ? 0 : errno;
    std::vector<QByteArray> names;
    if (const int code = entriesOf(path, names))
        return code;
    for (const QByteArray &name : names) {
        if (const int code = removeTree(path + '/' + name))
            return code;
    }
    return ::rmdir(path.constData()) == 0 ? 0 : errno;
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
