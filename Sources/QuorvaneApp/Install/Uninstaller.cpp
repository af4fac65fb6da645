#include "Install/Uninstaller.h"

#include "Install/InstallLocation.h"
#include "Install/LoginItem.h"
#include "Location.h"
#include "Shared/Log.h"

#include <QCoreApplication>
#include <QDir>
#include <QFile>
#include <QFileInfo>

#include <algorithm>
#include <cerrno>
#include <vector>

#include <sys/stat.h>
#include <unistd.h>

namespace quorvane {

namespace {

const QString blankDisplayName = QCoreApplication::translate("Uninstaller", "Hidden desktop");
// Past this many taken names the move gives up rather than count for ever.
constexpr int maximumSuffix = 10000;

QString candidateName(const QString &name, int number)
{
    return number <= 1 ? name : name + QLatin1Char(' ') + QString::number(number);
}

bool isVisible(const QByteArray &name)
{
    return !name.startsWith('.');
}

QString cleaned(const QString &path)
{
    return QDir::cleanPath(QDir(path).absolutePath());
}

bool isSameOrInside(const QString &inner, const QString &outer)
{
    return inner == outer || inner.startsWith(outer + QLatin1Char('/'));
}

// Whether the path is the folder or lies inside it, as written or with links resolved.
bool liesIn(const QString &path, const QString &folder)
{
    if (isSameOrInside(cleaned(path), cleaned(folder)))
        return true;
    const QString realPath = QFileInfo(path).canonicalFilePath();
    const QString realFolder = QFileInfo(folder).canonicalFilePath();
    return !realPath.isEmpty() && !realFolder.isEmpty() && isSameOrInside(realPath, realFolder);
}

} // namespace

Uninstaller::Uninstaller(const Paths &paths, StateStore &store, Move move)
    : m_paths(paths)
    , m_store(store)
    , m_move(std::move(move))
{
}

QString Uninstaller::uniqueDesktopURL(const QString &name) const
{
    int number = 1;
    return freeDesktopPath(name, number);
}

QString Uninstaller::freeDesktopPath(const QString &name, int &number) const
{
    for (;; ++number) {
        const QString path = m_paths.desktop() + QLatin1Char('/') + candidateName(name, number);
        if (!fileops::exists(path) || number >= maximumSuffix)
            return path;
    }
}

int Uninstaller::moveToDesktop(const QByteArray &from, const QString &name, QString &placed)
{
    int code = EEXIST;
    for (int number = 1; number <= maximumSuffix && code == EEXIST; ++number) {
        const QString to = freeDesktopPath(name, number);
        placed = candidateName(name, number);
        code = m_move(from, QFile::encodeName(to));
    }
    return code;
}

QString Uninstaller::refusal(const Workspace &workspace, const Config &config) const
{
    // "" would name the desktops folder itself, ".store" or ".pinned" the application's own.
    if (!Location::isSafeName(workspace.name) || workspace.name.startsWith(QLatin1Char('.')))
        return QStringLiteral("its name is not a folder of its own");
    const QString folder = m_paths.workspaces() + QLatin1Char('/') + workspace.name;
    QStringList kept = {m_paths.defaultArchiveRoot()};
    if (config.settings.archiveRoot && !config.settings.archiveRoot->isEmpty())
        kept << *config.settings.archiveRoot;
    for (const Workspace &other : config.workspaces) {
        if (isArchived(other.state) && other.archiveLocation && !other.archiveLocation->isEmpty())
            kept << *other.archiveLocation;
    }
    for (const QString &path : kept) {
        if (liesIn(path, folder))
            return QStringLiteral("its folder holds the archive");
    }
    return QString();
}

Uninstaller::Result Uninstaller::restoreDesksToDesktop()
{
    Config config;
    try {
        config = m_store.loadConfig();
    } catch (const std::exception &error) {
        qCWarning(Log::error()) << "config.json can't be read: every folder in the desktops folder comes back as it is:"
                                << error.what();
        config = Config::defaultDocument();
    }
    Result result;

    // Pinned items first: while the blank desktop is active they wait in the stash.
    const QByteArray stash = QFile::encodeName(m_paths.pinnedStash());
    std::vector<QByteArray> pinned;
    if (fileops::listEntries(stash, pinned) != 0)
        pinned.clear();
    for (const QByteArray &entry : pinned) {
        // Names that are not UTF-8 never reach the system: they stay where they are.
        if (!isVisible(entry) || !QByteArrayView(entry).isValidUtf8())
            continue;
        const QString name = QString::fromUtf8(entry);
        QString placed;
        if (const int code = moveToDesktop(stash + '/' + entry, name, placed)) {
            qCCritical(Log::error()).noquote()
                << QStringLiteral("restore of pinned %1 failed: %2").arg(name, fileops::errorText(code));
            result.failed << name;
            continue;
        }
        result.restored << placed;
    }

    // Then every live desktop whose folder holds something, in document order.
    for (const Workspace &workspace : config.workspaces) {
        if (workspace.state != WorkspaceState::active)
            continue;
        if (const QString why = refusal(workspace, config); !why.isEmpty()) {
            qCCritical(Log::error()).noquote() << QStringLiteral("restore of %1 failed: %2").arg(workspace.name, why);
            continue;
        }
        const QByteArray folder = QFile::encodeName(m_paths.workspaces() + QLatin1Char('/') + workspace.name);
        std::vector<QByteArray> entries;
        if (fileops::listEntries(folder, entries) != 0)
            continue;
        if (std::none_of(entries.begin(), entries.end(), isVisible))
            continue;
        const QString display = workspace.name == Config::blankWorkspaceName ? blankDisplayName : workspace.name;
        QString placed;
        if (const int code = moveToDesktop(folder, display, placed)) {
            qCCritical(Log::error()).noquote()
                << QStringLiteral("restore of %1 failed: %2").arg(workspace.name, fileops::errorText(code));
            result.failed << workspace.name;
            continue;
        }
        qCInfo(Log::app()).noquote() << QStringLiteral("restored %1 → %2").arg(workspace.name, placed);
        result.restored << placed;
    }
    return result;
}

void Uninstaller::removeFootprint(LoginItem *loginItem, const QString &desktopEntry, const QString &home)
{
    if (loginItem)
        loginItem->unregisterItem();
    if (desktopEntry.isEmpty() || home.isEmpty() || !desktopEntry.endsWith(QLatin1String(".desktop")))
        return;
    const QString ownFolder = InstallLocation::applications(home) + QStringLiteral("/share/applications");
    const QFileInfo entry(desktopEntry);
    const QString realFolder = entry.dir().canonicalPath();
    if (cleaned(entry.absolutePath()) != cleaned(ownFolder)
        && (realFolder.isEmpty() || realFolder != QFileInfo(ownFolder).canonicalFilePath()))
        return;
    const QByteArray path = QFile::encodeName(entry.absoluteFilePath());
    struct stat st {};
    if (::lstat(path.constData(), &st) != 0 || !S_ISREG(st.st_mode))
        return;
    if (::unlink(path.constData()) == 0)
        qCInfo(Log::app()).noquote() << QStringLiteral("removed the desktop entry %1").arg(entry.absoluteFilePath());
}

} // namespace quorvane
