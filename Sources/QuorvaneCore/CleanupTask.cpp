#include "CleanupTask.h"

#include "JsonCoding.h"

namespace quorvane {

using namespace Qt::Literals::StringLiterals;

CleanupTask CleanupTask::fromJson(const QJsonObject &object)
{
    CleanupTask t;
    if (auto id = json::find(object, "id"_L1))
        t.id = json::toUuid(*id, "id"_L1);
    t.members = json::stringList(object, "members"_L1);
    t.date = json::optionalNumber(object, "date"_L1).value_or(dateNow());
    return t;
}

QJsonObject CleanupTask::toJson() const
{
    return QJsonObject{{QStringLiteral("id"), json::fromUuid(id)},
                       {QStringLiteral("members"), json::fromStringList(members)},
                       {QStringLiteral("date"), date}};
}

} // namespace quorvane
