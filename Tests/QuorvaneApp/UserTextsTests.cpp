// Every text a user reads in the windows, the settings sections, the status menu and the new-desktop
// window, walked offscreen from the widget trees: none names another platform's facility, and
// shortcuts read the Linux way. (Alerts and questions are checked where the fakes record them.)
#include "SettingsViews/SettingsViewHarness.h"

#include "Calendar/CleanupCalendarView.h"
#include "Calendar/WorkspaceCreateSheet.h"
#include "Controller/StatusMenuModel.h"
#include "Dock/FloatingDockView.h"
#include "FakePreferenceReader.h"
#include "Fakes/FakeSpaceProvider.h"
#include "ForeignWords.h"
#include "Install/MoveToApplicationsView.h"
#include "Triggers/KeyRecorder.h"
#include "Triggers/SpaceIdentifier.h"

#include <QAbstractButton>
#include <QCheckBox>
#include <QComboBox>
#include <QLineEdit>
#include <QMenu>

using namespace quorvane;
using namespace quorvane::test;

namespace {

void addActions(const QWidget *widget, QStringList &texts)
{
    for (const QAction *action : widget->actions())
        texts << action->text() << action->toolTip() << action->iconText();
}

// What the tree under root shows or says to the user: titles, labels, buttons, fields and their
// placeholders, picker entries, menu items, tool tips, accessible names and recorded shortcuts.
QStringList textsOf(QWidget *root)
{
    QStringList texts;
    QList<QWidget *> widgets = root->findChildren<QWidget *>();
    widgets.prepend(root);
    for (QWidget *w : std::as_const(widgets)) {
        texts << w->windowTitle() << w->toolTip() << w->accessibleName() << w->accessibleDescription();
        addActions(w, texts);
        if (auto *label = qobject_cast<QLabel *>(w))
            texts << label->text();
        if (auto *button = qobject_cast<QAbstractButton *>(w))
            texts << button->text();
        if (auto *field = qobject_cast<QLineEdit *>(w))
            texts << field->text() << field->placeholderText();
        if (auto *picker = qobject_cast<QComboBox *>(w)) {
            for (int i = 0; i < picker->count(); ++i)
                texts << picker->itemText(i);
        }
        if (auto *recorder = qobject_cast<KeyRecorderView *>(w))
            texts << recorder->text();
    }
    texts.removeAll(QString());
    return texts;
}

const HotKeySpec ctrlAlt1{18, HotKeySpec::control | HotKeySpec::option};
const HotKeySpec everyModifierD{2, HotKeySpec::control | HotKeySpec::option | HotKeySpec::shift | HotKeySpec::command};

} // namespace

struct UserTexts : SettingsViewHarness {
    FakeSpaceProvider provider;
    SpaceIdentifier spaces{provider};

    // Desktops with shortcuts, a temporary and an archived one, sweeping, rules and following on,
    // so that the rows those settings bring are there to be read.
    void openEverything()
    {
        provider.desktops(3, 1);
        openWith({"Default", "Work", "Scratch", "Old"}, [](Config &c) {
            c.workspace("Work")->hotkey = ctrlAlt1;
            c.workspace("Scratch")->type = WorkspaceType::temporary;
            c.workspace("Old")->type = WorkspaceType::temporary;
            c.workspace("Old")->state = WorkspaceState::archivedUnsorted;
            c.settings.cycleNext = everyModifierD;
            c.settings.hideDesktopShortcut = HotKeySpec{51, HotKeySpec::command};
            c.settings.showShortcutsInMenu = true;
            c.settings.showScreenshotPauseInMenu = true;
            c.settings.filterScreenshots = true;
            c.settings.screenshotsWorkspace = "Work";
            c.settings.customFiltersEnabled = true;
            c.settings.customFilters = {CustomFilter{}};
            c.settings.followSpaces = true;
            c.settings.optionClickCarousel = {"Work"};
            c.settings.pinnedFolders = {"notes.txt"};
        });
        services.spaces = &spaces;
    }
};

TEST_F(UserTexts, EverySettingsSectionReadsInLinuxWords)
{
    openEverything();
    show();
    QStringList all;
    for (const SettingsSection section : allSettingsSections) {
        view->select(section);
        QCoreApplication::sendPostedEvents();
        const QStringList texts = textsOf(view.get());
        EXPECT_EQ(foreignWord(texts), QString()) << int(section);
        all << texts;
    }
    // The walk reads what the sections show, the Linux way.
    for (const char *expected : {"Follow the system", "Ctrl+Alt+1", "Ctrl+Alt+Shift+Super+D", "Super+Backspace",
                                 "Show in the panel menu", "Middle-click carousel", "Follow workspaces"})
        EXPECT_TRUE(all.contains(QString::fromUtf8(expected))) << expected;
    EXPECT_TRUE(all.filter("Press Backspace to clear").size() == 1);
    EXPECT_TRUE(all.filter("Finder automation").isEmpty());

    // Following asks first, in a sheet of its own.
    view->select(SettingsSection::experimental);
    auto *follow = find<QCheckBox>("Follow workspaces");
    ASSERT_NE(follow, nullptr);
    QTest::mouseClick(follow, Qt::LeftButton); // off
    QTest::mouseClick(follow, Qt::LeftButton); // on again: the warning
    ASSERT_FALSE(dialogs.forms.empty());
    const QStringList sheet = textsOf(dialogs.forms.back().form);
    EXPECT_FALSE(sheet.filter("workspaces").isEmpty());
    EXPECT_EQ(foreignWord(sheet), QString());
}

TEST_F(UserTexts, TheStatusMenuTheWindowsAndTheirShortcutsReadInLinuxWords)
{
    openEverything();
    QMenu menu;
    renderStatusMenu(StatusMenuModel::build(model->config(), true), menu, [](const StatusMenuItem &) {});
    QStringList items;
    addActions(&menu, items);
    EXPECT_TRUE(items.contains("Work\tCtrl+Alt+1"));
    EXPECT_EQ(foreignWord(items), QString());

    WorkspaceCreateSheet create(*model, [] {});
    const QStringList createTexts = textsOf(&create);
    EXPECT_FALSE(createTexts.filter("Alt+Shift with a number").isEmpty());
    EXPECT_EQ(foreignWord(createTexts), QString());

    CleanupCalendarView calendar(*model, CleanupCalendarView::Options{});
    EXPECT_EQ(foreignWord(textsOf(&calendar)), QString());

    FakePreferenceReader preferences;
    FloatingDockModel dockModel{preferences};
    dockModel.setSurfaces({{"Work", "#3366CC", paths.desktop(), true}});
    FolderIconCache icons;
    FloatingDockView dock(dockModel, icons);
    EXPECT_EQ(foreignWord(textsOf(&dock)), QString());

    MoveToApplicationsView prompt(
        "Downloads", [] {}, [] {});
    const QStringList promptTexts = textsOf(&prompt);
    EXPECT_TRUE(promptTexts.contains("Move Quorvane to your applications folder?"));
    EXPECT_EQ(foreignWord(promptTexts), QString());
}
