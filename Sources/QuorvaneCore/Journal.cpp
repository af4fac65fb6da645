#include "Journal.h"

#include "JsonCoding.h"

namespace quorvane {

using namespace Qt::Literals::StringLiterals;

Journal Journal::fromJson(const QJsonObject &object)
{
    Journal j;
    j.fromWorkspace = json::toText(json::require(object, "fromWorkspace"_L1), "fromWorkspace"_L1);
    j.toWorkspace = json::toText(json::require(object, "toWorkspace"_L1), "toWorkspace"_L1);
    j.outgoing = json::toStringList(json::require(object, "outgoing"_L1), "outgoing"_L1);
    j.incoming = json::toStringList(json::require(object, "incoming"_L1), "incoming"_L1);
    return j;
}

QJsonObject Journal::toJson() const
{
    return QJsonObject{{QStringLiteral("fromWorkspace"), fromWorkspace},
                       {QStringLiteral("toWorkspace"), toWorkspace},
                       {QStringLiteral("outgoing"), json::fromStringList(outgoing)},
                       {QStringLiteral("incoming"), json::fromStringList(incoming)}};
}

} // namespace quorvane
