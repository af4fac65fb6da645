#include "SettingsViewHarness.h"
#include "Wait.h"

#include "SettingsViews/DetailPane.h"
#include "SettingsViews/FloatingDockTab.h"
#include "SettingsViews/SegmentedControl.h"
#include "SettingsViews/SettingRow.h"
#include "SettingsViews/ShortcutsTab.h"
#include "Shared/DocumentService.h"
#include "Triggers/KeyRecorder.h"

#include <QCheckBox>
#include <QComboBox>
#include <QLabel>
#include <QPushButton>
#include <QToolButton>

using namespace quorvane;
using namespace quorvane::test;

namespace {

const HotKeySpec controlOptionD{2, HotKeySpec::control | HotKeySpec::option};

void record(KeyRecorderView *recorder, Qt::Key key, Qt::KeyboardModifiers modifiers)
{
    QTest::mouseClick(recorder, Qt::LeftButton);
    QTest::keyClick(recorder, key, modifiers);
}

// Chooses the entry by its text as a user would: an activation of that row.
void choose(QComboBox *picker, const QString &text)
{
    const int index = picker->findText(text);
    ASSERT_GE(index, 0) << text.toStdString();
    picker->setCurrentIndex(index);
    emit picker->activated(index);
}

} // namespace

using ShortcutsSection = SettingsViewHarness;

TEST_F(ShortcutsSection, RecordersStoreRefuseAConflictAndShowTheStoredAgain)
{
    openWith({"Default", "Work"}, [](Config &c) { c.settings.cycleNext = controlOptionD; });
    show(SettingsSection::shortcuts);
    auto *previous = find<KeyRecorderView>("Cycle previous");
    ASSERT_NE(previous, nullptr);
    record(previous, Qt::Key_D, Qt::ControlModifier | Qt::AltModifier);
    EXPECT_FALSE(stored().settings.cyclePrevious);
    EXPECT_TRUE(errorMessage().endsWith(" is already assigned to Cycle next.")) << errorMessage().toStdString();
    EXPECT_EQ(previous->spec(), std::nullopt); // the refused combination leaves the field
    EXPECT_EQ(find<KeyRecorderView>("Cycle next")->text(), "Ctrl+Alt+D");

    auto *work = find<KeyRecorderView>("Work");
    ASSERT_NE(work, nullptr);
    record(work, Qt::Key_L, Qt::ControlModifier | Qt::AltModifier);
    ASSERT_TRUE(stored().workspaces[1].hotkey);
    EXPECT_EQ(work->text(), "Ctrl+Alt+L");
    record(work, Qt::Key_L, Qt::ControlModifier | Qt::AltModifier); // its own again is no conflict
    EXPECT_TRUE(stored().workspaces[1].hotkey);
    QTest::mouseClick(work, Qt::LeftButton);
    QTest::keyClick(work, Qt::Key_Backspace);
    EXPECT_FALSE(stored().workspaces[1].hotkey);

    auto *inMenu = find<QCheckBox>("Show assigned shortcuts in the panel menu");
    QTest::mouseClick(inMenu, Qt::LeftButton);
    EXPECT_TRUE(stored().settings.showShortcutsInMenu);
    auto *scroll = find<QCheckBox>("Scroll over the panel icon to switch desktops");
    QTest::mouseClick(scroll, Qt::LeftButton);
    EXPECT_FALSE(stored().settings.scrollToCycle);
}

