#include "Controller/ControllerHarness.h"
#include "Fakes/FakeLoginItem.h"
#include "Fakes/RecordingDesktopServices.h"
#include "Settings/SettingsModel.h"

#include <QCoreApplication>
#include <QElapsedTimer>
#include <QFileInfo>

using namespace quorvane;
using quorvane::test::LogCapture;
using quorvane::test::readFile;
using quorvane::test::writeFile;

namespace {

const QString trashInformative = QStringLiteral(
    "Quorvane was just moved to the Trash. Want your desktops placed back on the Desktop first? Each becomes a normal "
    "folder there. If you skip this, they stay in \u201CQuorVane Desktops\u201D in your home folder.");

struct Uninstall : test::ControllerHarness {
    test::FakeLoginItem loginItem;
    test::RecordingDesktopServices fileManager;

    AppEnvironment uninstallEnvironment()
    {
        AppEnvironment env = environment();
        env.loginItem = &loginItem;
        env.desktop = &fileManager;
        return env;
    }
    // Work is current (its items on the Desktop), Photos holds a file, Old is archived.
    void layOutThree()
    {
        Config config = layOut({{"Work", {"w.txt"}}, {"Photos", {"p.jpg"}}});
        Workspace old = Workspace::make("Old");
        old.state = WorkspaceState::archivedUnsorted;
        old.archiveLocation = paths().defaultArchiveRoot() + "/Old";
        writeFile(*old.archiveLocation + "/old.txt", "old");
        config.workspaces.insert(config.workspaces.end() - 1, old);
        save(config);
        loginItem.enabled = true;
    }
    QStringList retiredNames() const
    {
        return QDir(paths().store()).entryList({"config.uninstalled-*.json"}, QDir::Files | QDir::System);
    }
    QString settingsText(const QString &note) const
    {
        return QStringLiteral("Every desktop comes back to your Desktop as a normal folder.") + note
            + QStringLiteral(" Quorvane is then removed from autostart and its folder is opened in your file manager so you "
                             "can delete it.");
    }
};

} // namespace

TEST_F(Uninstall, TheTrashOfferAsksThenBringsTheDesktopsBackRemovesTheLoginItemAndQuits)
{
    layOutThree();
    const QByteArray before = configBytes();
    AppController controller(uninstallEnvironment());
    session.dark = true;
    session.users = false; // a dark desktop borrowed the session's mode
    alerts.answers = {1};  // "Leave Everything As Is": nothing at all
    controller.quitAndUninstall().appMovedToTrash();
    EXPECT_TRUE(session.dark);
    ASSERT_EQ(alerts.shown.size(), 1u);
    EXPECT_EQ(alerts.shown[0].message, "Removing Quorvane?");
    EXPECT_EQ(alerts.shown[0].informativeText, trashInformative);
    EXPECT_EQ(alerts.shown[0].buttons, (QStringList{"Bring My Desktops Back", "Leave Everything As Is"}));
    EXPECT_EQ(entries(desktop()), QStringList{"w.txt"});
    EXPECT_TRUE(loginItem.enabled);
    EXPECT_EQ(terminations, 0);

    LogCapture log;
    alerts.answers = {0};
    controller.quitAndUninstall().appMovedToTrash();
    EXPECT_EQ(log.count("app bundle moved to the Trash"), 1);
    EXPECT_EQ(log.count("restored Photos → Photos"), 1);
    EXPECT_EQ(entries(desktop()), (QStringList{"Photos", "w.txt"}));
    EXPECT_EQ(readFile(paths().defaultArchiveRoot() + "/Old/old.txt"), "old");
    // The document is set aside, whole, under a name that says so.
    ASSERT_EQ(retiredNames().size(), 1);
    EXPECT_EQ(readFile(paths().store() + '/' + retiredNames()[0]), before);
    EXPECT_FALSE(QFileInfo::exists(paths().config()));
    EXPECT_FALSE(loginItem.enabled);
    EXPECT_TRUE(fileManager.revealed.empty()); // this road reveals nothing
    EXPECT_TRUE(fileManager.revealedBeforeQuitting.empty());
    EXPECT_EQ(terminations, 1);
    EXPECT_EQ(alerts.shown.size(), 2u); // no failure alert
    EXPECT_FALSE(session.dark);         // the user's own mode is back
}

