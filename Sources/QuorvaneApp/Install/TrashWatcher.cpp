#include "Install/TrashWatcher.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QSocketNotifier>

#include <cerrno>

#include <fcntl.h>
#include <sys/inotify.h>
#include <unistd.h>

namespace quorvane {

namespace {

// Entries of the folder renamed or removed, or the folder itself moved or removed.
constexpr std::uint32_t watchedEvents =
    IN_MOVED_FROM | IN_MOVED_TO | IN_DELETE | IN_MOVE_SELF | IN_DELETE_SELF | IN_ONLYDIR;

const QString deletedSuffix = QStringLiteral(" (deleted)");

} // namespace

TrashWatcher::TrashWatcher(const QString &appIdentifier, const QString &executablePath, const QString &homeTrash)
    : m_identifier(appIdentifier)
    , m_executable(executablePath)
    , m_homeTrash(QDir::cleanPath(homeTrash))
{
}

TrashWatcher::~TrashWatcher()
{
    m_source.reset();
    if (m_inotify >= 0)
        ::close(m_inotify);
    if (m_file >= 0)
        ::close(m_file);
}

QString TrashWatcher::standardHomeTrash()
{
    QString data = qEnvironmentVariable("XDG_DATA_HOME");
    if (data.isEmpty() || !QDir::isAbsolutePath(data))
        data = QDir::homePath() + QStringLiteral("/.local/share");
    return QDir::cleanPath(data) + QStringLiteral("/Trash/files");
}

bool TrashWatcher::isInTrash(const QString &path) const
{
    if (path.startsWith(m_homeTrash + QLatin1Char('/')))
        return true;
    const QString volumeTrash = QStringLiteral("/.Trash-%1/files/").arg(::getuid());
    return path.contains(volumeTrash) || path.contains(QStringLiteral("/.Trash/"));
}

void TrashWatcher::start()
{
    if (m_identifier.isEmpty() || m_source || m_executable.isEmpty())
        return;
    const int file = ::open(QFile::encodeName(m_executable).constData(), O_PATH | O_CLOEXEC);
    if (file < 0)
        return;
    const int inotify = ::inotify_init1(IN_NONBLOCK | IN_CLOEXEC);
    if (inotify < 0) {
        ::close(file);
        return;
    }
    m_file = file;
    m_inotify = inotify;
    watchFolderOf(currentPath());
    if (m_watch < 0) {
        ::close(m_inotify);
        ::close(m_file);
        m_inotify = m_file = -1;
        return;
    }
    m_inTrash = isInTrash(currentPath());
    m_source = std::make_unique<QSocketNotifier>(qintptr(m_inotify), QSocketNotifier::Read);
    QObject::connect(m_source.get(), &QSocketNotifier::activated, m_source.get(), [this] { readEvents(); });
}

QString TrashWatcher::currentPath() const
{
    const QByteArray link = "/proc/self/fd/" + QByteArray::number(m_file);
    QByteArray target(4096, '\0');
    const ssize_t n = ::readlink(link.constData(), target.data(), size_t(target.size()));
    if (n <= 0 || n >= target.size())
        return QString();
    const QString path = QFile::decodeName(target.left(n));
    return path.endsWith(deletedSuffix) ? QString() : path;
}

void TrashWatcher::watchFolderOf(const QString &path)
{
    if (path.isEmpty())
        return;
    const QString folder = QFileInfo(path).absolutePath();
    if (folder == m_watchedFolder && m_watch >= 0)
        return;
    const int watch = ::inotify_add_watch(m_inotify, QFile::encodeName(folder).constData(), watchedEvents);
    if (watch < 0)
        return;
    if (m_watch >= 0 && m_watch != watch)
        ::inotify_rm_watch(m_inotify, m_watch);
    m_watch = watch;
    m_watchedFolder = folder;
}

void TrashWatcher::readEvents()
{
    // Drain everything first: what matters is where the file is now, not each step.
    alignas(inotify_event) char buffer[4096];
    bool changed = false;
    for (;;) {
        const ssize_t n = ::read(m_inotify, buffer, sizeof buffer);
        if (n > 0) {
            changed = true;
            continue;
        }
        if (n < 0 && errno == EINTR)
            continue;
        break;
    }
    if (!changed)
        return;
    const QString path = currentPath();
    if (path.isEmpty())
        return;
    // Follow the file to its new folder, so that a later move from there is seen too.
    watchFolderOf(path);
    const bool inTrash = isInTrash(path);
    const bool arrived = inTrash && !m_inTrash;
    m_inTrash = inTrash;
    if (arrived && onTrashed)
        onTrashed();
}

} // namespace quorvane
