#include "Fakes/FakeHotKeyRegistrar.h"
#include "Shared/DocumentService.h"
#include "TestEnvironment.h"
#include "Triggers/HotKeyCenter.h"

#include <QDir>
#include <gtest/gtest.h>

using namespace quorvane;
using Owner = HotKeyAssignment::Owner;

namespace {

constexpr std::uint32_t controlOption = HotKeySpec::control | HotKeySpec::option;

struct HotKeyCenterTest : ::testing::Test {
    test::FakeHotKeyRegistrar *registrar = new test::FakeHotKeyRegistrar;
    HotKeyCenter center{std::unique_ptr<HotKeyRegistrar>(registrar)};
    std::vector<Owner> heard;

    void SetUp() override
    {
        QObject::connect(&center, &HotKeyCenter::triggered, [this](const Owner &owner) { heard.push_back(owner); });
    }
    static HotKeyAssignment key(std::uint32_t keyCode, const QString &desktop, std::uint32_t modifiers = HotKeySpec::command)
    {
        return {Owner::workspace(desktop), HotKeySpec{keyCode, modifiers}};
    }
};

} // namespace

TEST(HotKeyCombination, StoredShortcutsBecomeQtCombinationsAndBack)
{
    struct Case {
        HotKeySpec spec;
        QKeyCombination combination;
    } cases[] = {
        {{18, controlOption}, Qt::CTRL | Qt::ALT | Qt::Key_1},
        {{0, HotKeySpec::command | HotKeySpec::shift}, Qt::META | Qt::SHIFT | Qt::Key_A},
        {{122, 0}, QKeyCombination(Qt::Key_F1)},
        {{83, HotKeySpec::control}, Qt::ControlModifier | Qt::KeypadModifier | Qt::Key_1}, // the keypad's 1, not the row's
        {{10, HotKeySpec::option}, Qt::ALT | Qt::Key_section},
        {{76, HotKeySpec::control}, Qt::ControlModifier | Qt::KeypadModifier | Qt::Key_Enter},
    };
    for (const Case &c : cases) {
        EXPECT_EQ(keyCombination(c.spec), c.combination) << c.spec.keyCode;
        EXPECT_EQ(hotKeySpec(c.combination), c.spec) << c.spec.keyCode;
    }
    // Stray stored bits (caps lock, the function key) are dropped on the way; keys off the table
    // have no combination.
    EXPECT_EQ(keyCombination({18, HotKeySpec::control | 0x10000 | 0x800000}), Qt::CTRL | Qt::Key_1);
    EXPECT_FALSE(keyCombination({102, HotKeySpec::control}));
    EXPECT_FALSE(hotKeySpec(Qt::CTRL | Qt::Key_Launch0));
    EXPECT_FALSE(hotKeySpec(Qt::ControlModifier | Qt::KeypadModifier | Qt::Key_A));
}

TEST_F(HotKeyCenterTest, RegistersInQtTermsUnderSuccessiveIdsAndTellsWhoseKeyWasPressed)
{
    ASSERT_TRUE(center.registerHotKey(key(18, "Work", controlOption)));
    ASSERT_TRUE(center.registerHotKey({Owner::cycleNext(), {19, HotKeySpec::command}}));
    ASSERT_EQ(registrar->grabs.size(), 2u);
    EXPECT_EQ(registrar->grabs[0].combination, Qt::CTRL | Qt::ALT | Qt::Key_1);
    EXPECT_EQ(registrar->grabs[0].id, 1u);
    EXPECT_EQ(registrar->grabs[1].id, 2u);
    // Where the desktop runs the key itself, it runs the command line's request.
    EXPECT_EQ(registrar->grabs[0].command,
              (HotKeyRegistrar::Command{"Quorvane: Work", {"--switch-to", "Work"}}));
    EXPECT_EQ(registrar->grabs[1].command, (HotKeyRegistrar::Command{"Quorvane: Cycle next", {"--next"}}));

    registrar->pressId(2);
    registrar->pressId(1);
    registrar->pressId(7); // unknown: ignored
    ASSERT_EQ(heard.size(), 2u);
    EXPECT_EQ(heard[0], Owner::cycleNext());
    EXPECT_EQ(heard[1], Owner::workspace("Work"));
}

