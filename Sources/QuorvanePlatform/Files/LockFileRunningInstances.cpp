#include "Files/LockFileRunningInstances.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QStandardPaths>

#include <cerrno>
#include <csignal>
#include <cstring>
#include <fcntl.h>
#include <sys/file.h>
#include <sys/stat.h>
#include <unistd.h>

namespace quorvane {

namespace {

bool processIsAlive(qint64 pid)
{
    if (pid <= 0)
        return false;
    return ::kill(pid_t(pid), 0) == 0 || errno == EPERM;
}

std::optional<qint64> readPid(int fd)
{
    char buffer[32] = {};
    const ssize_t n = ::pread(fd, buffer, sizeof buffer - 1, 0);
    if (n <= 0)
        return std::nullopt;
    bool ok = false;
    const qint64 pid = QByteArray(buffer, n).trimmed().toLongLong(&ok);
    if (!ok || pid <= 0)
        return std::nullopt;
    return pid;
}

} // namespace

LockFileRunningInstances::LockFileRunningInstances(const QString &identifier, const QString &runtimeFolder, qint64 selfPid)
    : m_selfPid(selfPid > 0 ? selfPid : qint64(::getpid()))
{
    // An identifier is a reverse-DNS name; anything that could leave the folder is no name.
    if (!identifier.isEmpty() && !identifier.contains(QLatin1Char('/')) && identifier != QLatin1String(".")
        && identifier != QLatin1String("..") && !runtimeFolder.isEmpty())
        m_path = QDir(runtimeFolder).filePath(identifier + QStringLiteral(".pid"));
}

LockFileRunningInstances::~LockFileRunningInstances()
{
    release();
}

QString LockFileRunningInstances::standardRuntimeFolder()
{
    return QStandardPaths::writableLocation(QStandardPaths::RuntimeLocation);
}

bool LockFileRunningInstances::claim()
{
    if (m_path.isEmpty() || m_fd >= 0)
        return true;
    QDir().mkpath(QFileInfo(m_path).absolutePath());
    // Close-on-exec: a child process must not keep the claim alive after this one ends.
    // Only a lock held by another process means another instance. A lock file that cannot be
    // used at all (a folder in its place, another user's file, a full disk) guards nothing: this
    // instance runs unguarded rather than never starting.
    const int fd = ::open(QFile::encodeName(m_path).constData(), O_RDWR | O_CREAT | O_NONBLOCK | O_NOFOLLOW | O_CLOEXEC, 0600);
    if (fd < 0) {
        qWarning("cannot open the instance lock %s: %s", qPrintable(m_path), std::strerror(errno));
        return true;
    }
    struct stat st {};
    if (::fstat(fd, &st) != 0 || !S_ISREG(st.st_mode)) {
        qWarning("the instance lock %s is not a regular file: left alone", qPrintable(m_path));
        ::close(fd);
        return true;
    }
    if (::flock(fd, LOCK_EX | LOCK_NB) != 0) {
        const int code = errno;
        ::close(fd);
        if (code == EWOULDBLOCK)
            return false;
        qWarning("cannot lock the instance lock %s: %s", qPrintable(m_path), std::strerror(code));
        return true;
    }
    const QByteArray text = QByteArray::number(m_selfPid) + '\n';
    if (::ftruncate(fd, 0) != 0 || ::pwrite(fd, text.constData(), size_t(text.size()), 0) != text.size())
        qWarning("cannot record this instance in %s: %s", qPrintable(m_path), std::strerror(errno));
    m_fd = fd;
    return true;
}

std::optional<qint64> LockFileRunningInstances::otherInstancePid() const
{
    if (m_path.isEmpty() || m_fd >= 0)
        return std::nullopt;
    // Never waits on a FIFO put in the lock's place, and reads only a regular file.
    const int fd = ::open(QFile::encodeName(m_path).constData(), O_RDONLY | O_NONBLOCK | O_NOFOLLOW | O_CLOEXEC);
    if (fd < 0)
        return std::nullopt;
    struct stat st {};
    if (::fstat(fd, &st) != 0 || !S_ISREG(st.st_mode)) {
        ::close(fd);
        return std::nullopt;
    }
    std::optional<qint64> result;
    // A shared lock that can be taken means nobody holds the claim: the file is stale.
    if (::flock(fd, LOCK_SH | LOCK_NB) != 0 && errno == EWOULDBLOCK) {
        const auto pid = readPid(fd);
        if (pid && *pid != m_selfPid && processIsAlive(*pid))
            result = pid;
    }
    ::close(fd);
    return result;
}

void LockFileRunningInstances::release()
{
    if (m_fd < 0)
        return;
    // Empty the file before letting go, so nobody reads this process's id as a holder's.
    // A failure changes nothing: without the lock the file counts as stale anyway.
    [[maybe_unused]] const int truncated = ::ftruncate(m_fd, 0);
    ::flock(m_fd, LOCK_UN);
    ::close(m_fd);
    m_fd = -1;
}

} // namespace quorvane
