#include "Controller/AppInfo.h"

#include <QCoreApplication>
#include <QDir>
#include <QFileInfo>

namespace quorvane {

const QString AppInfo::installedIdentifier = QStringLiteral("app.quorvane.Quorvane");

AppInfo AppInfo::installed()
{
    return AppInfo{installedIdentifier, QStringLiteral(QUORVANE_VERSION), QStringLiteral("Quorvane")};
}

AppInfo AppInfo::bareExecutable()
{
    return AppInfo{QString(), QStringLiteral(QUORVANE_VERSION), QStringLiteral("Quorvane")};
}

AppInfo AppInfo::forExecutable(const QString &executablePath)
{
    if (executablePath.isEmpty())
        return bareExecutable();
    const QDir bin = QFileInfo(executablePath).absoluteDir();
    const QString entry = bin.absoluteFilePath(QStringLiteral("../share/applications/") + installedIdentifier
                                               + QStringLiteral(".desktop"));
    return QFileInfo(entry).isFile() ? installed() : bareExecutable();
}

AppInfo AppInfo::current()
{
    return forExecutable(QCoreApplication::applicationFilePath());
}

} // namespace quorvane
