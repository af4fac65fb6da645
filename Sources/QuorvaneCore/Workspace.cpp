#include "Workspace.h"

#include "DesktopPalette.h"
#include "JsonCoding.h"

#include <utility>

namespace quorvane {

using namespace Qt::Literals::StringLiterals;

namespace {

constexpr double secondsPerDay = 86400.0;

QMap<QString, IconPosition> readPositions(const QJsonObject &object)
{
    QMap<QString, IconPosition> positions;
    const auto v = json::find(object, "positions"_L1);
    if (!v)
        return positions;
    const QJsonObject map = json::toObject(*v, "positions"_L1);
    for (auto it = map.constBegin(); it != map.constEnd(); ++it)
        positions.insert(it.key(), IconPosition::fromJson(json::toObject(it.value(), "positions"_L1)));
    return positions;
}

} // namespace

Workspace Workspace::make(const QString &name, std::optional<QString> colorHex)
{
    Workspace w;
    w.name = name;
    w.colorHex = colorHex ? std::move(*colorHex) : DesktopPalette::colorFor(name);
    return w;
}

QString Workspace::effectiveColorHex() const
{
    return colorHex.isEmpty() ? DesktopPalette::colorFor(name) : colorHex;
}

bool Workspace::archiveDue(Date now) const
{
    if (state != WorkspaceState::active || type != WorkspaceType::temporary || !timer
        || timer->mode == ArchiveTimerMode::none)
        return false;
    std::optional<Date> reference;
    if (timer->mode == ArchiveTimerMode::idle)
        reference = lastActiveAt ? lastActiveAt : createdAt;
    else
        reference = createdAt;
    if (!reference)
        return false;
    // In floating point: a huge day count cannot overflow.
    return now >= *reference + double(timer->days) * secondsPerDay;
}

Workspace Workspace::fromJson(const QJsonObject &object)
{
    Workspace w;
    w.name = json::toText(json::require(object, "name"_L1), "name"_L1);
    w.files = json::stringList(object, "files"_L1);
    w.positions = readPositions(object);
    w.type = json::enumeration(object, "type"_L1, WorkspaceType::permanent);
    w.hotkey = json::optionalRecord<HotKeySpec>(object, "hotkey"_L1);
    w.state = json::enumeration(object, "state"_L1, WorkspaceState::active);
    w.archivedAt = json::optionalNumber(object, "archivedAt"_L1);
    w.archiveLocation = json::optionalText(object, "archiveLocation"_L1);
    w.timer = json::optionalRecord<ArchiveTimer>(object, "timer"_L1);
    w.drainTarget = json::optionalText(object, "drainTarget"_L1);
    w.timerDrains = json::boolean(object, "timerDrains"_L1, false);
    if (const auto mode = json::optionalEnumeration<ClearMode>(object, "clearMode"_L1))
        w.clearMode = *mode;
    else if (w.drainTarget)
        w.clearMode = ClearMode::move;
    else if (w.timer && w.timer->mode != ArchiveTimerMode::none)
        w.clearMode = ClearMode::archive;
    else
        w.clearMode = ClearMode::keep;
    w.createdAt = json::optionalNumber(object, "createdAt"_L1);
    w.lastActiveAt = json::optionalNumber(object, "lastActiveAt"_L1);
    w.cue = json::optionalRecord<DesktopCue>(object, "cue"_L1);
    w.colorHex = json::optionalText(object, "colorHex"_L1).value_or(DesktopPalette::colorFor(w.name));
    w.createsCleanupTask = json::boolean(object, "createsCleanupTask"_L1, true);
    w.spaceUUID = json::optionalText(object, "spaceUUID"_L1);
    w.preferredAppearance = json::enumeration(object, "preferredAppearance"_L1, AppearanceMode::system);
    return w;
}

QJsonObject Workspace::toJson() const
{
    QJsonObject o;
    o.insert(QStringLiteral("name"), name);
    o.insert(QStringLiteral("files"), json::fromStringList(files));
    QJsonObject map;
    for (auto it = positions.constBegin(); it != positions.constEnd(); ++it)
        map.insert(it.key(), it.value().toJson());
    o.insert(QStringLiteral("positions"), map);
    o.insert(QStringLiteral("type"), toString(type));
    if (hotkey)
        o.insert(QStringLiteral("hotkey"), hotkey->toJson());
    o.insert(QStringLiteral("state"), toString(state));
    if (archivedAt)
        o.insert(QStringLiteral("archivedAt"), *archivedAt);
    if (archiveLocation)
        o.insert(QStringLiteral("archiveLocation"), *archiveLocation);
    if (timer)
        o.insert(QStringLiteral("timer"), timer->toJson());
    if (drainTarget)
        o.insert(QStringLiteral("drainTarget"), *drainTarget);
    o.insert(QStringLiteral("timerDrains"), timerDrains);
    o.insert(QStringLiteral("clearMode"), toString(clearMode));
    if (createdAt)
        o.insert(QStringLiteral("createdAt"), *createdAt);
    if (lastActiveAt)
        o.insert(QStringLiteral("lastActiveAt"), *lastActiveAt);
    if (cue)
        o.insert(QStringLiteral("cue"), cue->toJson());
    o.insert(QStringLiteral("colorHex"), colorHex);
    o.insert(QStringLiteral("createsCleanupTask"), createsCleanupTask);
    if (spaceUUID)
        o.insert(QStringLiteral("spaceUUID"), *spaceUUID);
    o.insert(QStringLiteral("preferredAppearance"), toString(preferredAppearance));
    return o;
}

} // namespace quorvane
