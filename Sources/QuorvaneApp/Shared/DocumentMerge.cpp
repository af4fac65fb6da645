#include "Shared/DocumentMerge.h"

#include <QJsonArray>
#include <QJsonObject>
#include <QJsonValue>
#include <QStringList>

namespace quorvane {

namespace {

QJsonValue merged(const QJsonValue &base, const QJsonValue &mine, const QJsonValue &theirs);

// A list whose every element is an object with a name: records, matched by name.
bool isNamedList(const QJsonValue &value)
{
    if (!value.isArray())
        return false;
    for (const QJsonValue &element : value.toArray()) {
        if (!element.isObject() || !element.toObject().value(QLatin1String("name")).isString())
            return false;
    }
    return true;
}

QString nameOf(const QJsonValue &record)
{
    return record.toObject().value(QLatin1String("name")).toString();
}

QJsonValue findNamed(const QJsonArray &list, const QString &name)
{
    for (const QJsonValue &element : list) {
        if (nameOf(element) == name)
            return element;
    }
    return QJsonValue(QJsonValue::Undefined);
}

QStringList namesOf(const QJsonArray &list)
{
    QStringList out;
    for (const QJsonValue &element : list)
        out.append(nameOf(element));
    return out;
}

QJsonArray mergedRecords(const QJsonArray &base, const QJsonArray &mine, const QJsonArray &theirs)
{
    const QStringList baseNames = namesOf(base);
    const QStringList mineNames = namesOf(mine);
    const QStringList theirNames = namesOf(theirs);
    // The write's order when it changed the order or the set of records, else theirs.
    QStringList order = mineNames == baseNames ? theirNames : mineNames;
    for (const QString &name : theirNames) {
        // A record only theirs added stays; one the write removed goes.
        if (!order.contains(name) && !baseNames.contains(name))
            order.append(name);
    }
    QJsonArray out;
    for (const QString &name : order) {
        const QJsonValue value = merged(findNamed(base, name), findNamed(mine, name), findNamed(theirs, name));
        if (!value.isUndefined())
            out.append(value);
    }
    return out;
}

QJsonObject mergedObject(const QJsonObject &base, const QJsonObject &mine, const QJsonObject &theirs)
{
    QJsonObject out = theirs;
    QStringList keys = base.keys();
    for (const QString &key : mine.keys()) {
        if (!keys.contains(key))
            keys.append(key);
    }
    for (const QString &key : keys) {
        const QJsonValue value = merged(base.value(key), mine.value(key), theirs.value(key));
        if (value.isUndefined())
            out.remove(key);
        else
            out.insert(key, value);
    }
    return out;
}

// Undefined stands for absent, in and out.
QJsonValue merged(const QJsonValue &base, const QJsonValue &mine, const QJsonValue &theirs)
{
    if (mine == base)
        return theirs;
    if (theirs == base || mine.isUndefined() || theirs.isUndefined())
        return mine;
    if (base.isObject() && mine.isObject() && theirs.isObject())
        return mergedObject(base.toObject(), mine.toObject(), theirs.toObject());
    if (isNamedList(base) && isNamedList(mine) && isNamedList(theirs))
        return mergedRecords(base.toArray(), mine.toArray(), theirs.toArray());
    return mine;
}

} // namespace

Config mergeDocuments(const Config &base, const Config &mine, const Config &theirs)
{
    if (mine == base)
        return theirs;
    return Config::fromJson(mergedObject(base.toJson(), mine.toJson(), theirs.toJson()));
}

} // namespace quorvane
