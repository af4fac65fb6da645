#include "Windows/DesktopPortal.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QLibraryInfo>

namespace quorvane {

namespace {

constexpr qint64 largestPortalFile = 64 * 1024;

bool offersFileChooser(const QString &portalFile)
{
    QFile file(portalFile);
    if (!QFileInfo(portalFile).isFile() || file.size() > largestPortalFile || !file.open(QIODevice::ReadOnly))
        return false;
    // "Interfaces=org.freedesktop.impl.portal.FileChooser;org.freedesktop.impl.portal.…;"
    for (const QByteArray &line : file.readAll().split('\n')) {
        const QByteArray trimmed = line.trimmed();
        if (!trimmed.startsWith("Interfaces="))
            continue;
        for (const QByteArray &name : trimmed.mid(11).split(';')) {
            if (name.trimmed() == "org.freedesktop.impl.portal.FileChooser")
                return true;
        }
    }
    return false;
}

} // namespace

bool fileChooserPortalInstalled(const QStringList &dataDirs)
{
    bool service = false;
    bool backend = false;
    for (const QString &dir : dataDirs) {
        service = service || QFileInfo(dir + QStringLiteral("/dbus-1/services/org.freedesktop.portal.Desktop.service")).isFile();
        const QDir portals(dir + QStringLiteral("/xdg-desktop-portal/portals"));
        // The suffix is compared by hand, as the portal itself reads it: a name filter would load
        // the regular-expression library at every start.
        for (const QString &name : portals.entryList(QDir::Files)) {
            if (name.endsWith(QLatin1String(".portal")))
                backend = backend || offersFileChooser(portals.filePath(name));
        }
    }
    return service && backend;
}

QStringList xdgDataDirs()
{
    QStringList dirs;
    const QString home = qEnvironmentVariable("XDG_DATA_HOME");
    dirs << (home.isEmpty() ? QDir::homePath() + QStringLiteral("/.local/share") : home);
    const QString system = qEnvironmentVariable("XDG_DATA_DIRS");
    dirs << (system.isEmpty() ? QStringList{QStringLiteral("/usr/local/share"), QStringLiteral("/usr/share")}
                              : system.split(QLatin1Char(':'), Qt::SkipEmptyParts));
    return dirs;
}

bool gtkDesktop(const QString &currentDesktop)
{
    static const QStringList gtkDesktops{QStringLiteral("GNOME"), QStringLiteral("X-CINNAMON"), QStringLiteral("UNITY"),
                                         QStringLiteral("MATE"), QStringLiteral("XFCE"), QStringLiteral("LXDE")};
    for (const QString &name : currentDesktop.split(QLatin1Char(':'), Qt::SkipEmptyParts)) {
        if (gtkDesktops.contains(name.trimmed().toUpper()))
            return true;
    }
    return false;
}

bool portalChoosers()
{
    if (qEnvironmentVariableIsSet("QT_QPA_PLATFORMTHEME"))
        return false;
    const QString themes = QLibraryInfo::path(QLibraryInfo::PluginsPath) + QStringLiteral("/platformthemes/");
    if (gtkDesktop(qEnvironmentVariable("XDG_CURRENT_DESKTOP")) && QFileInfo(themes + QStringLiteral("libqgtk3.so")).isFile())
        return false;
    return fileChooserPortalInstalled(xdgDataDirs());
}

} // namespace quorvane
