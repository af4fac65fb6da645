#include "Desktop/ArchiveError.h"

namespace quorvane {

ArchiveError::ArchiveError(Kind kind, const QString &payload)
    : std::runtime_error(describe(kind, payload).toStdString())
    , m_kind(kind)
    , m_payload(payload)
    , m_description(describe(kind, payload))
{
}

QString ArchiveError::describe(Kind kind, const QString &payload)
{
    switch (kind) {
    case Kind::notTemporary:
        return QStringLiteral("Only temporary desktops can be archived. Set “") + payload + QStringLiteral("” to Temporary first.");
    case Kind::alreadyArchived:
        return QStringLiteral("“") + payload + QStringLiteral("” is already archived.");
    case Kind::isActiveDesktop:
        return QStringLiteral("“") + payload + QStringLiteral("” is the active desktop. Switch to another first, then archive it.");
    case Kind::targetMissing:
        return QStringLiteral("“") + payload + QStringLiteral("” no longer exists, so there's nowhere to move into.");
    case Kind::targetNotPermanent:
        return QStringLiteral("A scratch desktop can only move into a live permanent desktop. “") + payload + QStringLiteral("” isn't one.");
    case Kind::filesystem:
        return payload;
    case Kind::crossVolume:
        return QStringLiteral("The archive folder is on a different disk. Choose one on the same disk as your workspaces (Settings ▸ Experimental).");
    case Kind::drainIntoItself:
        return QStringLiteral("A desktop can't move into itself.");
    }
    return payload;
}

} // namespace quorvane
