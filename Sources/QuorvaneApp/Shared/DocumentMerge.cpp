#include "Shared/DocumentMerge.h"

#include <QJsonArray>
#include <QJsonDocument>
#include <QJsonObject>
#include <QJsonValue>
#include <QStringList>

namespace quorvane {

namespace {

// Where the merge is in the document, and where it tells of the parts both writers changed.
struct Context {
    QString where;
    QList<MergeConflict> *conflicts;

    Context at(const QString &part) const
    {
        return {where.isEmpty() ? part : where + QLatin1Char('.') + part, conflicts};
    }
    Context record(const QString &name) const { return {where + QLatin1Char('[') + name + QLatin1Char(']'), conflicts}; }
};

QJsonValue merged(const QJsonValue &base, const QJsonValue &mine, const QJsonValue &theirs, const Context &context);

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

QJsonArray mergedRecords(const QJsonArray &base, const QJsonArray &mine, const QJsonArray &theirs, const Context &context)
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
    // A record theirs removed stays removed; a change the write made to it goes with it.
    for (const QString &name : mineNames) {
        const QJsonValue record = findNamed(mine, name);
        if (context.conflicts && !order.contains(name) && baseNames.contains(name) && record != findNamed(base, name))
            context.conflicts->append(MergeConflict{context.record(name).where, QJsonValue(QJsonValue::Undefined), record});
    }
    QJsonArray out;
    for (const QString &name : order) {
        const QJsonValue value =
            merged(findNamed(base, name), findNamed(mine, name), findNamed(theirs, name), context.record(name));
        if (!value.isUndefined())
            out.append(value);
    }
    return out;
}

QJsonObject mergedObject(const QJsonObject &base, const QJsonObject &mine, const QJsonObject &theirs,
                         const Context &context)
{
    QJsonObject out = theirs;
    QStringList keys = base.keys();
    for (const QString &key : mine.keys()) {
        if (!keys.contains(key))
            keys.append(key);
    }
    for (const QString &key : keys) {
        const QJsonValue value = merged(base.value(key), mine.value(key), theirs.value(key), context.at(key));
        if (value.isUndefined())
            out.remove(key);
        else
            out.insert(key, value);
    }
    return out;
}

// Undefined stands for absent, in and out.
QJsonValue merged(const QJsonValue &base, const QJsonValue &mine, const QJsonValue &theirs, const Context &context)
{
    if (mine == base)
        return theirs;
    if (theirs == base || mine == theirs)
        return mine;
    if (base.isObject() && mine.isObject() && theirs.isObject())
        return mergedObject(base.toObject(), mine.toObject(), theirs.toObject(), context);
    if (isNamedList(base) && isNamedList(mine) && isNamedList(theirs))
        return mergedRecords(base.toArray(), mine.toArray(), theirs.toArray(), context);
    if (context.conflicts)
        context.conflicts->append(MergeConflict{context.where, mine, theirs});
    return mine;
}

QString shown(const QJsonValue &value)
{
    constexpr qsizetype longest = 80;
    QString text;
    if (value.isUndefined())
        return QStringLiteral("nothing (removed)");
    if (value.isObject())
        text = QString::fromUtf8(QJsonDocument(value.toObject()).toJson(QJsonDocument::Compact));
    else if (value.isArray())
        text = QString::fromUtf8(QJsonDocument(value.toArray()).toJson(QJsonDocument::Compact));
    else
        text = QString::fromUtf8(QJsonDocument(QJsonArray{value}).toJson(QJsonDocument::Compact)).mid(1).chopped(1);
    return text.size() > longest ? text.left(longest) + QStringLiteral("…") : text;
}

} // namespace

QString MergeConflict::text() const
{
    return QStringLiteral("%1: kept %2, dropped %3").arg(where, shown(kept), shown(dropped));
}

Config mergeDocuments(const Config &base, const Config &mine, const Config &theirs, QList<MergeConflict> *conflicts)
{
    if (mine == base)
        return theirs;
    return Config::fromJson(mergedObject(base.toJson(), mine.toJson(), theirs.toJson(), Context{QString(), conflicts}));
}

} // namespace quorvane
