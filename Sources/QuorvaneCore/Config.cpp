#include "Config.h"

#include "JsonCoding.h"
#include "Names.h"

#include <algorithm>

namespace quorvane {

using namespace Qt::Literals::StringLiterals;

const QString Config::blankWorkspaceName = QStringLiteral("_Hidden Desktop");
const QString Config::defaultScreenshotsWorkspaceName = QStringLiteral("Screenshots");

Config::Config(const QString &activeWorkspace, std::vector<Workspace> workspaces, AppSettings settings,
               std::vector<CleanupTask> cleanupTasks, std::optional<QString> lastExpandedWorkspace)
    : activeWorkspace(activeWorkspace)
    , workspaces(std::move(workspaces))
    , settings(std::move(settings))
    , cleanupTasks(std::move(cleanupTasks))
    , lastExpandedWorkspace(std::move(lastExpandedWorkspace))
{
}

Config Config::defaultDocument()
{
    return Config(blankWorkspaceName, {}, AppSettings(), {}, std::nullopt);
}

Config Config::fromJson(const QJsonObject &object)
{
    Config c;
    c.schemaVersion = json::integer(object, "schemaVersion"_L1, 1);
    c.activeWorkspace = json::toText(json::require(object, "activeWorkspace"_L1), "activeWorkspace"_L1);
    c.workspaces = json::recordList<Workspace>(object, "workspaces"_L1);
    if (auto settings = json::optionalRecord<AppSettings>(object, "settings"_L1))
        c.settings = std::move(*settings);
    c.cleanupTasks = json::recordList<CleanupTask>(object, "cleanupTasks"_L1);
    c.lastExpandedWorkspace = json::optionalText(object, "lastExpandedWorkspace"_L1);
    return c;
}

QJsonObject Config::toJson() const
{
    QJsonObject o{{QStringLiteral("schemaVersion"), qint64(schemaVersion)},
                  {QStringLiteral("activeWorkspace"), activeWorkspace},
                  {QStringLiteral("workspaces"), json::fromRecordList(workspaces)},
                  {QStringLiteral("settings"), settings.toJson()},
                  {QStringLiteral("cleanupTasks"), json::fromRecordList(cleanupTasks)}};
    if (lastExpandedWorkspace)
        o.insert(QStringLiteral("lastExpandedWorkspace"), *lastExpandedWorkspace);
    return o;
}

const Workspace *Config::workspace(const QString &name) const
{
    for (const Workspace &w : workspaces) {
        if (namesEqual(w.name, name))
            return &w;
    }
    return nullptr;
}

Workspace *Config::workspace(const QString &name)
{
    return const_cast<Workspace *>(std::as_const(*this).workspace(name));
}

void Config::updateWorkspace(const QString &name, const std::function<void(Workspace &)> &edit)
{
    if (Workspace *w = workspace(name))
        edit(*w);
}

namespace {
bool isLive(const Workspace &w)
{
    return w.state == WorkspaceState::active && !namesEqual(w.name, Config::blankWorkspaceName);
}
} // namespace

std::vector<Workspace> Config::liveWorkspaces() const
{
    std::vector<Workspace> out;
    std::copy_if(workspaces.begin(), workspaces.end(), std::back_inserter(out), isLive);
    return out;
}

std::vector<Workspace> Config::switchableWorkspaces() const
{
    std::vector<Workspace> out;
    std::copy_if(workspaces.begin(), workspaces.end(), std::back_inserter(out),
                 [](const Workspace &w) { return isLive(w) && w.type == WorkspaceType::permanent; });
    return out;
}

std::vector<Workspace> Config::archivedWorkspaces() const
{
    std::vector<Workspace> out;
    std::copy_if(workspaces.begin(), workspaces.end(), std::back_inserter(out),
                 [](const Workspace &w) { return isArchived(w.state); });
    std::stable_sort(out.begin(), out.end(), [](const Workspace &a, const Workspace &b) {
        if (!a.archivedAt || !b.archivedAt)
            return a.archivedAt.has_value() && !b.archivedAt.has_value();
        return *a.archivedAt > *b.archivedAt;
    });
    return out;
}

std::vector<Workspace> Config::unsortedWorkspaces() const
{
    std::vector<Workspace> out = archivedWorkspaces();
    std::erase_if(out, [](const Workspace &w) { return w.state != WorkspaceState::archivedUnsorted; });
    return out;
}

std::optional<QString> Config::expandTarget() const
{
    const auto live = liveWorkspaces();
    if (lastExpandedWorkspace) {
        for (const Workspace &w : live) {
            if (namesEqual(w.name, *lastExpandedWorkspace))
                return w.name;
        }
    }
    if (!live.empty())
        return live.front().name;
    return std::nullopt;
}

std::optional<Workspace> Config::workspaceBoundToSpace(const QString &space) const
{
    for (const Workspace &w : workspaces) {
        if (isLive(w) && w.spaceUUID && *w.spaceUUID == space)
            return w;
    }
    return std::nullopt;
}

void Config::bindWorkspace(const QString &name, const std::optional<QString> &space)
{
    if (space) {
        for (Workspace &w : workspaces) {
            if (w.spaceUUID == space)
                w.spaceUUID.reset();
        }
    }
    updateWorkspace(name, [&](Workspace &w) { w.spaceUUID = space; });
}

std::vector<HotKeyAssignment> Config::hotKeyAssignments() const
{
    std::vector<HotKeyAssignment> out;
    for (const Workspace &w : workspaces) {
        if (isLive(w) && w.hotkey)
            out.push_back(HotKeyAssignment{HotKeyAssignment::Owner::workspace(w.name), *w.hotkey});
    }
    using Owner = HotKeyAssignment::Owner;
    const std::pair<Owner, const std::optional<HotKeySpec> *> globals[] = {
        {Owner::cycleNext(), &settings.cycleNext},
        {Owner::cyclePrevious(), &settings.cyclePrevious},
        {Owner::hideDesktop(), &settings.hideDesktopShortcut},
        {Owner::switchToLast(), &settings.switchToLastShortcut},
        {Owner::openSettings(), &settings.openSettingsShortcut},
        {Owner::openCalendar(), &settings.openCalendarShortcut},
        {Owner::sortNow(), &settings.sortNowShortcut},
        {Owner::floatingDock(), &settings.floatingDockShortcut},
    };
    for (const auto &[owner, spec] : globals) {
        if (*spec)
            out.push_back(HotKeyAssignment{owner, **spec});
    }
    return out;
}

std::optional<HotKeyAssignment::Owner> Config::hotKeyConflict(const HotKeySpec &spec,
                                                              const std::optional<HotKeyAssignment::Owner> &excluding) const
{
    for (const HotKeyAssignment &a : hotKeyAssignments()) {
        if (a.spec == spec && !(excluding && a.owner == *excluding))
            return a.owner;
    }
    return std::nullopt;
}

void Config::renameCustomFilterCollection(const QString &oldName, const QString &newName)
{
    if (oldName == newName)
        return;
    for (CustomFilter &f : settings.customFilters) {
        if (namesEqual(f.collection, oldName))
            f.collection = newName;
    }
}

void Config::renameDrainTarget(const QString &oldName, const QString &newName)
{
    if (oldName == newName)
        return;
    for (Workspace &w : workspaces) {
        if (w.drainTarget && namesEqual(*w.drainTarget, oldName))
            w.drainTarget = newName;
    }
}

void Config::clearDrainRoutes(const QString &target)
{
    for (Workspace &w : workspaces) {
        if (w.drainTarget && namesEqual(*w.drainTarget, target)) {
            w.drainTarget.reset();
            w.timerDrains = false;
        }
    }
}

} // namespace quorvane