TEST_F(ShortcutsSection, TheCarouselAddsReplacesAndRemovesStops)
{
    openWith({"A", "B", "C", "D", "E"}, [](Config &c) {
        Workspace gone = Workspace::make("Old");
        gone.state = WorkspaceState::archivedSorted;
        c.workspaces.push_back(gone);
    });
    show(SettingsSection::shortcuts);
    auto *tab = qobject_cast<ShortcutsTab *>(view->pane()->content());
    auto *first = find<QComboBox>("Desktops");
    ASSERT_NE(first, nullptr);
    EXPECT_EQ(first->currentText(), "Choose…");
    EXPECT_EQ(first->findText("Old"), -1); // archived desktops are never offered
    EXPECT_EQ(first->findText(Config::blankWorkspaceName), -1);
    choose(first, "B");
    choose(find<QComboBox>("Add desktop"), "A");
    choose(find<QComboBox>("Add desktop"), "C");
    EXPECT_EQ(stored().settings.optionClickCarousel, QStringList({"B", "A", "C"}));
    EXPECT_EQ(find<QComboBox>("Stop 2")->currentText(), "A");
    EXPECT_EQ(find<QComboBox>("Stop 2")->findText("B"), -1); // used by another stop

    choose(find<QComboBox>("Stop 2"), "Remove"); // the third stop moves up
    EXPECT_EQ(stored().settings.optionClickCarousel, QStringList({"B", "C"}));
    EXPECT_EQ(find<QComboBox>("Stop 2")->currentText(), "C");
    EXPECT_EQ(find<QComboBox>("Stop 3"), nullptr);
    choose(find<QComboBox>("Stop 1"), "E");
    EXPECT_EQ(stored().settings.optionClickCarousel, QStringList({"E", "C"}));

    choose(find<QComboBox>("Add desktop"), "A");
    choose(find<QComboBox>("Add desktop"), "B");
    EXPECT_EQ(stored().settings.optionClickCarousel.size(), 4);
    EXPECT_EQ(find<QComboBox>("Add desktop"), nullptr); // four stops: no add picker
    EXPECT_EQ(tab->carouselPickers().size(), 4u);
    EXPECT_EQ(ShortcutsTab::available({"A", "B", "C"}, {"B", "C"}, 0), QStringList({"A", "B"}));
    EXPECT_EQ(ShortcutsTab::available({"A", "B", "C"}, {"B", "C"}, std::nullopt), QStringList({"A"}));
}

struct DockSection : SettingsViewHarness {
    FloatingDockTab *tab() { return qobject_cast<FloatingDockTab *>(view->pane()->content()); }
};

TEST_F(DockSection, CornersWarnOnlyWhenTheSystemUsesThem)
{
    openWith({"Default"}, [](Config &c) { c.settings.cycleNext = controlOptionD; });
    services.hotCornerOccupant = [](FloatingDockCorner corner) -> std::optional<QString> {
        if (corner == FloatingDockCorner::topLeft)
            return QStringLiteral("Overview");
        return std::nullopt;
    };
    int shown = 0;
    show(SettingsSection::floatingDock);
    model->onShowFloatingDock = [&] { ++shown; };
    click<QPushButton>("Show floating dock");
    EXPECT_EQ(shown, 1);
    EXPECT_EQ(tab()->cornerWarning(), nullptr);
    QComboBox *corner = find<QComboBox>("Hot corner");
    ASSERT_NE(corner, nullptr);
    EXPECT_EQ(corner->itemText(1), "Top-left — used by Overview");
    EXPECT_EQ(corner->itemText(2), "Top-right");
    choose(corner, "Top-left — used by Overview");
    EXPECT_EQ(stored().settings.floatingDockCorner, FloatingDockCorner::topLeft);
    ASSERT_NE(tab()->cornerWarning(), nullptr);
    EXPECT_TRUE(tab()->cornerWarning()->findChild<QLabel *>(QString(), Qt::FindDirectChildrenOnly) != nullptr);

    // The dock's shortcut follows the same conflict rule.
    record(find<KeyRecorderView>("Shortcut"), Qt::Key_D, Qt::ControlModifier | Qt::AltModifier);
    EXPECT_FALSE(stored().settings.floatingDockShortcut);
    EXPECT_TRUE(errorMessage().endsWith(" is already assigned to Cycle next."));
}