TEST_F(Uninstall, TheSettingsRequestNamesTheArchiveOnlyWhenThereIsOne)
{
    layOut({{"Work", {}}, {"Photos", {"p.jpg"}}});
    info = AppInfo::installed("/opt/q/bin/quorvane", "/opt/q/share/applications/app.quorvane.Quorvane.desktop");
    AppController controller(uninstallEnvironment());
    alerts.answers = {1}; // "Cancel"
    controller.quitAndUninstall().uninstallRequested();
    ASSERT_EQ(alerts.shown.size(), 1u);
    EXPECT_EQ(alerts.shown[0].message, "Uninstall Quorvane?");
    EXPECT_EQ(alerts.shown[0].informativeText, settingsText(QString()));
    EXPECT_EQ(alerts.shown[0].buttons, (QStringList{"Bring My Desktops Back & Uninstall", "Cancel"}));
    EXPECT_EQ(entries(desktop()), QStringList{});
    EXPECT_EQ(terminations, 0);

    layOutThree();
    alerts.answers = {1};
    controller.quitAndUninstall().uninstallRequested();
    EXPECT_EQ(alerts.shown.back().informativeText,
              settingsText(" Archived desktops stay where they are (" + paths().defaultArchiveRoot() + ")."));
    Config config = load();
    config.settings.archiveRoot = home.filePath("Elsewhere/Archive");
    save(config);
    alerts.answers = {0};
    LogCapture log;
    controller.quitAndUninstall().uninstallRequested();
    EXPECT_EQ(alerts.shown.back().informativeText,
              settingsText(" Archived desktops stay where they are (" + home.filePath("Elsewhere/Archive") + ")."));
    EXPECT_EQ(log.count("uninstall requested from Settings"), 1);
    EXPECT_EQ(entries(desktop()), (QStringList{"Photos", "w.txt"}));
    EXPECT_FALSE(loginItem.enabled);
    // Revealed by a call that waits for the file manager (about 2 s at most): quitting right
    // after an unanswered request loses it.
    EXPECT_TRUE(fileManager.revealed.empty());
    ASSERT_EQ(fileManager.revealedBeforeQuitting.size(), 1u);
    EXPECT_EQ(fileManager.revealedBeforeQuitting[0].first, QStringList{"/opt/q/bin/quorvane"});
    EXPECT_GE(fileManager.revealedBeforeQuitting[0].second, 1000);
    EXPECT_LE(fileManager.revealedBeforeQuitting[0].second, 3000);
    EXPECT_EQ(terminations, 1);
}

TEST_F(Uninstall, APackagesCopyStaysInstalledAndTheAlertNamesTheCommandThatRemovesIt)
{
    layOutThree();
    info = AppInfo::installed("/usr/bin/quorvane", "/usr/share/applications/app.quorvane.Quorvane.desktop");
    AppController controller(uninstallEnvironment());
    alerts.answers = {0};
    controller.quitAndUninstall().uninstallRequested();
    ASSERT_EQ(alerts.shown.size(), 1u);
    EXPECT_EQ(alerts.shown[0].informativeText,
              "Every desktop comes back to your Desktop as a normal folder. Archived desktops stay where they are ("
                  + paths().defaultArchiveRoot()
                  + "). Quorvane is then removed from autostart. Its package stays installed: remove it with "
                    "\u201Csudo apt remove quorvane\u201D.");
    EXPECT_EQ(alerts.shown[0].buttons, (QStringList{"Bring My Desktops Back & Uninstall", "Cancel"}));
    // The desktops come back and the login item goes as from any copy; the package's executable
    // is not revealed for deleting.
    EXPECT_EQ(entries(desktop()), (QStringList{"Photos", "w.txt"}));
    EXPECT_FALSE(loginItem.enabled);
    EXPECT_TRUE(fileManager.revealed.empty());
    EXPECT_TRUE(fileManager.revealedBeforeQuitting.empty());
    EXPECT_EQ(terminations, 1);
}

TEST_F(Uninstall, AFailedMoveIsToldBeforeTheLoginItemGoes)
{
    // A name one byte short of the limit cannot take a number: its move fails.
    const QString longName(254, QLatin1Char('L'));
    layOut({{"Work", {}}, {longName, {"a.txt"}}, {"Music", {"m.mp3"}}});
    touch(desktop(), {longName});
    loginItem.enabled = true;
    AppController controller(uninstallEnvironment());
    bool loginItemDuringFailureAlert = false;
    alerts.answers = {0, 0};
    alerts.whileShown = [this, &loginItemDuringFailureAlert] {
        // The first alert is the offer; the failure alert comes next.
        alerts.whileShown = [this, &loginItemDuringFailureAlert] { loginItemDuringFailureAlert = loginItem.enabled; };
    };
    controller.quitAndUninstall().appMovedToTrash();
    ASSERT_EQ(alerts.shown.size(), 2u);
    EXPECT_EQ(alerts.shown[1].message, "Not everything could be brought back");
    EXPECT_EQ(alerts.shown[1].informativeText,
              "These are still in \u201CQuorVane Desktops\u201D in your home folder: " + longName + ".");
    EXPECT_TRUE(loginItemDuringFailureAlert);
    EXPECT_FALSE(loginItem.enabled);
    EXPECT_EQ(entries(desktop()), (QStringList{longName, "Music"}));
    EXPECT_EQ(entries(root() + '/' + longName), QStringList{"a.txt"});
    EXPECT_EQ(terminations, 1);
}

