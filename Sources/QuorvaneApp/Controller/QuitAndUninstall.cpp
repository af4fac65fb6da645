#include "Controller/QuitAndUninstall.h"

#include "Controller/AppController.h"
#include "Desktop/DesktopWatcher.h"
#include "Files/DesktopServices.h"
#include "Install/InstallLocation.h"
#include "Install/Uninstaller.h"
#include "IoError.h"
#include "Overlays/SystemAppearance.h"
#include "Shared/Log.h"
#include "Windows/AlertPresenter.h"

#include <QCoreApplication>
#include <QDateTime>

namespace quorvane {

QuitAndUninstall::QuitAndUninstall(AppController &app)
    : m_app(app)
{
}

void QuitAndUninstall::quit()
{
    if (m_app.environment().terminate)
        m_app.environment().terminate();
}

void QuitAndUninstall::uninstallRequested()
{
    const Config config = m_app.store().document();
    // Whole sentences, one after another.
    QStringList sentences{QCoreApplication::translate("QuitAndUninstall", "Every desktop comes back to your Desktop as a normal folder.")};
    if (!config.archivedWorkspaces().empty()) {
        const auto &stored = config.settings.archiveRoot;
        const QString root = stored && !stored->isEmpty() ? *stored : m_app.environment().paths.defaultArchiveRoot();
        sentences << QCoreApplication::translate("QuitAndUninstall", "Archived desktops stay where they are (%1).").arg(root);
    }
    // A copy the package manager installed is not the user's to delete: the package stays, and
    // the alert names the command that removes it.
    const bool packaged = InstallLocation::isPackaged(m_app.environment().info);
    sentences << (packaged ? QCoreApplication::translate("QuitAndUninstall", "Quorvane is then removed from autostart. Its package stays "
                                                                             "installed: remove it with \u201C%1\u201D.")
                                 .arg(InstallLocation::packageRemovalCommand())
                           : QCoreApplication::translate("QuitAndUninstall", "Quorvane is then removed from autostart and its folder is "
                                                                             "opened in your file manager so you can delete it."));
    Alert alert;
    alert.message = QCoreApplication::translate("QuitAndUninstall", "Uninstall Quorvane?");
    alert.informativeText = sentences.join(QLatin1Char(' '));
    alert.buttons = {QCoreApplication::translate("QuitAndUninstall", "Bring My Desktops Back & Uninstall"), alertCancelTitle()};
    if (m_app.environment().alerts->present(alert) != 0)
        return;
    qCCritical(Log::app()) << "uninstall requested from Settings";
    // A switch begun while the question was open (the command line, a timer) ends first: its
    // files would otherwise still be arriving in the folders the uninstall empties.
    m_app.requests().submit({QStringLiteral("uninstall"), [this] { uninstallNow(); }, QStringLiteral("uninstall")});
}

void QuitAndUninstall::uninstallNow()
{
    bringDesktopsBack();
    // The file manager is asked before the process ends, and its answer awaited (briefly): a
    // request still on its way when the process ends is lost.
    constexpr int revealWaitMs = 2000;
    const AppEnvironment &env = m_app.environment();
    if (!InstallLocation::isPackaged(env.info) && env.desktop && !env.info.executablePath.isEmpty())
        env.desktop->revealBeforeQuitting({env.info.executablePath}, revealWaitMs);
    if (env.terminate)
        env.terminate();
}

void QuitAndUninstall::appMovedToTrash()
{
    if (m_app.updater().updateInFlight()) {
        qCInfo(Log::app()) << "bundle moved to the Trash during an update — not an uninstall, ignoring";
        return;
    }
    qCCritical(Log::app()) << "app bundle moved to the Trash";
    Alert alert;
    alert.message = QCoreApplication::translate("QuitAndUninstall", "Removing Quorvane?");
    alert.informativeText = QCoreApplication::translate("QuitAndUninstall", "Quorvane was just moved to the Trash. Want your desktops placed back "
                                                                            "on the Desktop first? Each becomes a normal folder there. If you skip "
                                                                            "this, they stay in \u201C%1\u201D in your home folder.")
                                .arg(Paths::rootName);
    alert.buttons = {QCoreApplication::translate("QuitAndUninstall", "Bring My Desktops Back"), QCoreApplication::translate("QuitAndUninstall", "Leave Everything As Is")};
    if (m_app.environment().alerts->present(alert) != 0)
        return;
    m_app.requests().submit({QStringLiteral("bring the desktops back"),
                             [this] {
                                 bringDesktopsBack();
                                 if (m_app.environment().terminate)
                                     m_app.environment().terminate();
                             },
                             QStringLiteral("uninstall")});
}

void QuitAndUninstall::bringDesktopsBack()
{
    // The process ends after this: nothing asked meanwhile moves anything any more.
    m_app.requests().close();
    // Nothing may react to the Desktop filling up while the folders arrive.
    m_app.desktopWatcher().stop();
    const Uninstaller::Result result = Uninstaller(m_app.environment().paths, m_app.store()).restoreDesksToDesktop();
    // The document describes desktops that are now ordinary folders on the Desktop: kept as it
    // is, a later start would take them back as items of its active desktop. It is set aside
    // under a name that says so (before any alert lets other work run), and a later start
    // begins afresh with the Desktop as it is then.
    try {
        const QStringList retired = m_app.store().files().retire(QDateTime::currentDateTimeUtc());
        if (!retired.isEmpty())
            qCInfo(Log::app()).noquote() << QStringLiteral("state set aside: %1").arg(retired.join(QStringLiteral(", ")));
    } catch (const IoError &error) {
        qCCritical(Log::error()).noquote() << QStringLiteral("couldn't set the document aside: %1").arg(error.description());
    }
    if (!result.failed.isEmpty()) {
        // The alerts promised every desktop back: say which did not come, before quitting.
        Alert alert;
        alert.message = QCoreApplication::translate("QuitAndUninstall", "Not everything could be brought back");
        alert.informativeText = QCoreApplication::translate("QuitAndUninstall", "These are still in \u201C%1\u201D in your home folder: %2.")
                                    .arg(Paths::rootName, result.failed.join(QStringLiteral(", ")));
        alert.buttons = {alertOkTitle()};
        m_app.environment().alerts->present(alert);
    }
    Uninstaller::removeFootprint(m_app.environment().loginItem, m_app.environment().info.desktopEntry, m_app.environment().paths.home());
    // Nothing of the session's settings stays borrowed by an application that is gone.
    m_app.background().putBack();
    m_app.appearance().putBack();
}

} // namespace quorvane
