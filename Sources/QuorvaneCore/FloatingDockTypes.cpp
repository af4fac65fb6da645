#include "FloatingDockTypes.h"

#include "JsonCoding.h"

namespace quorvane {

FloatingDockPosition FloatingDockPosition::fromJson(const QJsonObject &object)
{
    using namespace Qt::Literals::StringLiterals;
    return FloatingDockPosition{json::toNumber(json::require(object, "nx"_L1), "nx"_L1),
                                json::toNumber(json::require(object, "ny"_L1), "ny"_L1)};
}

QJsonObject FloatingDockPosition::toJson() const
{
    return QJsonObject{{QStringLiteral("nx"), nx}, {QStringLiteral("ny"), ny}};
}

} // namespace quorvane
