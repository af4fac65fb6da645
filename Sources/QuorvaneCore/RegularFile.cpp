#include "RegularFile.h"

#include <QFile>
#include <QFileInfo>

#include <cerrno>
#include <cstring>
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

namespace quorvane {

namespace {

QString kindOf(mode_t mode)
{
    if (S_ISLNK(mode))
        return QStringLiteral("a symbolic link");
    if (S_ISFIFO(mode))
        return QStringLiteral("a FIFO");
    if (S_ISCHR(mode) || S_ISBLK(mode))
        return QStringLiteral("a device");
    if (S_ISSOCK(mode))
        return QStringLiteral("a socket");
    if (S_ISDIR(mode))
        return QStringLiteral("a folder");
    return QStringLiteral("not a regular file");
}

RegularFile::Content failed(int error, const QString &path, const QString &why)
{
    return {std::nullopt, error, path + QStringLiteral(": ") + why};
}

RegularFile::Content failed(int error, const QString &path)
{
    return failed(error, path, QString::fromLocal8Bit(std::strerror(error)));
}

QString notRegular(mode_t mode)
{
    return QStringLiteral("is %1, not a regular file; left alone").arg(kindOf(mode));
}

} // namespace

bool RegularFile::Content::missing() const { return error == ENOENT || error == ENOTDIR; }

RegularFile::Content RegularFile::read(const QString &path, qint64 maxBytes, Links links)
{
    return read(QFile::encodeName(path), maxBytes, links);
}

RegularFile::Content RegularFile::read(const QByteArray &native, qint64 maxBytes, Links links)
{
    const QString path = QFile::decodeName(native); // for what is said only
    // Looked at before it is opened: opening a device can do more than reading it would.
    struct stat seen {};
    const bool follow = links == Links::followed;
    if ((follow ? ::stat(native.constData(), &seen) : ::lstat(native.constData(), &seen)) != 0)
        return failed(errno, path);
    if (!S_ISREG(seen.st_mode))
        return failed(S_ISLNK(seen.st_mode) ? ELOOP : S_ISDIR(seen.st_mode) ? EISDIR
                                                                            : EINVAL,
                      path, notRegular(seen.st_mode));
    if (seen.st_size > maxBytes)
        return failed(EFBIG, path, QStringLiteral("larger than %1 bytes; not read").arg(maxBytes));
    // Non-blocking, so that whatever took the file's place since cannot make the open wait; what
    // was opened is checked again.
    const int fd = ::open(native.constData(), O_RDONLY | O_NONBLOCK | O_CLOEXEC | O_NOCTTY | (follow ? 0 : O_NOFOLLOW));
    if (fd < 0)
        return failed(errno, path);
    struct stat st {};
    if (::fstat(fd, &st) != 0) {
        const int error = errno;
        ::close(fd);
        return failed(error, path);
    }
    if (!S_ISREG(st.st_mode)) {
        ::close(fd);
        return failed(EINVAL, path, notRegular(st.st_mode));
    }
    QByteArray bytes;
    char buffer[65536];
    for (;;) {
        const ssize_t n = ::read(fd, buffer, sizeof buffer);
        if (n == 0)
            break;
        if (n < 0) {
            if (errno == EINTR)
                continue;
            const int error = errno;
            ::close(fd);
            return failed(error, path);
        }
        // A file that grew past the bound while it was read is not read either.
        if (bytes.size() + n > maxBytes) {
            ::close(fd);
            return failed(EFBIG, path, QStringLiteral("larger than %1 bytes; not read").arg(maxBytes));
        }
        bytes.append(buffer, n);
    }
    ::close(fd);
    return {std::move(bytes), 0, {}};
}

std::optional<QByteArray> RegularFile::readOrWarn(const QString &path, qint64 maxBytes, Links links)
{
    Content content = read(path, maxBytes, links);
    if (!content.bytes && !content.missing())
        qWarning("not read: %s", qUtf8Printable(content.reason));
    return std::move(content.bytes);
}

std::optional<QString> RegularFile::write(const QString &path, const QByteArray &bytes)
{
    const QByteArray native = QFile::encodeName(path);
    mode_t mode = 0644;
    struct stat st {};
    if (::lstat(native.constData(), &st) == 0) {
        if (!S_ISREG(st.st_mode))
            return path + QStringLiteral(": ") + notRegular(st.st_mode);
        mode = st.st_mode & 07777;
    } else if (errno != ENOENT) {
        return path + QStringLiteral(": ") + QString::fromLocal8Bit(std::strerror(errno));
    }
    const QFileInfo info(path);
    QByteArray temp = QFile::encodeName(info.absolutePath()) + "/." + QFile::encodeName(info.fileName()) + ".XXXXXX";
    const int fd = ::mkostemp(temp.data(), O_CLOEXEC);
    if (fd < 0)
        return path + QStringLiteral(": ") + QString::fromLocal8Bit(std::strerror(errno));
    int error = ::fchmod(fd, mode) == 0 ? 0 : errno;
    for (qsizetype done = 0; error == 0 && done < bytes.size();) {
        const ssize_t n = ::write(fd, bytes.constData() + done, size_t(bytes.size() - done));
        if (n < 0 && errno != EINTR)
            error = errno;
        else if (n > 0)
            done += n;
    }
    if (error == 0 && ::fsync(fd) != 0)
        error = errno;
    if (::close(fd) != 0 && error == 0)
        error = errno;
    // The rename replaces whatever entry holds the name by then (a link included) and never
    // writes into what it leads to.
    if (error == 0 && ::rename(temp.constData(), native.constData()) != 0)
        error = errno;
    if (error != 0) {
        ::unlink(temp.constData());
        return path + QStringLiteral(": ") + QString::fromLocal8Bit(std::strerror(error));
    }
    return std::nullopt;
}

} // namespace quorvane
