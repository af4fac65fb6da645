#pragma once

#include "AppSettings.h"
#include "CleanupTask.h"
#include "Date.h"
#include "HotKeyAssignment.h"
#include "Workspace.h"

#include <QJsonObject>
#include <QString>
#include <QUuid>

#include <cstdint>
#include <functional>
#include <optional>
#include <vector>

namespace quorvane {

// The whole persisted state: config.json. A plain value: every operation loads it afresh,
// changes a copy and saves it whole.
struct Config {
    static constexpr std::int64_t currentSchemaVersion = 1;
    static const QString blankWorkspaceName;              // "_Hidden Desktop"
    static const QString defaultScreenshotsWorkspaceName; // "Screenshots"

    std::int64_t schemaVersion = currentSchemaVersion;
    QString activeWorkspace;
    std::vector<Workspace> workspaces;
    AppSettings settings;
    std::vector<CleanupTask> cleanupTasks;
    std::optional<QString> lastExpandedWorkspace;

    Config() = default;
    Config(const QString &activeWorkspace, std::vector<Workspace> workspaces, AppSettings settings,
           std::vector<CleanupTask> cleanupTasks, std::optional<QString> lastExpandedWorkspace);

    // The fresh document: the blank desktop active, no desktops, default settings.
    static Config defaultDocument();

    bool operator==(const Config &) const = default;

    // "activeWorkspace" is required; everything else has a default.
    static Config fromJson(const QJsonObject &object);
    QJsonObject toJson() const;

    // Desktops are found by name; the first record of a name wins.
    const Workspace *workspace(const QString &name) const;
    Workspace *workspace(const QString &name);
    bool hasWorkspace(const QString &name) const { return workspace(name) != nullptr; }
    // Runs edit on the first record of that name; no such record: nothing happens.
    void updateWorkspace(const QString &name, const std::function<void(Workspace &)> &edit);

    // Active records other than the blank desktop, in stored order.
    std::vector<Workspace> liveWorkspaces() const;
    // Live and permanent: the ring of the hot-key cycle.
    std::vector<Workspace> switchableWorkspaces() const;
    // Both archived states, newest archive date first; undated last; ties keep stored order.
    std::vector<Workspace> archivedWorkspaces() const;
    std::vector<Workspace> unsortedWorkspaces() const;

    // The desktop the blank desktop hands its items to.
    std::optional<QString> expandTarget() const;

    std::optional<Workspace> workspaceBoundToSpace(const QString &space) const;
    void bindWorkspace(const QString &name, const std::optional<QString> &space);

    std::vector<HotKeyAssignment> hotKeyAssignments() const;
    std::optional<HotKeyAssignment::Owner> hotKeyConflict(const HotKeySpec &spec,
                                                          const std::optional<HotKeyAssignment::Owner> &excluding) const;

    void renameCustomFilterCollection(const QString &oldName, const QString &newName);
    void renameDrainTarget(const QString &oldName, const QString &newName);
    void clearDrainRoutes(const QString &target);

    // Cleanup tasks.
    std::vector<CleanupTask> openCleanupTasks() const;
    QStringList taskColorStops(const CleanupTask &task) const;
    void addCleanupTask(const QString &name, Date date);
    void setCleanupDate(const QString &name, Date date);
    void removeCleanupMember(const QString &name);
    void renameCleanupMember(const QString &oldName, const QString &newName);
    void rescheduleCleanupTask(const QUuid &id, Date date);
    void mergeCleanupTasks(const QUuid &source, const QUuid &target);
    void splitMember(const QString &name, Date date);
    void pruneCleanupTasks();
    // A member is open while its desktop exists and is active or archived unsorted.
    bool isOpenCleanupMember(const QString &name) const;
};

} // namespace quorvane
