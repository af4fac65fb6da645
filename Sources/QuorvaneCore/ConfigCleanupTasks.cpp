// The cleanup-task edits of the document.
#include "Config.h"

#include "Names.h"

#include <algorithm>

namespace quorvane {

namespace {

void removeName(QStringList &members, const QString &name)
{
    members.removeIf([&](const QString &m) { return namesEqual(m, name); });
}

bool lists(const CleanupTask &task, const QString &name)
{
    return std::any_of(task.members.begin(), task.members.end(), [&](const QString &m) { return namesEqual(m, name); });
}

void dropEmptyTasks(std::vector<CleanupTask> &tasks)
{
    std::erase_if(tasks, [](const CleanupTask &t) { return t.members.isEmpty(); });
}

CleanupTask *taskWithId(std::vector<CleanupTask> &tasks, const QUuid &id)
{
    auto it = std::find_if(tasks.begin(), tasks.end(), [&](const CleanupTask &t) { return t.id == id; });
    return it == tasks.end() ? nullptr : &*it;
}

} // namespace

bool Config::isOpenCleanupMember(const QString &name) const
{
    const Workspace *w = workspace(name);
    return w && (w->state == WorkspaceState::active || w->state == WorkspaceState::archivedUnsorted);
}

std::vector<CleanupTask> Config::openCleanupTasks() const
{
    std::vector<CleanupTask> out;
    for (CleanupTask task : cleanupTasks) {
        task.members.removeIf([&](const QString &m) { return !isOpenCleanupMember(m); });
        if (!task.members.isEmpty())
            out.push_back(std::move(task));
    }
    return out;
}

QStringList Config::taskColorStops(const CleanupTask &task) const
{
    QStringList out;
    for (const QString &m : task.members) {
        if (const Workspace *w = workspace(m))
            out.append(w->colorHex);
    }
    return out;
}

void Config::addCleanupTask(const QString &name, Date date)
{
    if (std::any_of(cleanupTasks.begin(), cleanupTasks.end(), [&](const CleanupTask &t) { return lists(t, name); }))
        return;
    cleanupTasks.push_back(CleanupTask{QUuid::createUuid(), {name}, date});
}

void Config::setCleanupDate(const QString &name, Date date)
{
    removeCleanupMember(name);
    auto it = std::find_if(cleanupTasks.begin(), cleanupTasks.end(), [&](const CleanupTask &t) { return t.date == date; });
    if (it != cleanupTasks.end())
        it->members.append(name);
    else
        cleanupTasks.push_back(CleanupTask{QUuid::createUuid(), {name}, date});
}

void Config::removeCleanupMember(const QString &name)
{
    for (CleanupTask &t : cleanupTasks)
        removeName(t.members, name);
    dropEmptyTasks(cleanupTasks);
}

void Config::renameCleanupMember(const QString &oldName, const QString &newName)
{
    if (oldName == newName)
        return;
    for (CleanupTask &t : cleanupTasks) {
        for (QString &m : t.members) {
            if (namesEqual(m, oldName))
                m = newName;
        }
    }
}

void Config::rescheduleCleanupTask(const QUuid &id, Date date)
{
    if (CleanupTask *t = taskWithId(cleanupTasks, id))
        t->date = date;
}

void Config::mergeCleanupTasks(const QUuid &source, const QUuid &target)
{
    if (source == target)
        return;
    CleanupTask *from = taskWithId(cleanupTasks, source);
    CleanupTask *into = taskWithId(cleanupTasks, target);
    if (!from || !into)
        return;
    const QStringList moving = from->members;
    for (const QString &m : moving) {
        if (!lists(*into, m))
            into->members.append(m);
    }
    std::erase_if(cleanupTasks, [&](const CleanupTask &t) { return t.id == source; });
}

void Config::splitMember(const QString &name, Date date)
{
    auto it = std::find_if(cleanupTasks.begin(), cleanupTasks.end(), [&](const CleanupTask &t) { return lists(t, name); });
    if (it == cleanupTasks.end())
        return;
    if (it->members.size() < 2) {
        it->date = date;
        return;
    }
    removeName(it->members, name);
    cleanupTasks.push_back(CleanupTask{QUuid::createUuid(), {name}, date});
}

void Config::pruneCleanupTasks()
{
    for (CleanupTask &t : cleanupTasks)
        t.members.removeIf([&](const QString &m) { return !isOpenCleanupMember(m); });
    dropEmptyTasks(cleanupTasks);
}

} // namespace quorvane