TEST_F(DockSection, SegmentsTogglesAndTheTransitionFollowingTheArrows)
{
    openWith({"Default"});
    show(SettingsSection::floatingDock);
    QTest::mouseClick(find<SegmentedControl>("Size")->segment(int(FloatingDockSize::large)), Qt::LeftButton);
    EXPECT_EQ(stored().settings.floatingDockSize, FloatingDockSize::large);
    EXPECT_EQ(find<SegmentedControl>("Size")->segment(int(FloatingDockSize::large))->accessibleName(), "Big");
    QTest::mouseClick(find<SegmentedControl>("Material")->segment(int(FloatingDockMaterial::clearGlass)), Qt::LeftButton);
    EXPECT_EQ(stored().settings.floatingDockMaterial, FloatingDockMaterial::clearGlass);
    QTest::mouseClick(find<SegmentedControl>("Layout")->segment(int(FloatingDockAxis::vertical)), Qt::LeftButton);
    EXPECT_EQ(stored().settings.floatingDockAxis, FloatingDockAxis::vertical);
    QTest::mouseClick(find<SegmentedControl>("Light or dark")->segment(int(AppearanceMode::light)), Qt::LeftButton);
    EXPECT_EQ(stored().settings.floatingDockAppearance, AppearanceMode::light);
    QTest::mouseClick(find<QCheckBox>("Colour the folders by desktop"), Qt::LeftButton);
    EXPECT_TRUE(stored().settings.floatingDockColorFolders);

    QTest::mouseClick(find<SegmentedControl>("Transition speed")->segment(0), Qt::LeftButton);
    EXPECT_FALSE(stored().settings.floatingDockFastTransition);
    QTest::mouseClick(find<QCheckBox>("Show the flip arrows"), Qt::LeftButton);
    EXPECT_FALSE(stored().settings.floatingDockShowFlipButtons);
    EXPECT_FALSE(tab()->transitionPicker()->isEnabled());
    EXPECT_EQ(tab()->transitionPicker()->current(), 0); // still showing the stored speed

    model->setFloatingDockRememberPosition(true);
    QTest::mouseClick(find<QCheckBox>("Remember the dock's last position"), Qt::LeftButton);
    EXPECT_FALSE(stored().settings.floatingDockRememberPosition);
    EXPECT_FALSE(stored().settings.floatingDockPosition);
    const int saves = store.saves;
    model->reload();
    EXPECT_EQ(store.saves, saves);
}

// A session whose shortcuts are limited says so in one line; another shows no such line.
TEST_F(ShortcutsSection, TheSessionsShortcutLimitIsShownWhereThereIsOne)
{
    openWith({"Default"});
    show(SettingsSection::shortcuts);
    EXPECT_EQ(view->findChild<QLabel *>("shortcutLimit"), nullptr);
    services.shortcutLimit = QStringLiteral("On this Wayland session, shortcuts work only while an X11 window has focus.");
    show(SettingsSection::shortcuts);
    auto *limit = view->findChild<QLabel *>("shortcutLimit");
    ASSERT_NE(limit, nullptr);
    EXPECT_EQ(limit->text(), services.shortcutLimit);
}

// A stored shortcut another program holds says so in its row until it is free again.
TEST_F(ShortcutsSection, AShortcutHeldByAnotherProgramSaysSoInItsRow)
{
    const HotKeySpec controlOptionL{37, HotKeySpec::control | HotKeySpec::option};
    openWith({"Default", "Work"}, [&](Config &c) {
        c.settings.cycleNext = controlOptionD;
        c.workspaces[1].hotkey = controlOptionL;
    });
    show(SettingsSection::shortcuts);
    const auto rowOf = [&](const char *title) { return qobject_cast<SettingRow *>(find<KeyRecorderView>(title)->parent()); };
    const auto note = [&](const char *title) {
        QLabel *subtitle = rowOf(title)->subtitleLabel();
        return subtitle && subtitle->isVisibleTo(rowOf(title)) ? subtitle->text() : QString();
    };
    EXPECT_EQ(note("Cycle next"), "");
    model->setRefusedHotKeys({controlOptionD, controlOptionL});
    EXPECT_EQ(note("Cycle next"), "In use by another program");
    EXPECT_EQ(note("Work"), "In use by another program");
    EXPECT_EQ(note("Cycle previous"), "");
    model->setRefusedHotKeys({controlOptionL});
    EXPECT_EQ(note("Cycle next"), "");
    EXPECT_EQ(find<KeyRecorderView>("Cycle next")->text(), "Ctrl+Alt+D");
}

