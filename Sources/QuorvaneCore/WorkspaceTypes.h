#pragma once

#include "EnumNames.h"

#include <QJsonObject>

#include <cstdint>

namespace quorvane {

// Permanent desktops stay until removed; temporary ones carry the timer and clearing rules
// and are skipped by the hot-key cycle.
enum class WorkspaceType {
    permanent,
    temporary
};

// Live, or archived and waiting to be sorted, or archived and sorted.
enum class WorkspaceState {
    active,
    archivedUnsorted,
    archivedSorted
};

// What clearing a temporary desktop does: keep its items, move them into the drain target,
// or archive the desktop.
enum class ClearMode {
    keep,
    move,
    archive
};

// No timer; counted from the last activation; counted from creation.
enum class ArchiveTimerMode {
    none,
    idle,
    fixed
};

template <>
struct EnumNames<WorkspaceType> {
    static constexpr const char *names[] = {"permanent", "temporary"};
};
template <>
struct EnumNames<WorkspaceState> {
    static constexpr const char *names[] = {"active", "archivedUnsorted", "archivedSorted"};
};
template <>
struct EnumNames<ClearMode> {
    static constexpr const char *names[] = {"keep", "move", "archive"};
};
template <>
struct EnumNames<ArchiveTimerMode> {
    static constexpr const char *names[] = {"none", "idle", "fixed"};
};

// True for both archived states.
constexpr bool isArchived(WorkspaceState state)
{
    return state != WorkspaceState::active;
}

// The auto-completion timer of a temporary desktop.
struct ArchiveTimer {
    ArchiveTimerMode mode = ArchiveTimerMode::none;
    std::int64_t days = 0;

    bool operator==(const ArchiveTimer &) const = default;

    // Both keys required.
    static ArchiveTimer fromJson(const QJsonObject &object);
    QJsonObject toJson() const;
};

} // namespace quorvane
