#include "Controller/QuitAndUninstall.h"

#include "AlertPresenter.h"
#include "Controller/AppController.h"
#include "Desktop/DesktopWatcher.h"
#include "DesktopServices.h"
#include "Install/Uninstaller.h"
#include "IoError.h"
#include "Overlays/SystemAppearance.h"
#include "Shared/Log.h"

#include <QCoreApplication>
#include <QDateTime>

namespace quorvane {

QuitAndUninstall::QuitAndUninstall(AppController &app)
    : m_app(app)
{
}

void QuitAndUninstall::quit()
{
    if (m_app.m_env.terminate)
        m_app.m_env.terminate();
}

void QuitAndUninstall::uninstallRequested()
{
    const Config config = m_app.m_store.document();
    QString archiveNote;
    if (!config.archivedWorkspaces().empty()) {
        const auto &stored = config.settings.archiveRoot;
        const QString root = stored && !stored->isEmpty() ? *stored : m_app.m_env.paths.defaultArchiveRoot();
        archiveNote = QStringLiteral(" Archived desktops stay where they are (") + root + QStringLiteral(").");
    }
    Alert alert;
    alert.message = QStringLiteral("Uninstall Quorvane?");
    alert.informativeText = QStringLiteral("Every desktop comes back to your Desktop as a normal folder.") + archiveNote
        + QCoreApplication::translate("QuitAndUninstall", " Quorvane is then removed from autostart and its folder is "
                                                          "opened in your file manager so you can delete it.");
    alert.buttons = {QStringLiteral("Bring My Desktops Back & Uninstall"), QStringLiteral("Cancel")};
    if (m_app.m_env.alerts->present(alert) != 0)
        return;
    qCCritical(Log::app()) << "uninstall requested from Settings";
    bringDesktopsBack();
    // The file manager is asked before the process ends, and its answer awaited (briefly): a
    // request still on its way when the process ends is lost.
    constexpr int revealWaitMs = 2000;
    if (m_app.m_env.desktop && !m_app.m_env.info.executablePath.isEmpty())
        m_app.m_env.desktop->revealBeforeQuitting({m_app.m_env.info.executablePath}, revealWaitMs);
    if (m_app.m_env.terminate)
        m_app.m_env.terminate();
}

void QuitAndUninstall::appMovedToTrash()
{
    if (m_app.m_updater.updateInFlight()) {
        qCInfo(Log::app()) << "bundle moved to the Trash during an update — not an uninstall, ignoring";
        return;
    }
    qCCritical(Log::app()) << "app bundle moved to the Trash";
    Alert alert;
    alert.message = QStringLiteral("Removing Quorvane?");
    alert.informativeText =
        QStringLiteral("Quorvane was just moved to the Trash. Want your desktops placed back on the Desktop first? Each "
                       "becomes a normal folder there. If you skip this, they stay in \u201C")
        + Paths::rootName + QStringLiteral("\u201D in your home folder.");
    alert.buttons = {QStringLiteral("Bring My Desktops Back"), QStringLiteral("Leave Everything As Is")};
    if (m_app.m_env.alerts->present(alert) != 0)
        return;
    bringDesktopsBack();
    if (m_app.m_env.terminate)
        m_app.m_env.terminate();
}

void QuitAndUninstall::bringDesktopsBack()
{
    // Nothing may react to the Desktop filling up while the folders arrive.
    if (m_app.m_desktopWatcher)
        m_app.m_desktopWatcher->stop();
    const Uninstaller::Result result = Uninstaller(m_app.m_env.paths, m_app.m_store).restoreDesksToDesktop();
    // The document describes desktops that are now ordinary folders on the Desktop: kept as it
    // is, a later start would take them back as items of its active desktop. It is set aside
    // under a name that says so (before any alert lets other work run), and a later start
    // begins afresh with the Desktop as it is then.
    try {
        const QStringList retired = m_app.m_store.files().retire(QDateTime::currentDateTimeUtc());
        if (!retired.isEmpty())
            qCInfo(Log::app()).noquote() << QStringLiteral("state set aside: %1").arg(retired.join(QStringLiteral(", ")));
    } catch (const IoError &error) {
        qCCritical(Log::error()).noquote() << QStringLiteral("couldn't set the document aside: %1").arg(error.description());
    }
    if (!result.failed.isEmpty()) {
        // The alerts promised every desktop back: say which did not come, before quitting.
        Alert alert;
        alert.message = QStringLiteral("Not everything could be brought back");
        alert.informativeText = QStringLiteral("These are still in \u201C") + Paths::rootName
            + QStringLiteral("\u201D in your home folder: ") + result.failed.join(QStringLiteral(", "))
            + QStringLiteral(".");
        alert.buttons = {QStringLiteral("OK")};
        m_app.m_env.alerts->present(alert);
    }
    Uninstaller::removeFootprint(m_app.m_env.loginItem, m_app.m_env.info.desktopEntry, m_app.m_env.paths.home());
    // Nothing of the session's settings stays borrowed by an application that is gone.
    m_app.m_background.putBack();
    m_app.appearance().putBack();
}

} // namespace quorvane
