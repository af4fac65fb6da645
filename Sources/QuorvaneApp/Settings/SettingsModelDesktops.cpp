// Creating, adopting, renaming, deleting, reordering and retyping desktops.
#include "Settings/SettingsModel.h"

#include "Shared/Log.h"

#include "DesktopPalette.h"
#include "Files/FileOperations.h"
#include "Location.h"
#include "NoReplaceMove.h"
#include "Settings/SettingsModelSupport.h"

#include <QCollator>
#include <QCoreApplication>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QStringDecoder>

#include <set>

namespace quorvane {

using settings::quoted;

namespace {

const QString busyText = QCoreApplication::translate("SettingsModelDesktops", "Quorvane is mid-switch. Try again in a moment.");

QString cleanAbsolute(const QString &path)
{
    return QDir::cleanPath(QFileInfo(path).absoluteFilePath());
}

std::optional<QString> decodedName(const QByteArray &bytes)
{
    QStringDecoder decoder(QStringDecoder::Utf8, QStringDecoder::Flag::Stateless);
    const QString name = decoder(bytes);
    if (decoder.hasError())
        return std::nullopt;
    return name;
}

// The order people expect of names: the locale's order of letters, case ignored, and runs of
// digits by their value ("a2" before "A10"). Not every collator of the platform counts
// numbers, so the digit runs are compared here.
int naturalCompare(const QString &a, const QString &b)
{
    static const QCollator collator = [] {
        QCollator c;
        c.setCaseSensitivity(Qt::CaseInsensitive);
        return c;
    }();
    const auto chunk = [](const QString &s, qsizetype &i) {
        const qsizetype start = i;
        const bool digits = s.at(i).isDigit();
        while (i < s.size() && s.at(i).isDigit() == digits)
            ++i;
        return s.mid(start, i - start);
    };
    qsizetype i = 0;
    qsizetype j = 0;
    while (i < a.size() && j < b.size()) {
        const QString x = chunk(a, i);
        const QString y = chunk(b, j);
        int order = 0;
        if (x.at(0).isDigit() && y.at(0).isDigit()) {
            QString u = x;
            QString v = y;
            while (u.size() > 1 && u.startsWith(QLatin1Char('0')))
                u.remove(0, 1);
            while (v.size() > 1 && v.startsWith(QLatin1Char('0')))
                v.remove(0, 1);
            order = u.size() != v.size() ? (u.size() < v.size() ? -1 : 1) : u.compare(v);
        } else {
            order = collator.compare(x.toCaseFolded(), y.toCaseFolded());
        }
        if (order != 0)
            return order;
    }
    if (i < a.size() || j < b.size())
        return i < a.size() ? 1 : -1;
    return collator.compare(a, b);
}

} // namespace

std::optional<QString> SettingsModel::nameProblem(const QString &name)
{
    if (name.startsWith(QLatin1Char('_')))
        return tr("Names can't start with “_” (reserved).");
    if (name.startsWith(QLatin1Char('.')))
        return tr("Names can't start with “.” (hidden folders).");
    if (name.compare(QLatin1String("Archive"), Qt::CaseInsensitive) == 0
        || name.compare(QLatin1String(".store"), Qt::CaseInsensitive) == 0)
        return tr("“%1” is part of the desktops folder itself — pick another name.").arg(name);
    // A name is one folder inside the desktops folder, never a path leading out of it.
    if (!name.isEmpty() && !Location::isSafeName(name))
        return tr("Names can't contain “/”.");
    return std::nullopt;
}

bool SettingsModel::nameIsAllowed(const QString &name)
{
    if (const auto problem = nameProblem(name)) {
        refuse(*problem);
        return false;
    }
    return true;
}

std::optional<QString> SettingsModel::newWorkspaceNameProblem(const QString &typed) const
{
    const QString name = trimmedName(typed);
    if (name.isEmpty())
        return std::nullopt;
    if (auto problem = nameProblem(name))
        return problem;
    if (m_config.workspace(name))
        return tr("“%1” already exists.").arg(name);
    return std::nullopt;
}

QString SettingsModel::uniqueWorkspaceName(const QString &base) const
{
    if (!m_config.workspace(base))
        return base;
    for (int n = 2;; ++n) {
        const QString candidate = base + QLatin1Char(' ') + QString::number(n);
        if (!m_config.workspace(candidate))
            return candidate;
    }
}

bool SettingsModel::createWorkspace(const QString &typed, WorkspaceType type, std::optional<ArchiveTimer> timer,
                                    std::optional<QString> drainTarget, bool createsCleanupTask,
                                    std::optional<HotKeySpec> hotkey, bool addToCarousel)
{
    const QString name = trimmedName(typed);
    if (name.isEmpty() || !nameIsAllowed(name))
        return false;
    if (m_config.workspace(name)) {
        refuse(tr("“%1” already exists.").arg(name));
        return false;
    }
    if (hotkey) {
        if (const auto holder = m_config.hotKeyConflict(*hotkey, HotKeyAssignment::Owner::workspace(name))) {
            refuse(conflictMessage(*hotkey, *holder));
            return false;
        }
    }
    if (!documentIsWritable())
        return false;
    const QString folder = folderOf(name);
    const bool folderExisted = m_files.exists(folder);
    if (const int code = m_files.makeFolders(folder)) {
        refuse(tr("Couldn't create the workspace folder: %1").arg(fileops::errorTextFor(code, name)));
        return false;
    }

    const Date now = currentDate();
    const bool stored = apply([&](Config &config) {
        if (config.workspace(name))
            throw Refusal(tr("“%1” already exists.").arg(name));
        const bool temporary = type == WorkspaceType::temporary;
        const Workspace *into = drainTarget ? config.workspace(*drainTarget) : nullptr;
        const bool routeValid = temporary && timer && into && into->type == WorkspaceType::permanent
            && into->state == WorkspaceState::active;
        Workspace record = Workspace::make(name, DesktopPalette::distinct(settings::coloursInUse(config)));
        record.type = type;
        record.hotkey = hotkey;
        record.timer = temporary ? timer : std::nullopt;
        record.drainTarget = routeValid ? drainTarget : std::nullopt;
        record.timerDrains = routeValid;
        record.clearMode = routeValid ? ClearMode::move : (temporary && timer ? ClearMode::archive : ClearMode::keep);
        record.createdAt = now;
        record.createsCleanupTask = createsCleanupTask;
        record.preferredAppearance = AppearanceMode::system;
        settings::addBeforeBlank(config, std::move(record));
        QStringList &carousel = config.settings.optionClickCarousel;
        if (addToCarousel && carousel.size() < AppSettings::optionClickCarouselLimit && !carousel.contains(name))
            carousel.append(name);
    });
    if (!stored && !folderExisted)
        m_files.remove(folder); // only an empty folder goes
    return stored;
}

void SettingsModel::rename(const QString &oldName, const QString &typed)
{
    const QString newName = trimmedName(typed);
    if (newName.isEmpty() || namesEqual(newName, oldName) || settings::isBlankDesktop(oldName))
        return;
    const Workspace *current = m_config.workspace(oldName);
    if (!current || !nameIsAllowed(newName))
        return;
    if (m_config.workspace(newName)) {
        refuse(tr("“%1” already exists.").arg(newName));
        return;
    }
    if (isBusyNow()) {
        refuse(busyText);
        return;
    }
    if (!documentIsWritable())
        return;

    // An archived desktop's folder lies in the archive: a restore brings it back under the
    // name the record then has.
    const bool archived = isArchived(current->state);
    const QString from = folderOf(oldName);
    const QString to = folderOf(newName);
    bool moved = false;
    bool made = false;
    if (!archived) {
        if (!Location::isSafeName(oldName)) {
            refuse(tr("Couldn't rename the folder: “%1” can't be used as a folder name.").arg(oldName));
            return;
        }
        int code = 0;
        if (m_files.exists(from)) {
            code = m_files.moveItem(from, to);
            moved = code == 0;
        } else {
            made = !m_files.exists(to);
            code = m_files.makeFolders(to);
        }
        if (code) {
            refuse(tr("Couldn't rename the folder: %1").arg(fileops::errorTextFor(code, newName)));
            return;
        }
    }

    const bool stored = apply([&](Config &config) {
        if (config.workspace(newName))
            throw Refusal(tr("“%1” already exists.").arg(newName));
        config.updateWorkspace(oldName, [&](Workspace &w) { w.name = newName; });
        if (namesEqual(config.activeWorkspace, oldName))
            config.activeWorkspace = newName;
        if (config.lastExpandedWorkspace && namesEqual(*config.lastExpandedWorkspace, oldName))
            config.lastExpandedWorkspace = newName;
        config.renameCleanupMember(oldName, newName);
        config.renameCustomFilterCollection(oldName, newName);
        config.renameDrainTarget(oldName, newName);
    });
    if (stored)
        return;
    // The record still has the old name: so must the folder.
    if (moved)
        m_files.moveItem(to, from);
    else if (made)
        m_files.remove(to);
}

std::optional<QString> SettingsModel::trashOrReportFailure(const QString &folder, const QString &workspace)
{
    const FileOperations::TrashResult result = m_files.moveToTrash(folder);
    if (result.trashedPath)
        return result.trashedPath;
    qCCritical(Log::error()).noquote() << QStringLiteral("couldn't move %1 to the Trash: %2").arg(folder, result.reason);
    // Only a folder that is truly gone leaves nothing on disk; one the Trash could not take
    // stays where it is, and the reason says why.
    setDeleteFailure(DeleteFailure{workspace, !m_files.exists(folder),
                                   tr("Couldn't move the folder to the Trash: %1").arg(result.reason)});
    return std::nullopt;
}

void SettingsModel::untrash(const QString &trashedPath, const QString &original)
{
    if (m_files.moveItem(trashedPath, original) != 0)
        return; // it stays in the Trash, where the user can still find it
    const QFileInfo trashed(trashedPath);
    const QString info = trashed.dir().absolutePath() + QStringLiteral("/../info/") + trashed.fileName()
        + QStringLiteral(".trashinfo");
    m_files.remove(QDir::cleanPath(info));
}

void SettingsModel::deleteWorkspace(const QString &name)
{
    if (settings::isBlankDesktop(name))
        return;
    if (namesEqual(name, m_config.activeWorkspace)) {
        refuse(tr("“%1” is the active desktop. Switch to another first.").arg(name));
        return;
    }
    if (isBusyNow()) {
        refuse(busyText);
        return;
    }
    if (!documentIsWritable())
        return;
    if (!Location::isSafeName(name)) {
        // No folder can be named so: there is nothing to trash, only the record to drop.
        setDeleteFailure(DeleteFailure{name, true, tr("“%1” can't be used as a folder name.").arg(name)});
        return;
    }
    const QString folder = folderOf(name);
    const auto trashed = trashOrReportFailure(folder, name);
    if (!trashed)
        return;
    if (!apply([&](Config &config) {
            std::erase_if(config.workspaces, [&](const Workspace &w) { return namesEqual(w.name, name); });
            config.clearDrainRoutes(name);
            config.pruneCleanupTasks();
        }))
        untrash(*trashed, folder);
}

void SettingsModel::removeFromConfig(const QString &name)
{
    apply([&](Config &config) {
        std::erase_if(config.workspaces, [&](const Workspace &w) { return namesEqual(w.name, name); });
        config.clearDrainRoutes(name);
        config.pruneCleanupTasks();
    });
}

QStringList SettingsModel::unlistedFolders() const
{
    std::vector<FileOperations::Entry> entries;
    if (m_files.list(QFile::encodeName(m_paths.workspaces()), entries) != 0)
        return {};
    const auto &archiveRoot = m_config.settings.archiveRoot;
    const QString archive = archiveRoot && !archiveRoot->isEmpty() ? cleanAbsolute(*archiveRoot) : QString();
    QStringList names;
    for (const FileOperations::Entry &entry : entries) {
        if (!entry.isFolder || entry.name.startsWith('.'))
            continue;
        const auto name = decodedName(entry.name);
        if (!name || name->startsWith(QLatin1Char('_')) || !Location::isSafeName(*name))
            continue;
        if (name->compare(QLatin1String("Archive"), Qt::CaseInsensitive) == 0)
            continue;
        if (m_config.workspace(*name))
            continue;
        if (!archive.isEmpty() && cleanAbsolute(folderOf(*name)) == archive)
            continue;
        names.append(*name);
    }
    std::sort(names.begin(), names.end(), [](const QString &a, const QString &b) { return naturalCompare(a, b) < 0; });
    return names;
}

void SettingsModel::adoptFolder(const QString &name)
{
    if (m_config.workspace(name))
        return;
    // Only what the desktops folder could offer: never a path leading out of it.
    if (!nameIsAllowed(name) || name.isEmpty())
        return;
    if (!m_files.exists(folderOf(name))) {
        refuse(tr("“%1” isn't in your desktops folder any more.").arg(name));
        return;
    }
    const Date now = currentDate();
    apply([&](Config &config) {
        if (config.workspace(name))
            return;
        Workspace record = Workspace::make(name, DesktopPalette::distinct(settings::coloursInUse(config)));
        record.createdAt = now;
        record.createsCleanupTask = false;
        settings::addBeforeBlank(config, std::move(record));
    });
}

void SettingsModel::setDeskOrder(const QStringList &names)
{
    apply([&](Config &config) {
        std::vector<std::size_t> positions;
        for (std::size_t i = 0; i < config.workspaces.size(); ++i) {
            const Workspace &w = config.workspaces[i];
            if (w.state == WorkspaceState::active && !settings::isBlankDesktop(w.name))
                positions.push_back(i);
        }
        std::vector<std::size_t> order;
        std::set<std::size_t> seen;
        for (const QString &name : names) {
            for (std::size_t index : positions) {
                if (namesEqual(config.workspaces[index].name, name)) {
                    // A list naming one desktop twice would drop another: it changes nothing.
                    if (!seen.insert(index).second)
                        return;
                    order.push_back(index);
                    break;
                }
            }
        }
        if (order.size() != positions.size())
            return;
        std::vector<Workspace> reordered = config.workspaces;
        for (std::size_t k = 0; k < positions.size(); ++k)
            reordered[positions[k]] = config.workspaces[order[k]];
        config.workspaces = std::move(reordered);
    });
}

void SettingsModel::setType(const QString &name, WorkspaceType type)
{
    apply([&](Config &config) {
        config.updateWorkspace(name, [&](Workspace &w) {
            w.type = type;
            if (type == WorkspaceType::permanent)
                w.drainTarget.reset();
        });
        if (type == WorkspaceType::temporary)
            config.clearDrainRoutes(name);
    });
}

} // namespace quorvane
