// Temporary desktops, the archive and the cleanup calendar.
#include "Settings/SettingsModel.h"

#include "Desktop/ArchiveError.h"
#include "Desktop/Archiver.h"
#include "Files/FileOperations.h"
#include "IoError.h"
#include "Settings/SettingsModelSupport.h"
#include "StoreError.h"

#include <QCoreApplication>
#include <QDate>
#include <QDir>
#include <QFileInfo>

#include <algorithm>
#include <set>

namespace quorvane {

namespace {

const QString busyText = QCoreApplication::translate("SettingsModelArchive", "Quorvane is mid-switch. Try again in a moment.");

QDate localDay(Date moment)
{
    return toDateTime(moment).toLocalTime().date();
}

Date startOfDay(Date moment)
{
    return fromDateTime(localDay(moment).startOfDay());
}

// The archiver's own texts, and the store's sentence.
QString archiverDescription(const std::exception &error)
{
    if (const auto *archive = dynamic_cast<const ArchiveError *>(&error))
        return archive->description();
    if (const auto *store = dynamic_cast<const StoreError *>(&error))
        return store->description();
    if (const auto *io = dynamic_cast<const IoError *>(&error))
        return io->description();
    return QString::fromUtf8(error.what());
}

// Where an idle or fixed timer counts from; none without a date.
std::optional<Date> timerBase(const Workspace &w)
{
    if (!w.timer)
        return std::nullopt;
    if (w.timer->mode == ArchiveTimerMode::fixed)
        return w.createdAt;
    if (w.timer->mode == ArchiveTimerMode::idle)
        return w.lastActiveAt ? w.lastActiveAt : w.createdAt;
    return std::nullopt;
}

} // namespace

void SettingsModel::finishArchiverCall(const std::function<void()> &call)
{
    // A journal left by an unfinished switch names desktops: their folders must stay put.
    if (isBusyNow()) {
        refuse(busyText);
        return;
    }
    try {
        if (!m_archiver)
            throw std::runtime_error("no archiver");
        call();
    } catch (const std::exception &error) {
        setErrorMessage(archiverDescription(error));
        return;
    }
    reload();
    emit stored();
}

void SettingsModel::archive(const QString &name)
{
    finishArchiverCall([&] { m_archiver->archive(name); });
}

void SettingsModel::restore(const QString &name)
{
    finishArchiverCall([&] { m_archiver->restore(name); });
}

void SettingsModel::drain(const QString &name, const QString &target)
{
    finishArchiverCall([&] { m_archiver->drain(name, target); });
}

void SettingsModel::deleteArchived(const QString &name)
{
    const Workspace *w = m_config.workspace(name);
    if (!w || w->state == WorkspaceState::active)
        return;
    const std::optional<QString> location = w->archiveLocation && !w->archiveLocation->isEmpty()
        ? w->archiveLocation
        : std::nullopt;
    if (!documentIsWritable())
        return;
    std::optional<QString> trashed;
    if (location && !Archiver::isArchiveFolder(m_paths, m_config, w->name, *location)) {
        setDeleteFailure(DeleteFailure{name, false,
                                       tr("“%1” isn't a folder of the archive, so it stays where it is.").arg(*location)});
        return;
    }
    if (location) {
        trashed = trashOrReportFailure(*location, name);
        if (!trashed)
            return;
    }
    if (!apply([&](Config &config) {
            std::erase_if(config.workspaces, [&](const Workspace &r) { return namesEqual(r.name, name); });
            config.clearDrainRoutes(name);
            config.pruneCleanupTasks();
        })
        && trashed)
        untrash(*trashed, *location);
}

void SettingsModel::setArchiveRoot(const std::optional<QString> &folder)
{
    if (!folder) {
        setSetting([](AppSettings &s) { s.archiveRoot.reset(); });
        return;
    }
    // A folder whose contents a switch moves would carry the archives along.
    if (!Archiver::isAllowedArchiveRoot(m_paths, m_config, *folder)) {
        refuse(QStringLiteral("That folder is part of your Desktop or your desktops. Archives must sit outside them — "
                              "otherwise the next switch would move them."));
        return;
    }
    const auto here = m_files.volumeId(m_paths.workspaces());
    const auto there = m_files.volumeId(*folder);
    if (!here || !there || *here != *there) {
        refuse(QStringLiteral("That folder is on a different disk. Archives must sit on the same disk as your "
                              "workspaces — that's what keeps archiving an instant, safe move."));
        return;
    }
    const QString path = *folder;
    setSetting([&](AppSettings &s) { s.archiveRoot = path; });
}

void SettingsModel::setArchivedSorted(const QString &name, bool sorted)
{
    apply([&](Config &config) {
        config.updateWorkspace(name, [&](Workspace &w) {
            if (w.state != WorkspaceState::active)
                w.state = sorted ? WorkspaceState::archivedSorted : WorkspaceState::archivedUnsorted;
        });
    });
}

void SettingsModel::setClearDestination(const QString &name, ClearMode mode, const std::optional<QString> &home)
{
    apply([&](Config &config) {
        config.updateWorkspace(name, [&](Workspace &w) {
            w.clearMode = mode;
            switch (mode) {
            case ClearMode::keep:
                w.drainTarget.reset();
                w.timer.reset();
                w.timerDrains = false;
                break;
            case ClearMode::move:
                w.drainTarget = home;
                w.timerDrains = true;
                break;
            case ClearMode::archive:
                w.drainTarget.reset();
                w.timerDrains = false;
                break;
            }
        });
    });
}

void SettingsModel::setAutoCompletion(const QString &name, const std::optional<ArchiveTimer> &timer, bool drains)
{
    apply([&](Config &config) {
        config.updateWorkspace(name, [&](Workspace &w) {
            w.timer = timer;
            w.timerDrains = drains;
        });
    });
}

std::vector<TimerOp> SettingsModel::timerOps() const
{
    std::vector<TimerOp> ops;
    for (const Workspace &w : m_config.liveWorkspaces()) {
        if (w.type != WorkspaceType::temporary || w.state != WorkspaceState::active)
            continue;
        const auto base = timerBase(w);
        if (!base)
            continue;
        TimerOp op;
        op.workspace = w.name;
        op.date = startOfDay(*base + double(w.timer->days) * 86400.0);
        op.colorHex = w.colorHex;
        op.drains = w.timerDrains && w.drainTarget.has_value();
        op.drainTarget = op.drains ? w.drainTarget : std::nullopt;
        op.idle = w.timer->mode == ArchiveTimerMode::idle;
        ops.push_back(op);
    }
    return ops;
}

std::vector<TimerOp> SettingsModel::timerOps(Date day) const
{
    std::vector<TimerOp> ops = timerOps();
    const QDate wanted = localDay(day);
    std::erase_if(ops, [&](const TimerOp &op) { return localDay(op.date) != wanted; });
    return ops;
}

QStringList SettingsModel::cleanupCandidates(Date day) const
{
    const QDate wanted = localDay(day);
    std::set<QString> scheduled;
    for (const CleanupTask &task : m_config.openCleanupTasks()) {
        if (localDay(task.date) == wanted)
            scheduled.insert(task.members.begin(), task.members.end());
    }
    QStringList names;
    for (const Workspace &w : m_config.workspaces) {
        if (settings::isBlankDesktop(w.name) || w.state == WorkspaceState::archivedSorted || scheduled.count(w.name))
            continue;
        names.append(w.name);
    }
    return names;
}

void SettingsModel::rescheduleTimer(const QString &name, Date day)
{
    apply([&](Config &config) {
        config.updateWorkspace(name, [&](Workspace &w) {
            const auto base = timerBase(w);
            if (!base)
                return;
            const QDate from = localDay(*base);
            const QDate to = localDay(day);
            const std::int64_t d = from.isValid() && to.isValid() ? from.daysTo(to) : w.timer->days;
            w.timer->days = std::max<std::int64_t>(d, 1);
        });
    });
}

void SettingsModel::rescheduleTask(const QUuid &id, Date day)
{
    const Date start = startOfDay(day);
    apply([&](Config &config) { config.rescheduleCleanupTask(id, start); });
}

void SettingsModel::mergeTasks(const QUuid &source, const QUuid &target)
{
    apply([&](Config &config) { config.mergeCleanupTasks(source, target); });
}

void SettingsModel::setCleanupDate(const QString &name, Date day)
{
    const Date start = startOfDay(day);
    apply([&](Config &config) { config.setCleanupDate(name, start); });
}

void SettingsModel::removeCleanup(const QString &name)
{
    apply([&](Config &config) { config.removeCleanupMember(name); });
}

} // namespace quorvane
