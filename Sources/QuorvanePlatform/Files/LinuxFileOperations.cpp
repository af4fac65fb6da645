#include "Files/LinuxFileOperations.h"

#include "Files/XdgTrash.h"
#include "NoReplaceMove.h"

#include <QFile>
#include <QStandardPaths>

#include <cerrno>

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

namespace quorvane {

LinuxFileOperations::LinuxFileOperations(const QString &copyRecords)
    : m_records(QFile::encodeName(copyRecords))
{
}

int LinuxFileOperations::makeFolders(const QString &path)
{
    return fileops::makeFolders(path);
}

int LinuxFileOperations::moveItem(const QString &from, const QString &to)
{
    return moveItem(QFile::encodeName(from), QFile::encodeName(to));
}

int LinuxFileOperations::moveItem(const QByteArray &from, const QByteArray &to)
{
    return fileops::moveItem(from, to, m_records);
}

FileOperations::TrashResult LinuxFileOperations::moveToTrash(const QString &path)
{
    return XdgTrash(QStandardPaths::writableLocation(QStandardPaths::GenericDataLocation)).moveToTrash(path);
}

int LinuxFileOperations::copyExclusive(const QString &from, const QString &to)
{
    struct stat st {};
    if (::stat(QFile::encodeName(from).constData(), &st) != 0)
        return errno;
    if (!S_ISREG(st.st_mode))
        return EINVAL;
    return fileops::copyExclusive(QFile::encodeName(from), QFile::encodeName(to), m_records);
}

int LinuxFileOperations::finishInterruptedCopies()
{
    return fileops::finishInterruptedCopies(m_records);
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