// The open window follows the document on disk: a shortcut given to a desktop by a hand edit of
// config.json shows in its row, with the note of its refusal, without reopening the window.
TEST_F(ShortcutsSection, TheRowsFollowAnEditOnDiskAndItsRefusal)
{
    const HotKeySpec controlOptionL{37, HotKeySpec::control | HotKeySpec::option};
    openWith({"Default", "Work"});
    DocumentService service(paths.config(), paths.journal());
    service.announce();
    ASSERT_TRUE(service.watch());
    // The window and its model work with the service: they go before it.
    struct Close {
        SettingsViewHarness &harness;
        ~Close()
        {
            harness.view.reset();
            harness.model.reset();
        }
    } close{*this};
    model = std::make_unique<SettingsModel>(service, paths, &archiver, &files);
    show(SettingsSection::shortcuts);
    auto *work = find<KeyRecorderView>("Work");
    ASSERT_NE(work, nullptr);
    EXPECT_EQ(work->text(), "Record…");
    const auto note = [&] {
        QLabel *subtitle = qobject_cast<SettingRow *>(work->parent())->subtitleLabel();
        return subtitle && subtitle->isVisibleTo(work->parentWidget()) ? subtitle->text() : QString();
    };

    // The hot keys refuse it as they register it; the window hears of the document on disk.
    model->setRefusedHotKeys({controlOptionL});
    Config edited = stored();
    edited.workspaces[1].hotkey = controlOptionL;
    FileStateStore(paths.config(), paths.journal()).saveConfig(edited);
    ASSERT_TRUE(waitUntil([&] { return work->text() == "Ctrl+Alt+L"; }));
    EXPECT_EQ(note(), "In use by another program");

    edited.workspaces[1].hotkey.reset();
    FileStateStore(paths.config(), paths.journal()).saveConfig(edited);
    ASSERT_TRUE(waitUntil([&] { return work->text() == "Record…"; }));
    EXPECT_EQ(note(), "");
}

// A session that runs command lines for its shortcuts can't serve an action without one, and a
// session without global shortcuts serves none: each refused row gives that reason.
TEST_F(ShortcutsSection, ARefusedRowSaysWhyTheSessionCantServeIt)
{
    const HotKeySpec controlOptionL{37, HotKeySpec::control | HotKeySpec::option};
    const auto rowOf = [&](const char *title) { return qobject_cast<SettingRow *>(find<KeyRecorderView>(title)->parent()); };
    const auto note = [&](const char *title) {
        QLabel *subtitle = rowOf(title)->subtitleLabel();
        return subtitle && subtitle->isVisibleTo(rowOf(title)) ? subtitle->text() : QString();
    };
    const auto configure = [&](Config &c) {
        c.settings.cycleNext = controlOptionD;
        c.settings.switchToLastShortcut = controlOptionL;
    };
    services.shortcutRoad = ShortcutRoad::commandLines;
    openWith({"Default"}, configure);
    show(SettingsSection::shortcuts);
    model->setRefusedHotKeys({controlOptionD, controlOptionL});
    EXPECT_EQ(note("Cycle next"), "In use by another program");
    EXPECT_EQ(note("Switch to last desktop"), "This action has no command line the desktop could run");

    services.shortcutRoad = ShortcutRoad::none;
    show(SettingsSection::shortcuts);
    model->setRefusedHotKeys({controlOptionL});
    EXPECT_EQ(note("Switch to last desktop"), "This session gives Quorvane no global shortcuts");
    EXPECT_EQ(note("Cycle next"), "");
}
