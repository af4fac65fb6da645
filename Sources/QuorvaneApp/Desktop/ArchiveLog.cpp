#include "Desktop/ArchiveLog.h"

#include "Shared/Log.h"

namespace quorvane::archivelog {

namespace {
const QLoggingCategory &archiveCategory()
{
    return Log::archive();
}
const QLoggingCategory &errorCategory()
{
    return Log::error();
}
} // namespace

void archived(const QString &name, const QString &destination)
{
    qCInfo(archiveCategory).noquote() << QStringLiteral("archived %1 → %2").arg(name, destination);
}

void drained(const QString &name, const QString &destination)
{
    qCInfo(archiveCategory).noquote() << QStringLiteral("drained %1 → %2").arg(name, destination);
}

void restoreCompleted(const QString &name)
{
    qCInfo(archiveCategory).noquote() << QStringLiteral("completed the interrupted restore of %1").arg(name);
}

void autoCompletionFailed(const QString &name, const QString &description)
{
    qCCritical(errorCategory).noquote() << QStringLiteral("auto-completion of %1 failed: %2").arg(name, description);
}

void timersWait(const QString &description)
{
    qCWarning(errorCategory).noquote() << QStringLiteral("desktop timers wait, config.json can't be read: %1").arg(description);
}

void collectionNotRotated(const QString &name, const QString &description)
{
    qCWarning(errorCategory).noquote()
        << QStringLiteral("the screenshot collection %1 was archived, but no fresh one took its place: %2").arg(name, description);
}

void movedBack(const QString &from, const QString &to)
{
    qCInfo(archiveCategory).noquote() << QStringLiteral("document not saved, moved %1 back to %2").arg(from, to);
}

void moveBackFailed(const QString &from, const QString &to, const QString &description)
{
    qCCritical(errorCategory).noquote() << QStringLiteral("could not move %1 back to %2: %3").arg(from, to, description);
}

} // namespace quorvane::archivelog
