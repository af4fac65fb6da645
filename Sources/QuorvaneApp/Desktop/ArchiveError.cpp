#include "Desktop/ArchiveError.h"

#include <QCoreApplication>

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
        return QCoreApplication::translate("ArchiveError", "Only temporary desktops can be archived. Set “%1” to Temporary first.").arg(payload);
    case Kind::alreadyArchived:
        return QCoreApplication::translate("ArchiveError", "“%1” is already archived.").arg(payload);
    case Kind::isActiveDesktop:
        return QCoreApplication::translate("ArchiveError", "“%1” is the active desktop. Switch to another first, then archive it.").arg(payload);
    case Kind::targetMissing:
        return QCoreApplication::translate("ArchiveError", "“%1” no longer exists, so there's nowhere to move into.").arg(payload);
    case Kind::targetNotPermanent:
        return QCoreApplication::translate("ArchiveError", "A scratch desktop can only move into a live permanent desktop. “%1” isn't one.").arg(payload);
    case Kind::filesystem:
        return payload;
    case Kind::crossVolume:
        return QCoreApplication::translate("ArchiveError", "The archive folder is on a different disk. Choose one on the same disk as your workspaces (Settings ▸ Experimental).");
    case Kind::drainIntoItself:
        return QCoreApplication::translate("ArchiveError", "A desktop can't move into itself.");
    }
    return payload;
}

} // namespace quorvane
