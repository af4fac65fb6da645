#include "Desktop/Archiver.h"

#include "Desktop/ArchiveLog.h"
#include "Files/LinuxFileOperations.h"
#include "IoError.h"
#include "Location.h"
#include "Names.h"
#include "NoReplaceMove.h"
#include "StoreError.h"

#include <QCoreApplication>
#include <QDate>
#include <QDateTime>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QRegularExpression>

#include <algorithm>
#include <cerrno>
#include <exception>
#include <vector>

#include <sys/stat.h>
#include <unistd.h>

namespace quorvane {

namespace {

// The description that follows a filesystem message's lead when a desktop's name cannot be
// used as a folder name.
QString unusableName(const QString &name)
{
    return QCoreApplication::translate("Archiver", "“%1” can't be used as a folder name.").arg(name);
}

// Why pouring one desktop into another failed, as one sentence.
QString pourFailure(const QString &name, const QString &target, const QString &why)
{
    return QCoreApplication::translate("Archiver", "Couldn't pour “%1” into “%2”: %3").arg(name, target, why);
}

QString describe(const std::exception &error)
{
    if (const auto *archive = dynamic_cast<const ArchiveError *>(&error))
        return archive->description();
    if (const auto *store = dynamic_cast<const StoreError *>(&error))
        return store->description();
    if (const auto *io = dynamic_cast<const IoError *>(&error))
        return io->description();
    return QString::fromUtf8(error.what());
}

// The start of the local calendar day after the moment.
Date startOfNextDay(Date now)
{
    const QDateTime local = toDateTime(now).toLocalTime();
    QDate day = local.date().addDays(1);
    if (!day.isValid())
        day = local.date();
    return fromDateTime(day.startOfDay());
}

} // namespace

Archiver::Archiver(StateStore &store, const Paths &paths, Clock clock, FileOperations *files)
    : m_store(store)
    , m_workspacesRoot(paths.workspaces())
    , m_defaultArchiveRoot(paths.defaultArchiveRoot())
    , m_paths(paths)
    , m_clock(std::move(clock))
    , m_ownFiles(files ? nullptr : std::make_shared<LinuxFileOperations>(paths.copyRecords()))
    , m_files(files ? *files : *m_ownFiles)
{
}

QString Archiver::dateStamp(Date moment)
{
    const QDate day = toDateTime(moment).toLocalTime().date();
    return QString::asprintf("%04d-%02d-%02d", day.year(), day.month(), day.day());
}

Config Archiver::loadWritable()
{
    Config config = m_store.loadConfig();
    // Nothing may move that this session could not record.
    if (config.schemaVersion > Config::currentSchemaVersion)
        throw StoreError::configNewerThanApp(config.schemaVersion);
    return config;
}

namespace {

// The folder as the file system knows it: links resolved where it exists.
QString resolvedFolder(const QString &path)
{
    const QFileInfo info(path);
    const QString canonical = info.canonicalFilePath();
    return canonical.isEmpty() ? QDir::cleanPath(info.absoluteFilePath()) : canonical;
}

bool isWithin(const QString &path, const QString &folder)
{
    return path == folder || path.startsWith(folder + QLatin1Char('/'));
}

} // namespace

bool Archiver::isArchiveFolder(const Paths &paths, const Config &config, const QString &name, const QString &location)
{
    static const QRegularExpression stamped(QStringLiteral("-[0-9]{4}-[0-9]{2}-[0-9]{2}(-[0-9]+)?$"));
    if (!QDir::isAbsolutePath(location) || !stamped.match(QFileInfo(location).fileName()).hasMatch()
        || !paths.isBoundedFolder(location))
        return false;
    const QString folder = resolvedFolder(location);
    QStringList live = {resolvedFolder(paths.store()), resolvedFolder(paths.pinnedStash())};
    QStringList archives;
    for (const Workspace &w : config.workspaces) {
        if (w.state == WorkspaceState::active)
            live.append(resolvedFolder(paths.workspaces() + QLatin1Char('/') + w.name));
        else if (!namesEqual(w.name, name) && w.archiveLocation && !w.archiveLocation->isEmpty())
            archives.append(resolvedFolder(*w.archiveLocation));
    }
    const bool touchesLive = std::any_of(live.begin(), live.end(), [&](const QString &f) {
        return isWithin(folder, f) || isWithin(f, folder);
    });
    const bool holdsAnother = std::any_of(archives.begin(), archives.end(), [&](const QString &f) { return isWithin(f, folder); });
    return !touchesLive && !holdsAnother;
}

bool Archiver::isAllowedArchiveRoot(const Paths &paths, const Config &config, const QString &folder)
{
    const QString chosen = resolvedFolder(folder);
    QStringList moving = {resolvedFolder(paths.desktop()), resolvedFolder(paths.store()),
                          resolvedFolder(paths.pinnedStash())};
    for (const Workspace &w : config.workspaces)
        moving.append(resolvedFolder(paths.workspaces() + QLatin1Char('/') + w.name));
    return chosen != resolvedFolder(paths.workspaces())
        && std::none_of(moving.begin(), moving.end(), [&](const QString &f) { return isWithin(chosen, f); });
}

QString Archiver::archiveRoot(const Config &config) const
{
    // A relative root would name a folder of the process's working directory, and one the
    // settings would refuse (a hand-edited document) would be moved by the next switch: only an
    // absolute, allowed root is a root, anything else counts as unset.
    const auto &root = config.settings.archiveRoot;
    return root && QDir::isAbsolutePath(*root) && isAllowedArchiveRoot(m_paths, config, *root) ? *root
                                                                                               : m_defaultArchiveRoot;
}

namespace {

// The desktop that archive and drain may complete: a live temporary desktop that is not active.
// None when no desktop has that name.
const Workspace *completable(const Config &config, const QString &name)
{
    const Workspace *workspace = config.workspace(name);
    if (!workspace)
        return nullptr;
    if (workspace->type != WorkspaceType::temporary)
        throw ArchiveError::notTemporary(name);
    if (workspace->state != WorkspaceState::active)
        throw ArchiveError::alreadyArchived(name);
    if (namesEqual(name, config.activeWorkspace))
        throw ArchiveError::isActiveDesktop(name);
    return workspace;
}

} // namespace

void Archiver::archive(const QString &name)
{
    const Config config = loadWritable();
    const Workspace *workspace = completable(config, name);
    if (!workspace)
        return;
    const QString stored = workspace->name;
    const bool addsCleanupTask = workspace->createsCleanupTask;
    if (!Location::isSafeName(stored))
        throw ArchiveError::filesystem(QCoreApplication::translate("Archiver", "Couldn't move the folder: %1").arg(unusableName(stored)));

    const QString root = archiveRoot(config);
    if (const int code = m_files.makeFolders(root))
        throw ArchiveError::filesystem(QCoreApplication::translate("Archiver", "Couldn't create the archive folder: %1").arg(fileops::errorTextFor(code, root)));
    if (!sameVolume(m_workspacesRoot, root))
        throw ArchiveError::crossVolume();

    const Date now = m_clock();
    const QString destination = uniqueURL(root + '/' + stored + '-' + dateStamp(now));
    const QString source = folderOf(stored);
    const bool hadFolder = m_files.exists(source);
    if (const int code = hadFolder ? m_files.moveItem(source, destination) : m_files.makeFolders(destination))
        throw ArchiveError::filesystem(QCoreApplication::translate("Archiver", "Couldn't move the folder: %1").arg(fileops::errorTextFor(code, stored)));

    try {
        m_store.mutateConfig([&](Config &doc) {
            doc.updateWorkspace(name, [&](Workspace &w) {
                w.state = WorkspaceState::archivedUnsorted;
                w.archivedAt = now;
                w.archiveLocation = destination;
                w.hotkey.reset();
            });
            if (addsCleanupTask)
                doc.addCleanupTask(name, startOfNextDay(now));
        });
    } catch (const std::exception &) {
        // The record still shows the desktop live: its folder goes back where the record
        // expects it, so the items never sit unreferenced in the archive.
        const int code = hadFolder ? m_files.moveItem(destination, source)
                                   : m_files.remove(destination);
        if (code != 0)
            archivelog::moveBackFailed(destination, source, m_files.errorText(code));
        else if (hadFolder)
            archivelog::movedBack(destination, source);
        throw;
    }

    rotateScreenshotCollectionIfNeeded(name);
    archivelog::archived(name, destination);
}

void Archiver::rotateScreenshotCollectionIfNeeded(const QString &archived)
{
    try {
        const Config config = m_store.loadConfig();
        const auto &screenshots = config.settings.screenshotsWorkspace;
        if (!screenshots || !namesEqual(*screenshots, archived))
            return;
        if (!config.settings.filterScreenshots) {
            m_store.mutateConfig([](Config &doc) { doc.settings.screenshotsWorkspace.reset(); });
            return;
        }
        const QString renamed = uniqueArchivedName(archived + QStringLiteral(".archived"), config);
        if (!Location::isSafeName(archived) || m_files.makeFolders(folderOf(archived)) != 0)
            return;
        const Date now = m_clock();
        m_store.mutateConfig([&](Config &doc) {
            doc.updateWorkspace(archived, [&](Workspace &w) { w.name = renamed; });
            doc.renameCleanupMember(archived, renamed);
            doc.renameCustomFilterCollection(archived, renamed);
            if (!doc.hasWorkspace(archived)) {
                Workspace fresh = Workspace::make(archived);
                fresh.type = WorkspaceType::permanent;
                fresh.createdAt = now;
                fresh.createsCleanupTask = true;
                // After every other desktop, before the blank desktop's records.
                std::vector<Workspace> ordered;
                std::vector<Workspace> blank;
                for (Workspace &w : doc.workspaces)
                    (namesEqual(w.name, Config::blankWorkspaceName) ? blank : ordered).push_back(std::move(w));
                ordered.push_back(std::move(fresh));
                std::move(blank.begin(), blank.end(), std::back_inserter(ordered));
                doc.workspaces = std::move(ordered);
            }
            doc.settings.screenshotsWorkspace = archived;
        });
    } catch (const std::exception &error) {
        // The archive itself is done; the hand-over is only a convenience.
        archivelog::collectionNotRotated(archived, describe(error));
    }
}

void Archiver::drain(const QString &name, const QString &target)
{
    const Config config = loadWritable();
    const Workspace *workspace = completable(config, name);
    if (!workspace)
        return;
    if (namesEqual(target, name))
        throw ArchiveError::drainIntoItself();
    const Workspace *into = config.workspace(target);
    if (!into)
        throw ArchiveError::targetMissing(target);
    if (into->type != WorkspaceType::permanent || into->state != WorkspaceState::active)
        throw ArchiveError::targetNotPermanent(target);

    const auto pourFailed = [&](const QString &why) { return ArchiveError::filesystem(pourFailure(name, target, why)); };
    for (const QString &folderName : {workspace->name, into->name}) {
        if (!Location::isSafeName(folderName))
            throw pourFailed(unusableName(folderName));
    }
    // A folder that leads to the home folder, the Desktop or the desktops folder would pour
    // them into the target (or the desktop into them).
    for (const QString &folderName : {workspace->name, into->name}) {
        if (!m_paths.isBoundedFolder(folderOf(folderName)))
            throw pourFailed(QCoreApplication::translate("Archiver", "“%1” leads to your home folder, the Desktop or the desktops folder.").arg(folderName));
    }
    const QByteArray source = QFile::encodeName(folderOf(workspace->name));
    const QByteArray targetFolder = QFile::encodeName(folderOf(into->name));
    QByteArray destination = targetFolder + '/' + workspace->name.toUtf8();
    // A full disk names the item that did not fit; the desktops are in the sentence's lead.
    auto fail = [&](int code, const QString &item) { return pourFailed(fileops::errorTextFor(code, item)); };

    if (const int code = m_files.makeFolders(QFile::decodeName(targetFolder)))
        throw fail(code, into->name);
    // An earlier pour cut short may have left copies in progress: settled before anything is
    // compared, so that a retry neither trips over them nor doubles what they hold.
    m_files.finishInterruptedCopies();
    // A file or a link (dangling or not) already bearing the name cannot be merged into: the
    // folder goes beside it under the next free name instead.
    struct stat inTheWay {};
    if (::lstat(destination.constData(), &inTheWay) == 0 && !S_ISDIR(inTheWay.st_mode))
        destination = uniqueDestination(workspace->name.toUtf8(), targetFolder);
    if (m_files.exists(source)) {
        // A folder with a disk of its own mounted on it can be neither moved nor removed: its
        // items go one by one, and the emptied mount point stays, else every retry fails on it.
        const auto sourceVolume = m_files.volumeId(QFile::decodeName(source));
        const auto rootVolume = m_files.volumeId(m_workspacesRoot);
        const bool mountPoint = sourceVolume && rootVolume && *sourceVolume != *rootVolume
            && !QFileInfo(QFile::decodeName(source)).isSymLink();
        if (!mountPoint && !m_files.exists(destination)) {
            if (const int code = m_files.moveItem(source, destination))
                throw fail(code, workspace->name);
        } else {
            if (const int code = m_files.exists(destination) ? 0 : m_files.makeFolders(QFile::decodeName(destination)))
                throw fail(code, workspace->name);
            std::vector<QByteArray> entries;
            std::vector<FileOperations::Entry> listed;
            if (const int code = m_files.list(source, listed))
                throw fail(code, workspace->name);
            for (FileOperations::Entry &entry : listed)
                entries.push_back(std::move(entry.name));
            // Visible items first, in listing order, then the hidden ones (a ".DS_Store" among
            // them, an ordinary file here): nothing of the user's is deleted with the folder.
            std::stable_partition(entries.begin(), entries.end(), [](const QByteArray &e) { return !e.startsWith('.'); });
            for (const QByteArray &entry : entries) {
                const QByteArray from = source + '/' + entry;
                if (const int code = m_files.moveItem(from, uniqueDestination(entry, destination)))
                    throw fail(code, QFile::decodeName(entry));
            }
            if (const int code = m_files.remove(source); code != 0 && !(mountPoint && code == EBUSY))
                throw fail(code, workspace->name);
        }
    }

    m_store.mutateConfig([&](Config &doc) {
        std::erase_if(doc.workspaces, [&](const Workspace &w) { return namesEqual(w.name, name); });
        doc.clearDrainRoutes(name);
        doc.pruneCleanupTasks();
    });
    archivelog::drained(name, QFile::decodeName(destination));
}

void Archiver::restore(const QString &name)
{
    const Config config = loadWritable();
    const Workspace *workspace = config.workspace(name);
    if (!workspace || workspace->state == WorkspaceState::active)
        return;
    const auto &location = workspace->archiveLocation;
    const bool hasArchive = location && !location->isEmpty() && m_files.exists(*location);
    const auto recreateFailed = [](const QString &why) {
        return ArchiveError::filesystem(QCoreApplication::translate("Archiver", "Couldn't recreate the folder: %1").arg(why));
    };
    const auto moveBackFailed = [](const QString &why) {
        return ArchiveError::filesystem(QCoreApplication::translate("Archiver", "Couldn't move the folder back: %1").arg(why));
    };
    if (!Location::isSafeName(workspace->name))
        throw hasArchive ? moveBackFailed(unusableName(workspace->name)) : recreateFailed(unusableName(workspace->name));
    const QString folder = folderOf(workspace->name);

    if (!hasArchive) {
        if (const int code = m_files.makeFolders(folder))
            throw recreateFailed(fileops::errorTextFor(code, workspace->name));
    } else if (!isArchiveFolder(m_paths, config, workspace->name, *location)) {
        throw moveBackFailed(QCoreApplication::translate("Archiver", "“%1” isn't a folder of the archive, so it stays where it is.").arg(*location));
    } else if (m_files.finishInterruptedCopies(), m_files.exists(folder)) {
        throw ArchiveError::filesystem(
            QCoreApplication::translate("Archiver", "A folder named “%1” already exists in the workspace store — move it aside first.").arg(name));
    } else if (const int code = m_files.moveItem(*location, folder)) {
        throw moveBackFailed(fileops::errorTextFor(code, workspace->name));
    }

    markRestored(name);
}

void Archiver::markRestored(const QString &name)
{
    const Date now = m_clock();
    m_store.mutateConfig([&](Config &doc) {
        doc.updateWorkspace(name, [&](Workspace &w) {
            w.state = WorkspaceState::active;
            w.archivedAt.reset();
            w.archiveLocation.reset();
            w.lastActiveAt = now;
        });
    });
}

void Archiver::finishInterrupted()
{
    const Config config = loadWritable();
    // Every copy the store's records name, wherever it went: a drain's nested destination, an
    // archive root on another disk, a desktop's folder.
    m_files.finishInterruptedCopies();

    for (const Workspace &w : config.workspaces) {
        if (w.state == WorkspaceState::active || !Location::isSafeName(w.name) || !w.archiveLocation
            || w.archiveLocation->isEmpty() || m_files.exists(*w.archiveLocation))
            continue;
        // The archive is gone and the desktop's folder is back: the restore moved it and was
        // stopped before it could record that.
        if (!QFileInfo(folderOf(w.name)).isDir() || QFileInfo(folderOf(w.name)).isSymLink())
            continue;
        markRestored(w.name);
        archivelog::restoreCompleted(w.name);
    }
}

QStringList Archiver::fireDueTimers(Date now)
{
    Config config;
    try {
        config = m_store.loadConfig();
    } catch (const std::exception &error) {
        archivelog::timersWait(describe(error));
        return {};
    }
    QStringList completed;
    for (const Workspace &w : config.liveWorkspaces()) {
        if (w.type != WorkspaceType::temporary || namesEqual(w.name, config.activeWorkspace) || !w.archiveDue(now))
            continue;
        const Workspace *into = w.timerDrains && w.drainTarget ? config.workspace(*w.drainTarget) : nullptr;
        const bool drains = into && into->type == WorkspaceType::permanent && into->state == WorkspaceState::active;
        try {
            if (drains)
                drain(w.name, *w.drainTarget);
            else
                archive(w.name);
            completed.append(w.name);
        } catch (const std::exception &error) {
            archivelog::autoCompletionFailed(w.name, describe(error));
        }
    }
    return completed;
}

QString Archiver::uniqueURL(const QString &path) const
{
    if (!m_files.exists(path))
        return path;
    for (int n = 2;; ++n) {
        const QString candidate = path + '-' + QString::number(n);
        if (!m_files.exists(candidate))
            return candidate;
    }
}

QByteArray Archiver::uniqueDestination(const QByteArray &name, const QByteArray &folder) const
{
    const QByteArray first = folder + '/' + name;
    if (!m_files.exists(first))
        return first;
    // The extension follows the last dot, unless that dot begins the name or ends it.
    const qsizetype dot = name.lastIndexOf('.');
    const bool hasExtension = dot > 0 && dot < name.size() - 1;
    const QByteArray stem = hasExtension ? name.left(dot) : name;
    const QByteArray extension = hasExtension ? name.mid(dot + 1) : QByteArray();
    for (int n = 2;; ++n) {
        QByteArray candidate = stem + ' ' + QByteArray::number(n);
        if (hasExtension)
            candidate += '.' + extension;
        const QByteArray path = folder + '/' + candidate;
        if (!m_files.exists(path))
            return path;
    }
}

QString Archiver::uniqueArchivedName(const QString &base, const Config &config)
{
    if (!config.hasWorkspace(base))
        return base;
    for (int n = 1;; ++n) {
        const QString candidate = base + ' ' + QString::number(n);
        if (!config.hasWorkspace(candidate))
            return candidate;
    }
}

bool Archiver::sameVolume(const QString &a, const QString &b) const
{
    const auto first = m_files.volumeId(a);
    const auto second = m_files.volumeId(b);
    return first && second && *first == *second;
}

} // namespace quorvane
