#include "Triggers/SpaceIdentifier.h"

#include "Workspaces/SwayWorkspaces.h"

#include <QVariantList>

namespace quorvane {

namespace {

bool isMap(const QVariant &value)
{
    return value.typeId() == QMetaType::QVariantMap;
}

// A Space's identity: its non-empty "uuid" text, otherwise "primary-space".
QString spaceIdentity(const QVariantMap &space)
{
    const QVariant uuid = space.value(QStringLiteral("uuid"));
    if (uuid.typeId() == QMetaType::QString && !uuid.toString().isEmpty())
        return uuid.toString();
    return QStringLiteral("primary-space");
}

bool isUserSpace(const QVariantMap &space)
{
    const QVariant type = space.value(QStringLiteral("type"));
    switch (type.typeId()) {
    case QMetaType::Int:
    case QMetaType::LongLong:
    case QMetaType::UInt:
    case QMetaType::ULongLong:
        return type.toLongLong() == 0;
    default:
        return false;
    }
}

QString displayIdentifier(const QVariantMap &entry)
{
    const QVariant id = entry.value(QStringLiteral("Display Identifier"));
    return id.typeId() == QMetaType::QString ? id.toString() : QString();
}

} // namespace

SpaceIdentifier::SpaceIdentifier(SpaceProvider &provider)
    : m_provider(provider)
{
}

std::optional<QVariantMap> SpaceIdentifier::mainDisplayEntry() const
{
    const auto entries = m_provider.managedDisplaySpaces();
    if (!entries || entries->isEmpty())
        return std::nullopt;
    QList<QVariantMap> maps;
    for (const QVariant &entry : *entries) {
        if (!isMap(entry))
            return std::nullopt; // not a list of maps: unreadable
        maps.append(entry.toMap());
    }
    if (maps.size() == 1)
        return maps.front();
    if (const auto uuid = m_provider.mainDisplayIdentifier()) {
        for (const QVariantMap &entry : maps) {
            if (displayIdentifier(entry) == *uuid)
                return entry;
        }
    }
    for (const QVariantMap &entry : maps) {
        if (displayIdentifier(entry) == QLatin1String("Main"))
            return entry;
    }
    return maps.front();
}

std::optional<SpaceInfo> SpaceIdentifier::activeSpace() const
{
    const auto entry = mainDisplayEntry();
    if (!entry)
        return std::nullopt;
    const QVariant current = entry->value(QStringLiteral("Current Space"));
    if (!isMap(current))
        return std::nullopt;
    const QVariantMap space = current.toMap();
    SpaceInfo info{spaceIdentity(space), isUserSpace(space), std::nullopt};
    if (info.isUser)
        info.number = userSpaceNumber(info.identity);
    if (const QVariant name = space.value(QStringLiteral("name")); name.typeId() == QMetaType::QString && !name.toString().isEmpty())
        info.name = name.toString();
    return info;
}

QStringList SpaceIdentifier::userSpaceIdentities() const
{
    const auto entry = mainDisplayEntry();
    if (!entry)
        return {};
    const QVariant spaces = entry->value(QStringLiteral("Spaces"));
    if (spaces.typeId() != QMetaType::QVariantList)
        return {};
    QStringList identities;
    for (const QVariant &space : spaces.toList()) {
        if (isMap(space) && isUserSpace(space.toMap()))
            identities.append(spaceIdentity(space.toMap()));
    }
    return identities;
}

std::optional<QString> SpaceIdentifier::spaceName(const QString &identity) const
{
    return SwayWorkspaces::nameIn(identity);
}

std::optional<int> SpaceIdentifier::userSpaceNumber(const QString &identity) const
{
    const int index = int(userSpaceIdentities().indexOf(identity));
    if (index < 0)
        return std::nullopt;
    return index + 1;
}

} // namespace quorvane
