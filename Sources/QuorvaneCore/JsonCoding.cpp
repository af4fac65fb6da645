#include "JsonCoding.h"

#include <cmath>
#include <limits>

namespace quorvane::json {

namespace {

[[noreturn]] void mismatch(QLatin1StringView what, const char *expected)
{
    throw DecodeError(QStringLiteral("Expected to decode %1 for key %2 but found another type")
                          .arg(QLatin1StringView(expected), what));
}

} // namespace

std::optional<QJsonValue> find(const QJsonObject &object, QLatin1StringView key)
{
    const auto it = object.constFind(key);
    if (it == object.constEnd() || it->isNull() || it->isUndefined())
        return std::nullopt;
    return *it;
}

QJsonValue require(const QJsonObject &object, QLatin1StringView key)
{
    if (auto v = find(object, key))
        return *v;
    throw DecodeError(QStringLiteral("No value associated with key %1").arg(key));
}

bool toBool(const QJsonValue &value, QLatin1StringView what)
{
    if (!value.isBool())
        mismatch(what, "Bool");
    return value.toBool();
}

qint64 toInteger(const QJsonValue &value, QLatin1StringView what)
{
    if (!value.isDouble())
        mismatch(what, "Int");
    const double d = value.toDouble();
    // An integer held exactly keeps its precision; a number with a fraction or outside the
    // range of a 64-bit integer fails.
    if (!std::isfinite(d) || std::trunc(d) != d || d < -9223372036854775808.0 || d >= 9223372036854775808.0)
        throw DecodeError(QStringLiteral("Number for key %1 does not fit an integer").arg(what));
    return value.toInteger(qint64(d));
}

std::uint32_t toUInt32(const QJsonValue &value, QLatin1StringView what)
{
    const qint64 v = toInteger(value, what);
    if (v < 0 || v > qint64(std::numeric_limits<std::uint32_t>::max()))
        throw DecodeError(QStringLiteral("Number for key %1 does not fit an unsigned 32-bit integer").arg(what));
    return std::uint32_t(v);
}

double toNumber(const QJsonValue &value, QLatin1StringView what)
{
    if (!value.isDouble())
        mismatch(what, "Double");
    return value.toDouble();
}

QString toText(const QJsonValue &value, QLatin1StringView what)
{
    if (!value.isString())
        mismatch(what, "String");
    return value.toString();
}

QJsonObject toObject(const QJsonValue &value, QLatin1StringView what)
{
    if (!value.isObject())
        mismatch(what, "Dictionary");
    return value.toObject();
}

QJsonArray toArray(const QJsonValue &value, QLatin1StringView what)
{
    if (!value.isArray())
        mismatch(what, "Array");
    return value.toArray();
}

QStringList toStringList(const QJsonValue &value, QLatin1StringView what)
{
    const QJsonArray array = toArray(value, what);
    QStringList out;
    out.reserve(array.size());
    for (const QJsonValue &element : array)
        out.append(toText(element, what));
    return out;
}

QUuid toUuid(const QJsonValue &value, QLatin1StringView what)
{
    const QString raw = toText(value, what);
    // Exactly the 36-character 8-4-4-4-12 form, in either case.
    const QUuid id = raw.size() == 36 ? QUuid::fromString(raw) : QUuid();
    if (id.isNull() && raw != QLatin1StringView("00000000-0000-0000-0000-000000000000"))
        throw DecodeError(QStringLiteral("Attempted to decode UUID from invalid UUID string for key %1").arg(what));
    return id;
}

bool boolean(const QJsonObject &object, QLatin1StringView key, bool fallback)
{
    auto v = find(object, key);
    return v ? toBool(*v, key) : fallback;
}

qint64 integer(const QJsonObject &object, QLatin1StringView key, qint64 fallback)
{
    auto v = find(object, key);
    return v ? toInteger(*v, key) : fallback;
}

double number(const QJsonObject &object, QLatin1StringView key, double fallback)
{
    auto v = find(object, key);
    return v ? toNumber(*v, key) : fallback;
}

QString text(const QJsonObject &object, QLatin1StringView key, const QString &fallback)
{
    auto v = find(object, key);
    return v ? toText(*v, key) : fallback;
}

QStringList stringList(const QJsonObject &object, QLatin1StringView key)
{
    auto v = find(object, key);
    return v ? toStringList(*v, key) : QStringList();
}

std::optional<QString> optionalText(const QJsonObject &object, QLatin1StringView key)
{
    auto v = find(object, key);
    if (!v)
        return std::nullopt;
    return toText(*v, key);
}

std::optional<double> optionalNumber(const QJsonObject &object, QLatin1StringView key)
{
    auto v = find(object, key);
    if (!v)
        return std::nullopt;
    return toNumber(*v, key);
}

std::optional<qint64> optionalInteger(const QJsonObject &object, QLatin1StringView key)
{
    auto v = find(object, key);
    if (!v)
        return std::nullopt;
    return toInteger(*v, key);
}

QJsonValue fromUuid(const QUuid &id)
{
    return id.toString(QUuid::WithoutBraces).toUpper();
}

QJsonArray fromStringList(const QStringList &list)
{
    return QJsonArray::fromStringList(list);
}

} // namespace quorvane::json
