#include "SettingsViewHarness.h"

#include "SettingsViews/DetailPane.h"
#include "SettingsViews/PinnedFoldersTab.h"

#include <QLabel>
#include <QPushButton>
#include <QToolButton>

using namespace quorvane;
using namespace quorvane::test;

struct PinnedSection : SettingsViewHarness {
    PinnedFoldersTab *tab() { return qobject_cast<PinnedFoldersTab *>(view->pane()->content()); }
    bool tagged(const QString &name)
    {
        QWidget *row = tab()->pinRow(name);
        return row && row->findChild<QLabel *>("notOnDesktop")->isVisibleTo(row);
    }
    void choose(const QString &path)
    {
        click<QPushButton>("Pin a file or folder");
        ASSERT_FALSE(dialogs.choosers.empty());
        EXPECT_EQ(dialogs.choosers.back().kind, ScriptedDialogs::Chooser::item);
        EXPECT_EQ(dialogs.choosers.back().options.directory, paths.desktop());
        EXPECT_EQ(dialogs.choosers.back().options.acceptLabel, "Pin");
        dialogs.choose(path);
    }
};

TEST_F(PinnedSection, OnlyItemsDirectlyOnTheDesktopArePinned)
{
    openWith({"Default"});
    QDir().mkpath(paths.desktop() + "/Notes");
    QDir().mkpath(paths.desktop() + "/Projects/Plan");
    show(SettingsSection::pinnedFolders);

    choose(paths.desktop() + "/Notes");
    EXPECT_EQ(stored().settings.pinnedFolders, QStringList({"Notes"}));
    ASSERT_NE(tab()->pinRow("Notes"), nullptr);
    EXPECT_FALSE(tagged("Notes"));
    EXPECT_TRUE(dialogs.choosers.back().options.hiddenItems.isEmpty());

    // What is pinned is not offered again.
    choose(paths.desktop() + "/Projects/Plan");
    EXPECT_EQ(dialogs.choosers.back().options.hiddenItems, QStringList({paths.desktop() + "/Notes"}));

    // Nested: the alert, no pin.
    EXPECT_EQ(stored().settings.pinnedFolders, QStringList({"Notes"}));
    EXPECT_EQ(lastQuestion().title, "That item isn’t on your Desktop");

    // Through a link to the Desktop folder: accepted; a link lying on the Desktop stays pinnable.
    QFile::link(paths.desktop(), home.path() + "/DesktopLink");
    QFile::link(home.path() + "/elsewhere", paths.desktop() + "/Shortcut");
    choose(home.path() + "/DesktopLink/Projects");
    choose(paths.desktop() + "/Shortcut");
    EXPECT_EQ(stored().settings.pinnedFolders, QStringList({"Notes", "Projects", "Shortcut"}));

    // A pin whose item was renamed keeps its row with the tag.
    QDir().rename(paths.desktop() + "/Notes", paths.desktop() + "/Notes 2");
    model->reload();
    EXPECT_TRUE(tagged("Notes"));
    const int saves = store.saves;
    model->reload(); // a republish saves nothing
    EXPECT_EQ(store.saves, saves);

    click<QToolButton>("Unpin Notes");
    EXPECT_EQ(stored().settings.pinnedFolders, QStringList({"Projects", "Shortcut"}));
    EXPECT_EQ(tab()->pinRow("Notes"), nullptr);
    EXPECT_TRUE(QDir(paths.desktop() + "/Notes 2").exists());
}
