#include "IconPosition.h"

#include "JsonCoding.h"

namespace quorvane {

IconPosition IconPosition::fromJson(const QJsonObject &object)
{
    using namespace Qt::Literals::StringLiterals;
    return IconPosition{json::toInteger(json::require(object, "x"_L1), "x"_L1),
                        json::toInteger(json::require(object, "y"_L1), "y"_L1)};
}

QJsonObject IconPosition::toJson() const
{
    return QJsonObject{{QStringLiteral("x"), qint64(x)}, {QStringLiteral("y"), qint64(y)}};
}

} // namespace quorvane
