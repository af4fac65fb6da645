#include "Fakes/FakeHotKeyRegistrar.h"
#include "Triggers/HotKeyCenter.h"

#include <gtest/gtest.h>

using namespace quorvane;

namespace {

struct HotKeyCenterTest : ::testing::Test {
    test::FakeHotKeyRegistrar *registrar = new test::FakeHotKeyRegistrar;
    HotKeyCenter center{std::unique_ptr<HotKeyRegistrar>(registrar)};
};

} // namespace

TEST(HotKeyNames, CarbonModifiersMapEachFlagAndDropTheRest)
{
    struct Case {
        std::uint32_t in, out;
    } cases[] = {
        {HotKeySpec::command, 0x100},
        {HotKeySpec::option, 0x800},
        {HotKeySpec::control, 0x1000},
        {HotKeySpec::shift, 0x200},
        {HotKeySpec::modifierMask, 0x1B00},
        {0x10000 | 0x800000 | 0x100, 0}, // caps lock, function key, a stray low bit
        {HotKeySpec::control | HotKeySpec::shift | 0x10000, 0x1200},
    };
    for (const Case &c : cases)
        EXPECT_EQ(carbonModifiers(c.in), c.out) << std::hex << c.in;
}

TEST_F(HotKeyCenterTest, RegistersUnderSignatureAndSuccessiveIds)
{
    int first = 0, second = 0;
    ASSERT_TRUE(center.registerHotKey({18, HotKeySpec::control | HotKeySpec::option}, [&] { ++first; }));
    ASSERT_TRUE(center.registerHotKey({19, HotKeySpec::command}, [&] { ++second; }));
    ASSERT_EQ(registrar->grabs.size(), 2u);
    EXPECT_EQ(registrar->grabs[0].keyCode, 18u);
    EXPECT_EQ(registrar->grabs[0].modifiers, 0x1800u);
    EXPECT_EQ(registrar->grabs[0].id, (HotKeyRegistrar::HotKeyId{0x5152564E, 1}));
    EXPECT_EQ(registrar->grabs[1].id.id, 2u);

    registrar->pressId(2);
    registrar->pressId(2);
    registrar->pressId(7); // unknown: ignored
    EXPECT_EQ(first, 0);
    EXPECT_EQ(second, 2);
}

TEST_F(HotKeyCenterTest, RefusedRegistrationChangesNothing)
{
    registrar->refuseAll = true;
    EXPECT_FALSE(center.registerHotKey({18, HotKeySpec::command}, [] {}));
    EXPECT_EQ(center.registrationCount(), 0u);
    registrar->refuseAll = false;
    ASSERT_TRUE(center.registerHotKey({18, HotKeySpec::command}, [] {}));
    EXPECT_EQ(registrar->grabs.back().id.id, 1u); // the refused one used no id
}

TEST_F(HotKeyCenterTest, ResetUnregistersEverythingAndRestartsIds)
{
    center.reset(); // nothing registered yet: nothing to release, ids still start at 1
    EXPECT_EQ(center.registrationCount(), 0u);
    int runs = 0;
    center.registerHotKey({18, HotKeySpec::command}, [&] { ++runs; });
    center.registerHotKey({19, HotKeySpec::command}, [&] { ++runs; });
    center.reset();
    EXPECT_TRUE(registrar->live.empty());
    EXPECT_EQ(center.registrationCount(), 0u);
    registrar->pressId(1);
    EXPECT_EQ(runs, 0);
    center.registerHotKey({20, HotKeySpec::command}, [] {});
    EXPECT_EQ(registrar->grabs.back().id.id, 1u);
}

TEST_F(HotKeyCenterTest, ActionMayReRegisterTheKeysWhileRunning)
{
    int runs = 0;
    std::function<void()> reapply;
    reapply = [&] {
        ++runs;
        center.reset();
        center.registerHotKey({18, HotKeySpec::command}, reapply);
    };
    center.registerHotKey({18, HotKeySpec::command}, reapply);
    registrar->pressId(1);
    registrar->pressId(1);
    EXPECT_EQ(runs, 2);
    EXPECT_EQ(registrar->live.size(), 1u);
}

TEST_F(HotKeyCenterTest, SuspendedKeysAreLetGoAndTakenBackUnderTheirIds)
{
    int runs = 0;
    center.registerHotKey({18, HotKeySpec::command}, [&] { ++runs; });
    center.suspend();
    center.suspend(); // nested: only the last resume takes them back
    EXPECT_TRUE(registrar->live.empty());
    EXPECT_TRUE(center.registerHotKey({19, HotKeySpec::command}, [&] { runs += 10; }));
    EXPECT_TRUE(registrar->live.empty());
    center.resume();
    EXPECT_TRUE(registrar->live.empty());
    registrar->refusedKeyCodes = {19};
    center.resume();
    EXPECT_EQ(registrar->liveKeyCodes(), std::vector<std::uint32_t>{18});
    EXPECT_EQ(registrar->grabs.back().id.id, 1u);
    EXPECT_EQ(center.registrationCount(), 1u); // the refused one is dropped
    registrar->pressId(1);
    registrar->pressId(2);
    EXPECT_EQ(runs, 1);
    center.resume(); // unmatched: nothing
    EXPECT_EQ(registrar->live.size(), 1u);
}

TEST(HotKeyCenterWithoutRegistrar, EveryKeyIsRefused)
{
    HotKeyCenter center;
    EXPECT_FALSE(center.registerHotKey({18, HotKeySpec::command}, [] {}));
    EXPECT_EQ(center.registrationCount(), 0u);
}

TEST(HotKeyCenterLifetime, ACentreGoingAwayLetsGoOfItsKeysOnARegistrarThatStays)
{
    test::FakeHotKeyRegistrar registrar;
    int runs = 0;
    {
        HotKeyCenter center(&registrar);
        center.registerHotKey({18, HotKeySpec::command}, [&] { ++runs; });
        ASSERT_EQ(registrar.live.size(), 1u);
    }
    EXPECT_TRUE(registrar.live.empty());
    registrar.pressId(1); // reaches nothing
    EXPECT_EQ(runs, 0);
}
