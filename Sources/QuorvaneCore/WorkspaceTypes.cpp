#include "WorkspaceTypes.h"

#include "JsonCoding.h"

namespace quorvane {

using namespace Qt::Literals::StringLiterals;

ArchiveTimer ArchiveTimer::fromJson(const QJsonObject &object)
{
    ArchiveTimer timer;
    timer.mode = json::toEnum<ArchiveTimerMode>(json::require(object, "mode"_L1), "mode"_L1);
    timer.days = json::toInteger(json::require(object, "days"_L1), "days"_L1);
    return timer;
}

QJsonObject ArchiveTimer::toJson() const
{
    return QJsonObject{{QStringLiteral("mode"), toString(mode)}, {QStringLiteral("days"), qint64(days)}};
}

} // namespace quorvane
