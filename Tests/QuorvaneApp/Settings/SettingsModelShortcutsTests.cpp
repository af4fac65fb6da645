#include "SettingsModelHarness.h"

using namespace quorvane;
using namespace quorvane::test;

using SettingsModelShortcuts = SettingsModelHarness;

namespace {
const HotKeySpec controlOptionSpace{49, (1u << 18) | (1u << 19)};
}

TEST_F(SettingsModelShortcuts, ATakenCombinationNamesItsHolder)
{
    SettingsModel &m = openWith({"Work", "Play"}, [](Config &c) {
        c.workspaces[0].hotkey = HotKeySpec{122, 1u << 20};
        c.settings.cycleNext = controlOptionSpace;
    });
    m.setHotkey("Work", HotKeySpec{122, 1u << 20});
    EXPECT_FALSE(m.errorMessage());

    m.setCycle(false, controlOptionSpace);
    EXPECT_EQ(errorMessage(), "Ctrl+Alt+Space is already assigned to Cycle next.");
    EXPECT_EQ(stored().settings.cyclePrevious, std::nullopt);
    m.setSortNowShortcut(HotKeySpec{122, 1u << 20});
    EXPECT_EQ(errorMessage(), "Super+F1 is already assigned to “Work”.");

    m.setCycle(true, std::nullopt);
    m.setHotkey("Play", controlOptionSpace);
    EXPECT_EQ(stored().workspace("Play")->hotkey, controlOptionSpace);
    EXPECT_EQ(stored().settings.cycleNext, std::nullopt);
}

TEST_F(SettingsModelShortcuts, TheCarouselKeepsFourDistinctNames)
{
    SettingsModel &m = openWith({"A"});
    m.setOptionClickCarousel({"A", "B", "A", "C", "D", "E"});
    EXPECT_EQ(stored().settings.optionClickCarousel, QStringList({"A", "B", "C", "D"}));
    m.setOptionClickCarousel({"X", "X"});
    EXPECT_EQ(stored().settings.optionClickCarousel, QStringList({"X"}));
}
