#include "Controller/LaunchAlerts.h"

#include "Config.h"
#include "DataLock.h"
#include "Shared/Log.h"
#include "Windows/AlertPresenter.h"

#include <QCoreApplication>
#include <cstring>

namespace quorvane::launchalerts {

namespace {

void desktopsFolderUnwritable(AlertPresenter &alerts, const DataLock &lock)
{
    const QString reason = QString::fromLocal8Bit(std::strerror(lock.lastError()));
    qCCritical(Log::error()).noquote() << QStringLiteral("can't write %1: %2 — this one quits").arg(lock.path(), reason);
    Alert alert;
    alert.message = QCoreApplication::translate("LaunchAlerts", "Quorvane can't write to its desktops folder");
    alert.informativeText = QCoreApplication::translate("LaunchAlerts", "Quorvane keeps your desktops in \u201C%1\u201D in your home folder, and it "
                                                                        "can't write there: %2. It quits without changing anything. Make the "
                                                                        "folder writable, then relaunch Quorvane.")
                                .arg(Paths::rootName, reason);
    alert.buttons = {alertOkTitle()};
    alerts.present(alert);
}

} // namespace

void documentFromNewerVersion(AlertPresenter &alerts, int schemaVersion)
{
    qCCritical(Log::error()).noquote() << QStringLiteral("config.json schema %1 > %2 — read-only session")
                                              .arg(schemaVersion)
                                              .arg(Config::currentSchemaVersion);
    Alert alert;
    alert.message = QCoreApplication::translate("LaunchAlerts", "This copy of Quorvane is older than your data");
    alert.informativeText = QCoreApplication::translate(
        "LaunchAlerts",
        "Your desktops were last managed by a newer version of Quorvane. Your files and settings are safe and untouched "
        "— but switching and changes are paused until you run the newer version again (or update this one).");
    alert.buttons = {alertOkTitle()};
    alerts.present(alert);
}

void unsafeDesktop(AlertPresenter &alerts, const Paths &paths)
{
    qCCritical(Log::error()).noquote()
        << QStringLiteral("the Desktop folder %1 is the home folder or holds the desktops folder — nothing is moved")
               .arg(paths.desktop());
    Alert alert;
    alert.message = QCoreApplication::translate("LaunchAlerts", "Quorvane can't use this Desktop folder");
    alert.informativeText = QCoreApplication::translate("LaunchAlerts", "Your Desktop folder is your home folder itself, or it holds the "
                                                                        "\u201C%1\u201D folder, so switching desktops would move everything "
                                                                        "in it. Quorvane has left your files untouched and won't switch. "
                                                                        "Give your Desktop a folder of its own, then relaunch Quorvane.")
                                .arg(Paths::rootName);
    alert.buttons = {alertOkTitle()};
    alerts.present(alert);
}

void dataLockNotTaken(AlertPresenter &alerts, const Paths &paths, const DataLock &lock)
{
    if (!lock.heldElsewhere()) {
        desktopsFolderUnwritable(alerts, lock);
        return;
    }
    qCCritical(Log::app()).noquote() << QStringLiteral("another process works on %1 — this one quits").arg(paths.workspaces());
    Alert alert;
    alert.message = QCoreApplication::translate("LaunchAlerts", "Quorvane is already running");
    alert.informativeText = QCoreApplication::translate("LaunchAlerts", "Another Quorvane is managing the desktops in \u201C%1\u201D. This one "
                                                                        "quits without changing anything.")
                                .arg(Paths::rootName);
    alert.buttons = {alertOkTitle()};
    alerts.present(alert);
}

} // namespace quorvane::launchalerts