TEST_F(Uninstall, DuringAnUpdateTheTrashIsOnlyLogged)
{
    layOutThree();
    AppController controller(uninstallEnvironment());
    controller.updater().coordinator().willInstallUpdate();
    LogCapture log;
    controller.quitAndUninstall().appMovedToTrash();
    EXPECT_EQ(log.lines, QStringList{"bundle moved to the Trash during an update — not an uninstall, ignoring"});
    EXPECT_TRUE(alerts.shown.empty());
    EXPECT_EQ(entries(desktop()), QStringList{"w.txt"});
    EXPECT_EQ(terminations, 0);
}

TEST_F(Uninstall, TheLaunchWatchesTheExecutableAndTheSettingsModelAsksForTheUninstall)
{
    layOutThree();
    const QString exe = home.filePath("prefix/bin/quorvane");
    writeFile(exe, "binary");
    info = AppInfo::installed(exe, home.filePath("prefix/share/applications/app.quorvane.Quorvane.desktop"));
    AppController controller(uninstallEnvironment());
    controller.applicationDidFinishLaunching();
    ASSERT_TRUE(controller.trashWatcher().isWatching());
    alerts.shown.clear();

    // Into the user's Trash, as a file manager's "Move to Trash" does; answered "leave".
    const QString trash = TrashWatcher::standardHomeTrash();
    QDir().mkpath(trash);
    ASSERT_TRUE(QFile::rename(exe, trash + "/quorvane-test-" + QFileInfo(home.path()).fileName()));
    alerts.answers = {1};
    QElapsedTimer clock;
    clock.start();
    while (alerts.shown.empty() && clock.elapsed() < 2000)
        QCoreApplication::processEvents(QEventLoop::AllEvents, 10);
    ASSERT_EQ(alerts.shown.size(), 1u);
    EXPECT_EQ(alerts.shown[0].message, "Removing Quorvane?");
    QFile::remove(trash + "/quorvane-test-" + QFileInfo(home.path()).fileName());

    controller.windows().openSettings();
    ASSERT_NE(controller.settingsModel(), nullptr);
    ASSERT_TRUE(controller.settingsModel()->onUninstall);
    alerts.answers = {1};
    controller.settingsModel()->onUninstall();
    EXPECT_EQ(alerts.shown.back().message, "Uninstall Quorvane?");
    EXPECT_EQ(terminations, 0);
}

// A start after the uninstall (the menu entry of another install, or by hand) begins afresh:
// the Desktop as it is, the restored folders among its items, becomes "Default"; nothing the
// uninstall put back is taken for a desktop, and the set-aside document stays as it was.
TEST_F(Uninstall, AStartAfterwardsBeginsAfreshAndLeavesTheRestoredFoldersOnTheDesktop)
{
    layOutThree();
    const QString entry = home.filePath(".local/share/applications/app.quorvane.Quorvane.desktop");
    const QString foreignEntry = home.filePath("opt/share/applications/app.quorvane.Quorvane.desktop");
    writeFile(entry, "[Desktop Entry]\n");
    writeFile(foreignEntry, "[Desktop Entry]\n");
    info = AppInfo::installed(home.filePath(".local/bin/quorvane"), entry);
    const QByteArray before = configBytes();
    {
        AppController controller(uninstallEnvironment());
        alerts.answers = {0};
        controller.quitAndUninstall().appMovedToTrash();
        controller.stampActiveVisited(); // work still running as the process ends writes nothing
        EXPECT_FALSE(QFileInfo::exists(paths().config()));
    }
    EXPECT_FALSE(QFileInfo::exists(entry));
    EXPECT_TRUE(QFileInfo::exists(foreignEntry)); // another install's entry is not ours
    ASSERT_EQ(retiredNames().size(), 1);
    const QStringList restored = entries(desktop());
    EXPECT_EQ(restored, (QStringList{"Photos", "w.txt"}));

    AppController relaunched(environment());
    relaunched.applicationDidFinishLaunching();
    const Config fresh = load();
    ASSERT_EQ(fresh.workspaces.size(), 2u);
    EXPECT_EQ(fresh.activeWorkspace, "Default");
    EXPECT_EQ(fresh.workspaces[0].files, restored);
    EXPECT_EQ(fresh.workspaces[1].name, Config::blankWorkspaceName);
    EXPECT_EQ(entries(desktop()), restored);
    EXPECT_EQ(readFile(paths().store() + '/' + retiredNames()[0]), before);
}
