#pragma once

#include "AppearanceMode.h"
#include "Date.h"
#include "DesktopCue.h"
#include "HotKeySpec.h"
#include "IconPosition.h"
#include "WorkspaceTypes.h"

#include <QJsonObject>
#include <QMap>
#include <QString>
#include <QStringList>

#include <optional>

namespace quorvane {

// One desktop of the document: its items and their icon positions, whether it is permanent
// or temporary, live or archived, how and when a temporary desktop completes itself, and its
// colour, wallpaper cue, shortcut, bound Space and light or dark mode. Identity: the name.
struct Workspace {
    QString name;
    QStringList files;
    QMap<QString, IconPosition> positions;
    WorkspaceType type = WorkspaceType::permanent;
    std::optional<HotKeySpec> hotkey;
    WorkspaceState state = WorkspaceState::active;
    std::optional<Date> archivedAt;
    std::optional<QString> archiveLocation;
    std::optional<ArchiveTimer> timer;
    std::optional<QString> drainTarget;
    bool timerDrains = false;
    ClearMode clearMode = ClearMode::keep;
    std::optional<Date> createdAt;
    std::optional<Date> lastActiveAt;
    std::optional<DesktopCue> cue;
    QString colorHex;
    bool createsCleanupTask = true;
    std::optional<QString> spaceUUID;
    AppearanceMode preferredAppearance = AppearanceMode::system;

    bool operator==(const Workspace &) const = default;

    // A new record of the given name with every other field at its default; without a
    // colour it takes the palette colour of the name. Callers set the remaining fields on
    // the result. (A record built field by field instead must fill colorHex itself.)
    static Workspace make(const QString &name, std::optional<QString> colorHex = std::nullopt);

    const QString &id() const { return name; }

    // The stored colour. A record whose colour was left empty (never the case after make or
    // fromJson) shows its name's palette colour rather than none.
    QString effectiveColorHex() const;

    // Whether the auto-completion timer has run out: only for a live temporary desktop with
    // a timer whose mode is not none, counted in whole 86400-second days from the last
    // activation (falling back to creation) for idle timers, from creation for fixed ones.
    bool archiveDue(Date now) const;

    // "name" required; absent keys take the defaults above, except "clearMode" (move with a
    // drain target, else archive with a running timer, else keep) and "colorHex" (the
    // palette colour of the name).
    static Workspace fromJson(const QJsonObject &object);
    // Every key, the optional ones only when set.
    QJsonObject toJson() const;
};

} // namespace quorvane
