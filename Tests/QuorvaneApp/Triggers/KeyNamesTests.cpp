#include "Keys/KeyLayout.h"
#include "Triggers/KeyNames.h"

#include <gtest/gtest.h>

#include <map>

using namespace quorvane;

namespace {

// A layout that types what the test says and nothing else.
struct ScriptedLayout final : KeyLayout {
    std::map<std::uint32_t, QString> keys;
    std::optional<QString> characters(std::uint32_t virtualKey) const override
    {
        const auto found = keys.find(virtualKey);
        return found == keys.end() ? std::nullopt : std::optional<QString>(found->second);
    }
};

struct KeyNamesWithLayout : ::testing::Test {
    ScriptedLayout layout;
    void SetUp() override { useKeyLayout(&layout); }
    void TearDown() override { useKeyLayout(nullptr); }
};

} // namespace

TEST(KeyNames, SpecialKeysHaveFixedNamesOthersComeFromTheUsLayout)
{
    const std::pair<std::uint32_t, QString> table[] = {
        {49, "Space"},
        {36, "Return"},
        {48, "Tab"},
        {53, "Esc"},
        {51, "Backspace"},
        {117, "Delete"},
        {123, "Left"},
        {124, "Right"},
        {126, "Up"},
        {125, "Down"},
        {115, "Home"},
        {119, "End"},
        {116, "Page Up"},
        {121, "Page Down"},
        {122, "F1"},
        {120, "F2"},
        {99, "F3"},
        {118, "F4"},
        {96, "F5"},
        {97, "F6"},
        {98, "F7"},
        {100, "F8"},
        {101, "F9"},
        {109, "F10"},
        {103, "F11"},
        {111, "F12"},
    };
    for (const auto &[code, name] : table)
        EXPECT_EQ(keyName(code), name) << code;
    EXPECT_EQ(keyName(0), "A");
    EXPECT_EQ(keyName(2), "D");
    EXPECT_EQ(keyName(41), ";");
    EXPECT_EQ(keyName(105), "Key 105"); // F13 types nothing
    EXPECT_EQ(keyName(200), "Key 200");
    EXPECT_EQ(keyName(4294967295u), "Key 4294967295");
}

TEST(KeyNames, ModifierNamesInCtrlAltShiftSuperOrderJoinedByPlus)
{
    EXPECT_EQ(modifierGlyphs(0), "");
    EXPECT_EQ(modifierGlyphs(0x1E0000), "Ctrl+Alt+Shift+Super+");
    EXPECT_EQ(modifierGlyphs(0x120000), "Shift+Super+");
    EXPECT_EQ(modifierGlyphs(HotKeySpec::command | HotKeySpec::control), "Ctrl+Super+");
    EXPECT_EQ(modifierGlyphs(HotKeySpec::shift | 0x10000), "Shift+"); // caps lock shows nothing
    EXPECT_EQ(shortcutText({2, HotKeySpec::control | HotKeySpec::option}), "Ctrl+Alt+D");
    EXPECT_EQ(shortcutText({19, HotKeySpec::option | HotKeySpec::shift}), "Alt+Shift+2");
    EXPECT_EQ(shortcutText({2, HotKeySpec::command}), "Super+D");
    EXPECT_EQ(shortcutText({51, HotKeySpec::command}), "Super+Backspace");
}

TEST_F(KeyNamesWithLayout, NamesFollowTheLayoutInUseUpperCased)
{
    layout.keys = {{0, "q"}, {12, "a"}, {41, "ö"}, {49, "x"}, {76, "\r"}, {33, ""}, {7, "ß"}};
    EXPECT_EQ(keyName(0), "Q");
    EXPECT_EQ(keyName(12), "A");
    EXPECT_EQ(keyName(41), "Ö");
    EXPECT_EQ(keyName(7), "SS");
    EXPECT_EQ(keyName(49), "Space");  // the fixed name wins on any layout
    EXPECT_EQ(keyName(76), "Key 76"); // a control character is no name
    EXPECT_EQ(keyName(33), "Key 33"); // a dead key types nothing yet
    EXPECT_EQ(keyName(1), "Key 1");

    layout.keys = {{65536 + 0, "z"}};
    EXPECT_FALSE(printableKeyName(65536));
}
