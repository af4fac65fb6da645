#include "Appearance.h"

#include "JsonCoding.h"

namespace quorvane {

using namespace Qt::Literals::StringLiterals;

const QString Appearance::defaultAccentHex = QStringLiteral("#C79A5B");

Appearance Appearance::fromJson(const QJsonObject &object)
{
    Appearance a;
    a.mode = json::enumeration(object, "mode"_L1, AppearanceMode::system);
    const auto slot = json::optionalInteger(object, "accentSlot"_L1);
    if (!slot) {
        a.accentHex = json::optionalText(object, "accentHex"_L1);
        return a;
    }
    const QStringList custom = json::stringList(object, "customAccents"_L1);
    if (*slot == 0)
        a.accentHex = std::nullopt;
    else if (*slot >= 1 && *slot <= custom.size())
        a.accentHex = custom.at(qsizetype(*slot - 1));
    else
        a.accentHex = defaultAccentHex;
    return a;
}

QJsonObject Appearance::toJson() const
{
    QJsonObject o{{QStringLiteral("mode"), toString(mode)}};
    if (accentHex)
        o.insert(QStringLiteral("accentHex"), *accentHex);
    return o;
}

} // namespace quorvane
