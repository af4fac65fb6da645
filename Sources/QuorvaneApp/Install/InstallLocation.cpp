#include "Install/InstallLocation.h"

#include "IoError.h"

#include "Controller/Log.h"

#include <QLoggingCategory>

#include <cerrno>

namespace quorvane {

namespace {
const QLoggingCategory &errorLog() { return Log::error(); }
} // namespace

InstallLocation::Situation InstallLocation::situation()
{
    // The application is installed by its own prefix install; no location is a poor one yet.
    return Situation::fine;
}

QString InstallLocation::moveToApplications()
{
    throw IoError(ENOTSUP, QStringLiteral("moving the application is not available"));
}

void InstallLocation::relaunch(const QString &)
{
    qCCritical(errorLog, "relaunch after relocation failed: %s", "relaunching is not available");
}

} // namespace quorvane
