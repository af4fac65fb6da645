#pragma once

#include "DecodeError.h"
#include "EnumNames.h"

#include <QJsonArray>
#include <QJsonObject>
#include <QJsonValue>
#include <QString>
#include <QStringList>
#include <QUuid>

#include <cstdint>
#include <optional>
#include <vector>

// The one JSON coding of the document. Reading: a key holding null counts as absent, keys
// a record does not define are ignored, a value of the wrong type fails the whole document.
namespace quorvane::json {

// The value under key, or none when the key is absent or holds null.
std::optional<QJsonValue> find(const QJsonObject &object, QLatin1StringView key);
// The value under key; absent or null fails.
QJsonValue require(const QJsonObject &object, QLatin1StringView key);

// Conversions of one value; `what` names it in the error.
bool toBool(const QJsonValue &value, QLatin1StringView what);
qint64 toInteger(const QJsonValue &value, QLatin1StringView what);
std::uint32_t toUInt32(const QJsonValue &value, QLatin1StringView what);
double toNumber(const QJsonValue &value, QLatin1StringView what);
QString toText(const QJsonValue &value, QLatin1StringView what);
QJsonObject toObject(const QJsonValue &value, QLatin1StringView what);
QJsonArray toArray(const QJsonValue &value, QLatin1StringView what);
QStringList toStringList(const QJsonValue &value, QLatin1StringView what);
QUuid toUuid(const QJsonValue &value, QLatin1StringView what);

template <NamedEnum E>
E toEnum(const QJsonValue &value, QLatin1StringView what)
{
    const QString raw = toText(value, what);
    if (auto parsed = fromString<E>(raw))
        return *parsed;
    throw DecodeError(QStringLiteral("Cannot initialize %1 from invalid String value %2").arg(what, raw));
}

// Keyed readers: a fallback for an absent key, or none.
bool boolean(const QJsonObject &object, QLatin1StringView key, bool fallback);
qint64 integer(const QJsonObject &object, QLatin1StringView key, qint64 fallback);
double number(const QJsonObject &object, QLatin1StringView key, double fallback);
QString text(const QJsonObject &object, QLatin1StringView key, const QString &fallback);
QStringList stringList(const QJsonObject &object, QLatin1StringView key);
std::optional<QString> optionalText(const QJsonObject &object, QLatin1StringView key);
std::optional<double> optionalNumber(const QJsonObject &object, QLatin1StringView key);
std::optional<qint64> optionalInteger(const QJsonObject &object, QLatin1StringView key);

template <NamedEnum E>
E enumeration(const QJsonObject &object, QLatin1StringView key, E fallback)
{
    auto v = find(object, key);
    return v ? toEnum<E>(*v, key) : fallback;
}

template <NamedEnum E>
std::optional<E> optionalEnumeration(const QJsonObject &object, QLatin1StringView key)
{
    auto v = find(object, key);
    if (!v)
        return std::nullopt;
    return toEnum<E>(*v, key);
}

// A record decoded by T::fromJson(const QJsonObject &).
template <typename T>
std::optional<T> optionalRecord(const QJsonObject &object, QLatin1StringView key)
{
    auto v = find(object, key);
    if (!v)
        return std::nullopt;
    return T::fromJson(toObject(*v, key));
}

template <typename T>
std::vector<T> recordList(const QJsonObject &object, QLatin1StringView key)
{
    std::vector<T> out;
    auto v = find(object, key);
    if (!v)
        return out;
    const QJsonArray array = toArray(*v, key);
    out.reserve(std::size_t(array.size()));
    for (const QJsonValue &element : array)
        out.push_back(T::fromJson(toObject(element, key)));
    return out;
}

// Writing.
QJsonValue fromUuid(const QUuid &id); // 36 characters, upper case
QJsonArray fromStringList(const QStringList &list);

template <typename T>
QJsonArray fromRecordList(const std::vector<T> &records)
{
    QJsonArray array;
    for (const T &record : records)
        array.append(record.toJson());
    return array;
}

} // namespace quorvane::json