TEST_F(HotKeyCenterTest, RefusalsChangeNothingAndAreToldTheSettings)
{
    registrar->refuseAll = true;
    EXPECT_FALSE(center.registerHotKey(key(18, "A")));
    EXPECT_FALSE(center.registerHotKey(key(102, "A"))); // no Qt key: never reaches the registrar
    EXPECT_EQ(center.registrationCount(), 0u);
    registrar->refuseAll = false;
    EXPECT_FALSE(center.registerHotKey(key(102, "A")));
    ASSERT_TRUE(center.registerHotKey(key(18, "A")));
    EXPECT_EQ(registrar->grabs.back().id, 1u); // the refused ones used no id

    // A registrar that answers later: the key leaves the registry and joins the refused ones.
    int told = 0;
    QObject::connect(&center, &HotKeyCenter::refusedChanged, [&] { ++told; });
    ASSERT_TRUE(center.registerHotKey(key(19, "B")));
    emit registrar->refused(2);
    EXPECT_EQ(told, 1);
    EXPECT_EQ(center.registrationCount(), 1u);
    EXPECT_EQ(center.refusedHotKeys(), (std::vector<HotKeySpec>{{19, HotKeySpec::command}}));
    registrar->pressId(2);
    EXPECT_TRUE(heard.empty());
    emit registrar->refused(9); // not ours
    EXPECT_EQ(told, 1);
}

TEST_F(HotKeyCenterTest, ResetUnregistersEverythingAndRestartsIds)
{
    center.registerHotKey(key(18, "A"));
    center.registerHotKey(key(19, "B"));
    center.reset();
    EXPECT_TRUE(registrar->held.empty());
    EXPECT_EQ(center.registrationCount(), 0u);
    registrar->pressId(1);
    EXPECT_TRUE(heard.empty());
    center.registerHotKey(key(20, "C"));
    EXPECT_EQ(registrar->grabs.back().id, 1u);
}

TEST_F(HotKeyCenterTest, AReceiverMayRegisterTheKeysAnewWhileTold)
{
    QObject::connect(&center, &HotKeyCenter::triggered, [this](const Owner &owner) {
        center.reset();
        center.registerHotKey({owner, {18, HotKeySpec::command}});
    });
    center.registerHotKey(key(18, "A"));
    registrar->pressId(1);
    registrar->pressId(1);
    ASSERT_EQ(heard.size(), 2u);
    EXPECT_EQ(heard[1], Owner::workspace("A"));
    EXPECT_EQ(registrar->held.size(), 1u);
}

TEST_F(HotKeyCenterTest, SuspendedKeysAreLetGoAndTakenBackUnderTheirIds)
{
    center.registerHotKey(key(18, "A"));
    center.suspend();
    center.suspend(); // nested: only the last resume takes them back
    EXPECT_TRUE(registrar->held.empty());
    EXPECT_TRUE(center.registerHotKey(key(19, "B")));
    EXPECT_TRUE(registrar->held.empty());
    center.resume();
    EXPECT_TRUE(registrar->held.empty());
    registrar->refusedKeyCodes = {19};
    int refusals = 0;
    QObject::connect(&center, &HotKeyCenter::refusedChanged, [&refusals] { ++refusals; });
    center.resume();
    // Refused on resuming (a key recorded while the recorder held the grabs): said at once.
    EXPECT_EQ(center.refusedHotKeys(), std::vector<HotKeySpec>{key(19, "B").spec});
    EXPECT_EQ(refusals, 1);
    EXPECT_EQ(registrar->liveKeyCodes(), std::vector<std::uint32_t>{18});
    EXPECT_EQ(registrar->grabs.back().id, 1u);
    EXPECT_EQ(center.registrationCount(), 1u); // the refused one is dropped
    registrar->pressId(1);
    registrar->pressId(2);
    EXPECT_EQ(heard, std::vector<Owner>{Owner::workspace("A")});
    center.resume(); // unmatched: nothing
    EXPECT_EQ(registrar->held.size(), 1u);
}

