#include "Files/LinuxDesktopServices.h"

#include <QDBusConnection>
#include <QDBusConnectionInterface>
#include <QDBusMessage>
#include <QDBusPendingCallWatcher>
#include <QDBusReply>
#include <QDesktopServices>
#include <QDir>
#include <QFile>
#include <QFileInfo>

#include "Windows/DesktopPortal.h"

namespace quorvane {

namespace {

constexpr auto fileManagerService = "org.freedesktop.FileManager1";

bool fileManagerAvailable(const QDBusConnection &bus)
{
    QDBusConnectionInterface *interface = bus.interface();
    if (!interface)
        return false;
    if (interface->isServiceRegistered(QString::fromLatin1(fileManagerService)))
        return true;
    const QDBusReply<QStringList> activatable = interface->activatableServiceNames();
    return activatable.isValid() && activatable.value().contains(QString::fromLatin1(fileManagerService));
}

constexpr qint64 largestList = 4 * 1024 * 1024;

// Whether a list file names an application for key ("x-scheme-handler/mailto=thunderbird.desktop;")
// in one of its sections other than [Removed Associations].
bool listNames(const QString &path, const QByteArray &key)
{
    QFile file(path);
    if (!QFileInfo(path).isFile() || file.size() > largestList || !file.open(QIODevice::ReadOnly))
        return false;
    bool removed = false;
    for (const QByteArray &raw : file.readAll().split('\n')) {
        const QByteArray line = raw.trimmed();
        if (line.startsWith('[')) {
            removed = line == "[Removed Associations]";
            continue;
        }
        const qsizetype equals = line.indexOf('=');
        if (removed || equals < 0 || line.left(equals).trimmed() != key)
            continue;
        for (const QByteArray &entry : line.mid(equals + 1).split(';')) {
            if (!entry.trimmed().isEmpty())
                return true;
        }
    }
    return false;
}

QStringList xdgConfigDirs()
{
    QStringList dirs;
    const QString home = qEnvironmentVariable("XDG_CONFIG_HOME");
    dirs << (home.isEmpty() ? QDir::homePath() + QStringLiteral("/.config") : home);
    const QString system = qEnvironmentVariable("XDG_CONFIG_DIRS");
    dirs << (system.isEmpty() ? QStringList{QStringLiteral("/etc/xdg")} : system.split(QLatin1Char(':'), Qt::SkipEmptyParts));
    return dirs;
}

} // namespace

bool LinuxDesktopServices::schemeHasHandler(const QString &scheme, const QStringList &configDirs, const QStringList &dataDirs)
{
    const QByteArray key = "x-scheme-handler/" + scheme.toLatin1();
    for (const QString &dir : configDirs) {
        if (listNames(dir + QStringLiteral("/mimeapps.list"), key))
            return true;
    }
    for (const QString &dir : dataDirs) {
        for (const char *name : {"mimeapps.list", "defaults.list", "mimeinfo.cache"}) {
            if (listNames(dir + QStringLiteral("/applications/") + QLatin1String(name), key))
                return true;
        }
    }
    return false;
}

bool LinuxDesktopServices::canOpen(const QUrl &url) const
{
    if (url.isLocalFile() || url.scheme().isEmpty())
        return true;
    if (url.scheme() != QLatin1String("mailto"))
        return true;
    return schemeHasHandler(url.scheme(), xdgConfigDirs(), xdgDataDirs());
}

LinuxDesktopServices::LinuxDesktopServices(std::function<void(const QUrl &)> opener)
    : m_opener(std::move(opener))
{
}

void LinuxDesktopServices::open(const QUrl &url)
{
    if (m_opener)
        m_opener(url);
    else
        QDesktopServices::openUrl(url);
}

std::optional<QDBusMessage> LinuxDesktopServices::showItemsCall(const QStringList &paths)
{
    const QDBusConnection bus = QDBusConnection::sessionBus();
    if (!bus.isConnected() || !fileManagerAvailable(bus))
        return std::nullopt;
    QStringList uris;
    for (const QString &path : paths)
        uris << QUrl::fromLocalFile(path).toString(QUrl::FullyEncoded);
    QDBusMessage call = QDBusMessage::createMethodCall(QString::fromLatin1(fileManagerService),
                                                       QStringLiteral("/org/freedesktop/FileManager1"),
                                                       QString::fromLatin1(fileManagerService), QStringLiteral("ShowItems"));
    call << uris << QString();
    return call;
}

void LinuxDesktopServices::reveal(const QStringList &paths)
{
    if (paths.isEmpty())
        return;
    const std::optional<QDBusMessage> call = showItemsCall(paths);
    if (!call) {
        openParents(paths);
        return;
    }
    // Never waits on the file manager: a refusal opens the folders instead, later.
    auto *watcher = new QDBusPendingCallWatcher(QDBusConnection::sessionBus().asyncCall(*call, 5000));
    QObject::connect(watcher, &QDBusPendingCallWatcher::finished, watcher, [this, paths, watcher] {
        if (watcher->isError())
            openParents(paths);
        watcher->deleteLater();
    });
}

void LinuxDesktopServices::revealBeforeQuitting(const QStringList &paths, int timeoutMs)
{
    if (paths.isEmpty())
        return;
    const std::optional<QDBusMessage> call = showItemsCall(paths);
    if (!call) {
        openParents(paths);
        return;
    }
    // Blocks without serving events: nothing else runs in a process on its way out.
    const QDBusMessage reply = QDBusConnection::sessionBus().call(*call, QDBus::Block, timeoutMs);
    if (reply.type() != QDBusMessage::ErrorMessage)
        return;
    // A file manager that is only slow may still show the items: only a refusal opens the
    // folders instead.
    if (reply.errorName() != QLatin1String("org.freedesktop.DBus.Error.NoReply")
        && reply.errorName() != QLatin1String("org.freedesktop.DBus.Error.Timeout"))
        openParents(paths);
}

void LinuxDesktopServices::openParents(const QStringList &paths)
{
    QStringList opened;
    for (const QString &path : paths) {
        const QString parent = QFileInfo(path).absolutePath();
        if (!opened.contains(parent)) {
            opened << parent;
            open(QUrl::fromLocalFile(parent));
        }
    }
}

} // namespace quorvane
