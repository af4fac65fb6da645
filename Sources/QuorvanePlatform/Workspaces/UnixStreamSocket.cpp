#include "Workspaces/UnixStreamSocket.h"

#include <QFile>
#include <QSocketNotifier>

#include <cerrno>
#include <cstring>
#include <sys/socket.h>
#include <sys/un.h>
#include <unistd.h>

namespace quorvane {

UnixStreamSocket::UnixStreamSocket(QObject *parent)
    : QObject(parent)
{
}

UnixStreamSocket::~UnixStreamSocket()
{
    close();
}

void UnixStreamSocket::connectTo(const QString &path)
{
    close();
    const QByteArray name = QFile::encodeName(path);
    sockaddr_un address{};
    address.sun_family = AF_UNIX;
    const auto fail = [this] { QMetaObject::invokeMethod(this, &UnixStreamSocket::closed, Qt::QueuedConnection); };
    if (name.isEmpty() || name.size() >= qsizetype(sizeof address.sun_path) || name.contains('\0')) {
        fail();
        return;
    }
    std::memcpy(address.sun_path, name.constData(), std::size_t(name.size()));
    m_fd = ::socket(AF_UNIX, SOCK_STREAM | SOCK_NONBLOCK | SOCK_CLOEXEC, 0);
    if (m_fd < 0) {
        fail();
        return;
    }
    // A local socket connects at once or not at all (a full backlog counts as not at all).
    int result = 0;
    do
        result = ::connect(m_fd, reinterpret_cast<const sockaddr *>(&address), sizeof address);
    while (result < 0 && errno == EINTR);
    if (result < 0) {
        close();
        fail();
        return;
    }
    m_connected = true;
    m_readable = std::make_unique<QSocketNotifier>(m_fd, QSocketNotifier::Read);
    connect(m_readable.get(), &QSocketNotifier::activated, this, &UnixStreamSocket::readAvailable);
    m_writable = std::make_unique<QSocketNotifier>(m_fd, QSocketNotifier::Write);
    m_writable->setEnabled(false);
    connect(m_writable.get(), &QSocketNotifier::activated, this, &UnixStreamSocket::writeWaiting);
    QMetaObject::invokeMethod(
        this, [this] { if (isConnected()) emit connected(); }, Qt::QueuedConnection);
}

void UnixStreamSocket::write(const QByteArray &data)
{
    if (!isConnected())
        return;
    m_waiting += data;
    writeWaiting();
}

void UnixStreamSocket::writeWaiting()
{
    while (!m_waiting.isEmpty()) {
        const ssize_t sent = ::send(m_fd, m_waiting.constData(), std::size_t(m_waiting.size()), MSG_NOSIGNAL);
        if (sent < 0 && errno == EINTR)
            continue;
        if (sent < 0 && (errno == EAGAIN || errno == EWOULDBLOCK))
            break;
        if (sent < 0) {
            abort();
            return;
        }
        m_waiting.remove(0, sent);
    }
    m_writable->setEnabled(!m_waiting.isEmpty());
}

void UnixStreamSocket::readAvailable()
{
    QByteArray data;
    char chunk[16384];
    bool ended = false;
    for (;;) {
        const ssize_t got = ::recv(m_fd, chunk, sizeof chunk, 0);
        if (got > 0) {
            data.append(chunk, got);
            continue;
        }
        if (got < 0 && errno == EINTR)
            continue;
        // 0: the other end closed; an error other than "nothing more now" ends it as well.
        ended = got == 0 || (errno != EAGAIN && errno != EWOULDBLOCK);
        break;
    }
    if (!data.isEmpty())
        emit received(data);
    // A receiver may have aborted meanwhile.
    if (ended && m_fd >= 0)
        abort();
}

void UnixStreamSocket::abort()
{
    if (m_fd < 0)
        return;
    close();
    emit closed();
}

void UnixStreamSocket::close()
{
    // A notifier may be the one whose signal is being served: it goes once that has returned.
    for (std::unique_ptr<QSocketNotifier> *notifier : {&m_readable, &m_writable}) {
        if (*notifier) {
            (*notifier)->setEnabled(false);
            notifier->release()->deleteLater();
        }
    }
    if (m_fd >= 0)
        ::close(m_fd);
    m_fd = -1;
    m_connected = false;
    m_waiting.clear();
}

} // namespace quorvane
