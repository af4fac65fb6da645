#include "LinuxFileOperations.h"

#include "NoReplaceMove.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QStandardPaths>

#include <cerrno>

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

namespace quorvane {

LinuxFileOperations &LinuxFileOperations::shared()
{
    static LinuxFileOperations instance;
    return instance;
}

int LinuxFileOperations::makeFolders(const QString &path)
{
    return fileops::makeFolders(path);
}

int LinuxFileOperations::moveItem(const QString &from, const QString &to)
{
    return fileops::moveItem(from, to);
}

int LinuxFileOperations::moveItem(const QByteArray &from, const QByteArray &to)
{
    return fileops::moveItem(from, to);
}

FileOperations::TrashResult LinuxFileOperations::moveToTrash(const QString &path)
{
    // Qt puts the Trash in the wrong place when the data folder does not exist yet.
    const QString data = QStandardPaths::writableLocation(QStandardPaths::GenericDataLocation);
    if (!data.isEmpty())
        QDir().mkpath(data);
    QFile item(path);
    if (!item.moveToTrash())
        return {std::nullopt, item.errorString()};
    const QString trashed = item.fileName();
    if (!QFileInfo(trashed).isAbsolute())
        return {std::nullopt, QStringLiteral("The Trash gave no location for the item.")};
    return {trashed, QString()};
}

int LinuxFileOperations::copyExclusive(const QString &from, const QString &to)
{
    const QByteArray source = QFile::encodeName(from);
    const QByteArray target = QFile::encodeName(to);
    const int in = ::open(source.constData(), O_RDONLY | O_CLOEXEC);
    if (in < 0)
        return errno;
    struct stat st {};
    if (::fstat(in, &st) != 0 || !S_ISREG(st.st_mode)) {
        const int code = S_ISREG(st.st_mode) ? errno : EINVAL;
        ::close(in);
        return code;
    }
    const int out = ::open(target.constData(), O_WRONLY | O_CREAT | O_EXCL | O_CLOEXEC, 0644);
    if (out < 0) {
        const int code = errno;
        ::close(in);
        return code;
    }
    int code = 0;
    char buffer[65536];
    for (;;) {
        const ssize_t got = ::read(in, buffer, sizeof buffer);
        if (got < 0) {
            if (errno == EINTR)
                continue;
            code = errno;
            break;
        }
        if (got == 0)
            break;
        for (ssize_t done = 0; done < got;) {
            const ssize_t put = ::write(out, buffer + done, size_t(got - done));
            if (put < 0) {
                if (errno == EINTR)
                    continue;
                code = errno;
                break;
            }
            done += put;
        }
        if (code)
            break;
    }
    // The copy keeps the source's permissions (an executable stays one), never set-id bits.
    if (!code && ::fchmod(out, st.st_mode & 0777) != 0)
        code = errno;
    if (!code && ::fsync(out) != 0)
        code = errno;
    if (::close(out) != 0 && !code)
        code = errno;
    ::close(in);
    if (code)
        ::unlink(target.constData());
    return code;
}

int LinuxFileOperations::remove(const QString &path)
{
    return remove(QFile::encodeName(path));
}

int LinuxFileOperations::remove(const QByteArray &path)
{
    struct stat st {};
    if (::lstat(path.constData(), &st) != 0)
        return errno;
    const int result = S_ISDIR(st.st_mode) ? ::rmdir(path.constData()) : ::unlink(path.constData());
    return result == 0 ? 0 : errno;
}

bool LinuxFileOperations::exists(const QString &path)
{
    return fileops::exists(path);
}

bool LinuxFileOperations::exists(const QByteArray &path)
{
    return fileops::exists(path);
}

int LinuxFileOperations::list(const QByteArray &folder, std::vector<Entry> &entries)
{
    entries.clear();
    std::vector<QByteArray> names;
    if (const int code = fileops::listEntries(folder, names))
        return code;
    for (QByteArray &name : names) {
        struct stat st {};
        const bool isFolder = ::lstat((folder + '/' + name).constData(), &st) == 0 && S_ISDIR(st.st_mode);
        entries.push_back({std::move(name), isFolder});
    }
    return 0;
}

std::optional<std::uint64_t> LinuxFileOperations::volumeId(const QString &path)
{
    struct stat st {};
    if (::stat(QFile::encodeName(path).constData(), &st) != 0)
        return std::nullopt;
    return std::uint64_t(st.st_dev);
}

QString LinuxFileOperations::errorText(int code)
{
    return fileops::errorText(code);
}

} // namespace quorvane
