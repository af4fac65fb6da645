#include "SettingsLedger.h"

#include "RegularFile.h"

#include <QFile>
#include <QJsonArray>
#include <QJsonDocument>
#include <QJsonObject>

#include <algorithm>
#include <cerrno>
#include <cstring>
#include <unistd.h>

namespace quorvane {

namespace {

// A ledger holds a handful of settings; anything larger is not one of ours.
constexpr qint64 sizeLimit = 1 << 20;

// Each value keeps its type through the file: {"s": text}, {"i": integer}, {"b": Boolean},
// {"d": number} or {"a": [values]}.
QJsonValue typed(const QVariant &value)
{
    switch (value.typeId()) {
    case QMetaType::Int:
    case QMetaType::UInt:
    case QMetaType::LongLong:
    case QMetaType::ULongLong:
        return QJsonObject{{QStringLiteral("i"), value.toLongLong()}};
    case QMetaType::Bool:
        return QJsonObject{{QStringLiteral("b"), value.toBool()}};
    case QMetaType::Double:
    case QMetaType::Float:
        return QJsonObject{{QStringLiteral("d"), value.toDouble()}};
    case QMetaType::QVariantList: {
        QJsonArray items;
        for (const QVariant &item : value.toList())
            items.append(typed(item));
        return QJsonObject{{QStringLiteral("a"), items}};
    }
    default:
        return QJsonObject{{QStringLiteral("s"), value.toString()}};
    }
}

} // namespace

SettingsLedger::Entry SettingsLedger::Entry::writing(const QVariant &value) const
{
    Entry next = *this;
    next.written = value;
    if (written == value)
        return next;
    next.earlier.removeAll(written);
    next.earlier.removeAll(value);
    if (written != user)
        next.earlier.append(written);
    while (next.earlier.size() > earlierLimit)
        next.earlier.removeFirst();
    return next;
}

SettingsLedger::SettingsLedger(QString file)
    : m_file(std::move(file))
{
}

QVariant SettingsLedger::valueFromJson(const QJsonValue &json)
{
    const QJsonObject object = json.toObject();
    if (object.contains(QStringLiteral("i")))
        return QVariant(static_cast<int>(object.value(QStringLiteral("i")).toInteger()));
    if (object.contains(QStringLiteral("b")))
        return QVariant(object.value(QStringLiteral("b")).toBool());
    if (object.contains(QStringLiteral("d")))
        return QVariant(object.value(QStringLiteral("d")).toDouble());
    if (object.contains(QStringLiteral("a"))) {
        QVariantList items;
        for (const QJsonValue &item : object.value(QStringLiteral("a")).toArray())
            items.append(valueFromJson(item));
        return items;
    }
    return QVariant(object.value(QStringLiteral("s")).toString());
}

SettingsLedger SettingsLedger::inStore(const QString &storeFolder)
{
    return SettingsLedger(storeFolder + QLatin1Char('/') + fileName);
}

std::optional<std::vector<SettingsLedger::Entry>> SettingsLedger::entries() const
{
    // Only a regular file of a sane size is read; anything else in its place is not a ledger.
    const RegularFile::Content content = RegularFile::read(m_file, sizeLimit);
    if (content.missing())
        return std::vector<Entry>{};
    if (!content.bytes)
        return std::nullopt;
    QJsonParseError error{};
    const QJsonDocument document = QJsonDocument::fromJson(*content.bytes, &error);
    if (error.error != QJsonParseError::NoError || !document.isObject()
        || !document.object().value(QStringLiteral("entries")).isArray())
        return std::nullopt;
    std::vector<Entry> entries;
    for (const QJsonValue &value : document.object().value(QStringLiteral("entries")).toArray()) {
        const QJsonObject object = value.toObject();
        if (!object.value(QStringLiteral("facility")).isString() || !object.value(QStringLiteral("setting")).isString()
            || !object.value(QStringLiteral("written")).isObject())
            return std::nullopt;
        Entry entry{object.value(QStringLiteral("facility")).toString(), object.value(QStringLiteral("setting")).toString(), {}, valueFromJson(object.value(QStringLiteral("written")))};
        if (object.contains(QStringLiteral("user")))
            entry.user = valueFromJson(object.value(QStringLiteral("user")));
        for (const QJsonValue &earlier : object.value(QStringLiteral("earlier")).toArray())
            entry.earlier.append(valueFromJson(earlier));
        entries.push_back(std::move(entry));
    }
    return entries;
}

std::optional<std::vector<SettingsLedger::Entry>> SettingsLedger::entries(const QString &facility) const
{
    auto all = entries();
    if (!all)
        return std::nullopt;
    std::erase_if(*all, [&facility](const Entry &entry) { return entry.facility != facility; });
    return all;
}

std::optional<QString> SettingsLedger::keep(const Entry &entry)
{
    auto all = entries();
    if (!all)
        return QStringLiteral("the ledger %1 cannot be read").arg(m_file);
    const auto same = std::find_if(all->begin(), all->end(), [&entry](const Entry &kept) {
        return kept.facility == entry.facility && kept.setting == entry.setting;
    });
    if (same != all->end())
        *same = entry;
    else
        all->push_back(entry);
    return save(*all);
}

std::optional<QString> SettingsLedger::replace(const QString &facility, const std::vector<Entry> &entries)
{
    auto all = this->entries();
    if (!all)
        return QStringLiteral("the ledger %1 cannot be read").arg(m_file);
    std::erase_if(*all, [&facility](const Entry &entry) { return entry.facility == facility; });
    all->insert(all->end(), entries.begin(), entries.end());
    return save(*all);
}

std::optional<QString> SettingsLedger::forget(const QString &facility, const QString &setting)
{
    auto all = entries();
    if (!all)
        return QStringLiteral("the ledger %1 cannot be read").arg(m_file);
    const auto before = all->size();
    std::erase_if(*all, [&](const Entry &entry) { return entry.facility == facility && entry.setting == setting; });
    if (all->size() == before)
        return std::nullopt;
    return save(*all);
}

std::optional<QString> SettingsLedger::save(const std::vector<Entry> &entries)
{
    if (entries.empty()) {
        // Nothing borrowed: no file.
        if (::unlink(QFile::encodeName(m_file).constData()) != 0 && errno != ENOENT)
            return QStringLiteral("cannot remove %1: %2").arg(m_file, QString::fromLocal8Bit(std::strerror(errno)));
        return std::nullopt;
    }
    QJsonArray array;
    for (const Entry &entry : entries) {
        QJsonObject object{{QStringLiteral("facility"), entry.facility},
                           {QStringLiteral("setting"), entry.setting},
                           {QStringLiteral("written"), typed(entry.written)}};
        if (entry.user.isValid())
            object.insert(QStringLiteral("user"), typed(entry.user));
        if (!entry.earlier.isEmpty()) {
            QJsonArray earlier;
            for (const QVariant &value : entry.earlier)
                earlier.append(typed(value));
            object.insert(QStringLiteral("earlier"), earlier);
        }
        array.append(object);
    }
    return RegularFile::write(m_file, QJsonDocument(QJsonObject{{QStringLiteral("entries"), array}}).toJson(QJsonDocument::Indented));
}

} // namespace quorvane
