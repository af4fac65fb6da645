#include "Shared/AppInfo.h"

#include <QCoreApplication>
#include <QDir>
#include <QFileInfo>
#include <QGuiApplication>
#include <QIcon>

namespace quorvane {

const QString AppInfo::installedIdentifier = QStringLiteral("app.quorvane.Quorvane");

AppInfo AppInfo::installed(const QString &executablePath, const QString &desktopEntry)
{
    return AppInfo{installedIdentifier, QStringLiteral(QUORVANE_VERSION), QStringLiteral("Quorvane"), executablePath,
                   desktopEntry};
}

AppInfo AppInfo::bareExecutable()
{
    return AppInfo{QString(), QStringLiteral(QUORVANE_VERSION), QStringLiteral("Quorvane"), QString(), QString()};
}

QString AppInfo::desktopEntryFor(const QString &executablePath)
{
    const QDir bin = QFileInfo(executablePath).absoluteDir();
    return QDir::cleanPath(bin.absoluteFilePath(QStringLiteral("../share/applications/") + installedIdentifier
                                                + QStringLiteral(".desktop")));
}

AppInfo AppInfo::forExecutable(const QString &executablePath)
{
    if (executablePath.isEmpty())
        return bareExecutable();
    const QString entry = desktopEntryFor(executablePath);
    if (!QFileInfo(entry).isFile())
        return bareExecutable();
    return installed(QDir::cleanPath(QFileInfo(executablePath).absoluteFilePath()), entry);
}

AppInfo AppInfo::current()
{
    return forExecutable(QCoreApplication::applicationFilePath());
}

void useApplicationIconOnWindows()
{
    if (qGuiApp && QGuiApplication::windowIcon().isNull())
        QGuiApplication::setWindowIcon(QIcon(QStringLiteral(":/app.quorvane.Quorvane.svg")));
}

} // namespace quorvane