TEST(HotKeyCenterCommands, OnlyActionsTheCommandLineCanAskForHaveACommand)
{
    EXPECT_EQ(HotKeyCenter::command(Owner::hideDesktop()),
              (HotKeyRegistrar::Command{"Quorvane: Hide / show desktop", {"--hide-desktop"}}));
    EXPECT_EQ(HotKeyCenter::command(Owner::cyclePrevious())->arguments, QStringList{"--previous"});
    EXPECT_EQ(HotKeyCenter::command(Owner::openSettings())->arguments, QStringList{}); // a plain second start
    for (const Owner &owner : {Owner::switchToLast(), Owner::openCalendar(), Owner::sortNow(), Owner::floatingDock()})
        EXPECT_FALSE(HotKeyCenter::command(owner)) << int(owner.kind);
}

TEST(HotKeyCenterWithoutRegistrar, EveryKeyIsRefused)
{
    HotKeyCenter center;
    EXPECT_FALSE(center.registerHotKey({Owner::cycleNext(), {18, HotKeySpec::command}}));
    EXPECT_EQ(center.registrationCount(), 0u);
}

TEST(HotKeyCenterLifetime, ACentreGoingAwayLetsGoOfItsKeysOnARegistrarThatStays)
{
    test::FakeHotKeyRegistrar registrar;
    int runs = 0;
    {
        HotKeyCenter center(&registrar);
        QObject::connect(&center, &HotKeyCenter::triggered, [&] { ++runs; });
        center.registerHotKey({Owner::cycleNext(), {18, HotKeySpec::command}});
        ASSERT_EQ(registrar.held.size(), 1u);
    }
    EXPECT_TRUE(registrar.held.empty());
    registrar.pressId(1); // reaches nothing
    EXPECT_EQ(runs, 0);
}

// The centre follows the document service: the first document releases what a crashed process
// left, and each change of the desktops or the settings registers the keys anew.
TEST(HotKeyCenterFollowingTheDocument, ChangesOfTheDocumentReachTheKeys)
{
    test::TempHome home;
    const QString folder = home.filePath("store");
    QDir().mkpath(folder);
    DocumentService document(folder + "/config.json", folder + "/journal.json");
    test::FakeHotKeyRegistrar registrar;
    HotKeyCenter center(&registrar, &document);
    document.mutateConfig([](Config &config) {
        Workspace a, b;
        a.name = "A";
        b.name = "B";
        b.hotkey = HotKeySpec{11, controlOption};
        config.workspaces = {a, b};
        config.settings.cycleNext = HotKeySpec{45, controlOption};
    });
    EXPECT_TRUE(registrar.held.empty()); // nothing before the launch announces
    document.announce();
    EXPECT_EQ(registrar.leftoversReleased, 1);
    EXPECT_EQ(registrar.liveKeyCodes(), (std::vector<std::uint32_t>{11, 45}));

    registrar.refusedKeyCodes = {45};
    document.mutateConfig([](Config &config) { config.workspaces[0].hotkey = HotKeySpec{0, controlOption}; });
    EXPECT_EQ(registrar.liveKeyCodes(), (std::vector<std::uint32_t>{0, 11}));
    EXPECT_EQ(center.refusedHotKeys(), (std::vector<HotKeySpec>{{45, controlOption}}));
    document.mutateConfig([](Config &config) { config.activeWorkspace = "B"; });
    EXPECT_EQ(registrar.leftoversReleased, 1);
    EXPECT_EQ(registrar.grabs.size(), 4u); // the active desktop's change registers nothing
}
