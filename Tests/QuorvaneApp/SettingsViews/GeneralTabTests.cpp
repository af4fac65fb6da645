#include "SettingsViewHarness.h"

#include "Fakes/FakeLoginItem.h"
#include "Fakes/RecordingDesktopServices.h"
#include "Install/LinuxLoginItem.h"
#include "SettingsViews/DetailPane.h"
#include "SettingsViews/GeneralTab.h"
#include "SettingsViews/SettingRow.h"

#include <QCheckBox>
#include <QClipboard>
#include <QLabel>
#include <QPushButton>

using namespace quorvane;
using namespace quorvane::test;

struct GeneralSection : SettingsViewHarness {
    RecordingDesktopServices desktop;
    FakeLoginItem login;

    GeneralTab *tab() { return qobject_cast<GeneralTab *>(view->pane()->content()); }
    SettingsView &showGeneral(bool installed = true)
    {
        services.desktop = &desktop;
        if (installed) {
            services.info.identifier = "app.quorvane.Quorvane";
            services.loginItem = &login;
        }
        return show();
    }
};

TEST_F(GeneralSection, TheLoginToggleFollowsTheSystemAndReportsItsFailure)
{
    openWith({"Default"});
    showGeneral();
    auto *toggle = find<QCheckBox>("Launch Quorvane on startup");
    ASSERT_NE(toggle, nullptr);
    EXPECT_FALSE(toggle->isChecked());
    QTest::mouseClick(toggle, Qt::LeftButton);
    EXPECT_EQ(login.registered, 1);
    EXPECT_TRUE(toggle->isChecked());
    QTest::mouseClick(toggle, Qt::LeftButton);
    EXPECT_EQ(login.unregistered, 1);
    EXPECT_FALSE(toggle->isChecked());
    EXPECT_EQ(store.saves, 0);

    login.failure = "Couldn't create the folder “/x/autostart”.";
    QTest::mouseClick(toggle, Qt::LeftButton);
    EXPECT_FALSE(toggle->isChecked()); // the system's state again
    EXPECT_EQ(errorMessage(), *login.failure);
    EXPECT_EQ(lastQuestion().title, "Can't do that");

    // A refresh reads the system, never writes it.
    login.failure.reset();
    login.enabled = true;
    model->reload();
    EXPECT_TRUE(toggle->isChecked());
    EXPECT_EQ(login.registered, 2);
}

TEST_F(GeneralSection, WithARealAutostartFolderThatIsAFile)
{
    openWith({"Default"});
    const QString config = home.path() + "/cfg";
    test::writeFile(config + "/autostart", "a file");
    LinuxLoginItem real("app.quorvane.Quorvane", "/usr/bin/quorvane", config + "/autostart");
    services.loginItem = &real;
    services.info.identifier = "app.quorvane.Quorvane";
    show();
    auto *toggle = find<QCheckBox>("Launch Quorvane on startup");
    ASSERT_NE(toggle, nullptr);
    QTest::mouseClick(toggle, Qt::LeftButton);
    EXPECT_FALSE(toggle->isChecked());
    EXPECT_TRUE(errorMessage().contains("autostart"));
    ASSERT_EQ(dialogs.asked.size(), 1u);
}

TEST_F(GeneralSection, WithoutAnIdentifierTheLoginRowExplainsAndHasNoControl)
{
    openWith({"Default"});
    showGeneral(false);
    EXPECT_EQ(find<QCheckBox>("Launch Quorvane on startup"), nullptr);
    auto *row = find<SettingRow>("Launch Quorvane on startup");
    ASSERT_NE(row, nullptr);
    EXPECT_EQ(row->control(), nullptr);
    EXPECT_EQ(row->subtitleLabel()->text(), "Becomes available once Quorvane is installed as an app.");
}

TEST_F(GeneralSection, MinimizedFoldersAndNoPermissionRow)
{
    openWith({"Default"});
    showGeneral();
    auto *minimized = find<QCheckBox>("Start up with desktops minimized");
    ASSERT_NE(minimized, nullptr);
    QTest::mouseClick(minimized, Qt::LeftButton);
    EXPECT_TRUE(stored().settings.startMinimized);
    model->reload(); // a republish saves nothing
    EXPECT_EQ(store.saves, 1);
    // The row's title toggles its box as well.
    auto *row = qobject_cast<SettingRow *>(minimized->parentWidget());
    ASSERT_NE(row, nullptr);
    QTest::mouseClick(row->titleLabel(), Qt::LeftButton);
    EXPECT_FALSE(stored().settings.startMinimized);
    EXPECT_FALSE(minimized->isChecked());

    auto buttons = view->findChildren<QPushButton *>();
    std::vector<QPushButton *> reveals;
    for (QPushButton *b : buttons) {
        if (b->text() == "Open Folder")
            reveals.push_back(b);
    }
    ASSERT_EQ(reveals.size(), 2u);
    EXPECT_EQ(reveals[0]->accessibleName(), "Desktops folder");
    QTest::mouseClick(reveals[0], Qt::LeftButton);
    QDir(paths.defaultArchiveRoot()).removeRecursively();
    QTest::mouseClick(reveals[1], Qt::LeftButton);
    EXPECT_TRUE(QDir(paths.defaultArchiveRoot()).exists()); // made before it opens
    EXPECT_EQ(desktop.opened, (std::vector<QUrl>{QUrl::fromLocalFile(paths.workspaces()), QUrl::fromLocalFile(paths.defaultArchiveRoot())}));

    // The desktop asks no consent to arrange icons: there is nothing to show or to poll.
    EXPECT_EQ(label("Permissions"), nullptr);
    for (const SettingRow *row : view->findChildren<SettingRow *>())
        EXPECT_NE(row->accessibleName(), "Finder automation");
    EXPECT_EQ(scheduler.pendingCount(), 0u);
}

TEST_F(GeneralSection, EmailWithoutAMailAppOffersToCopyTheAddress)
{
    openWith({"Default"});
    showGeneral();
    auto *email = find<QPushButton>("Contact support");
    ASSERT_NE(email, nullptr);
    QTest::mouseClick(email, Qt::LeftButton);
    ASSERT_EQ(desktop.opened.size(), 1u);
    EXPECT_EQ(desktop.opened[0].scheme(), "mailto");
    EXPECT_TRUE(dialogs.asked.empty());

    desktop.mailHandler = false;
    QGuiApplication::clipboard()->clear();
    QTest::mouseClick(email, Qt::LeftButton);
    EXPECT_EQ(desktop.opened.size(), 1u);
    ASSERT_EQ(dialogs.asked.size(), 1u);
    EXPECT_EQ(lastQuestion().message, "No email app is set up");
    EXPECT_TRUE(lastQuestion().informativeText.contains("support@quorvane.app"));
    dialogs.answer(0);
    EXPECT_EQ(QGuiApplication::clipboard()->text(), "support@quorvane.app");
}

TEST_F(GeneralSection, CopiedShowsForTwoSeconds)
{
    openWith({"Default"});
    showGeneral();
    auto *copy = find<QPushButton>("Copy diagnostics");
    ASSERT_NE(copy, nullptr);
    QTest::mouseClick(copy, Qt::LeftButton);
    EXPECT_EQ(copy->text(), "Copied");
    EXPECT_FALSE(QGuiApplication::clipboard()->text().isEmpty());
    scheduler.advance(1.0);
    QTest::mouseClick(copy, Qt::LeftButton); // again: the first reset still falls at 2 s
    scheduler.advance(1.01);
    EXPECT_EQ(copy->text(), "Copy");
}
