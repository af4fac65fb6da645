#include "CustomFilter.h"

#include "JsonCoding.h"

namespace quorvane {

using namespace Qt::Literals::StringLiterals;

bool CustomFilter::matches(const QString &name) const
{
    if (!enabled || pattern.isEmpty())
        return false;
    // QString::toCaseFolded applies Unicode case folding without a locale; canonical forms
    // are compared so that a composed and a decomposed "é" count as the same text.
    const QString haystack = name.normalized(QString::NormalizationForm_C).toCaseFolded();
    const QString needle = pattern.normalized(QString::NormalizationForm_C).toCaseFolded();
    return haystack.contains(needle);
}

CustomFilter CustomFilter::fromJson(const QJsonObject &object)
{
    CustomFilter f;
    if (auto id = json::find(object, "id"_L1))
        f.id = json::toUuid(*id, "id"_L1);
    f.enabled = json::boolean(object, "enabled"_L1, true);
    f.pattern = json::text(object, "pattern"_L1, QString());
    f.collection = json::text(object, "collection"_L1, QString());
    return f;
}

QJsonObject CustomFilter::toJson() const
{
    return QJsonObject{{QStringLiteral("id"), json::fromUuid(id)},
                       {QStringLiteral("enabled"), enabled},
                       {QStringLiteral("pattern"), pattern},
                       {QStringLiteral("collection"), collection}};
}

} // namespace quorvane
