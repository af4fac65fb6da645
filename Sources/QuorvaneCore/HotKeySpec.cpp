#include "HotKeySpec.h"

#include "JsonCoding.h"

namespace quorvane {

HotKeySpec HotKeySpec::fromJson(const QJsonObject &object)
{
    using namespace Qt::Literals::StringLiterals;
    HotKeySpec spec;
    spec.keyCode = json::toUInt32(json::require(object, "keyCode"_L1), "keyCode"_L1);
    spec.modifiers = json::toUInt32(json::require(object, "modifiers"_L1), "modifiers"_L1);
    return spec;
}

QJsonObject HotKeySpec::toJson() const
{
    return QJsonObject{{QStringLiteral("keyCode"), qint64(keyCode)}, {QStringLiteral("modifiers"), qint64(modifiers)}};
}

} // namespace quorvane
