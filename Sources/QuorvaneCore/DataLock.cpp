#include "DataLock.h"

#include "NoReplaceMove.h"

#include <QFile>
#include <QFileInfo>

#include <fcntl.h>
#include <sys/file.h>
#include <unistd.h>

namespace quorvane {

DataLock::DataLock(const QString &path)
    : m_path(path)
{
}

DataLock::~DataLock()
{
    if (m_fd >= 0)
        ::close(m_fd);
}

bool DataLock::acquire()
{
    if (m_fd >= 0)
        return true;
    if (const int error = fileops::makeFolders(QFileInfo(m_path).absolutePath()); error != 0) {
        m_error = error;
        return false;
    }
    const int fd = ::open(QFile::encodeName(m_path).constData(), O_RDWR | O_CREAT | O_CLOEXEC | O_NOFOLLOW, 0600);
    if (fd < 0) {
        m_error = errno;
        return false;
    }
    if (::flock(fd, LOCK_EX | LOCK_NB) != 0) {
        m_error = errno;
        ::close(fd);
        return false;
    }
    m_fd = fd;
    m_error = 0;
    return true;
}

} // namespace quorvane
