#include "Keys/X11KeyLayout.h"

#include "X11Support.h"

#include <gtest/gtest.h>

using namespace quorvane;
using namespace quorvane::test;

TEST(X11KeyLayout, ReadsTheFirstLevelOfTheLayoutInEffect)
{
    X11KeyLayout layout;
    ASSERT_TRUE(layout.available());
    ASSERT_TRUE(run("setxkbmap", {"us"}));
    EXPECT_EQ(layout.characters(0), QStringLiteral("a"));
    EXPECT_EQ(layout.characters(2), QStringLiteral("d"));
    EXPECT_EQ(layout.characters(29), QStringLiteral("0"));
    EXPECT_EQ(layout.characters(41), QStringLiteral(";"));
    EXPECT_FALSE(layout.characters(122)); // F1 types no text
    EXPECT_FALSE(layout.characters(200)); // outside the table

    // The key where a US board has A types Q on a French layout; its first level is a dead key
    // on a German one.
    ASSERT_TRUE(run("setxkbmap", {"fr"}));
    EXPECT_EQ(layout.characters(0), QStringLiteral("q"));
    ASSERT_TRUE(run("setxkbmap", {"de"}));
    EXPECT_EQ(layout.characters(16), QStringLiteral("z")); // US Y
    EXPECT_FALSE(layout.characters(50));                   // dead circumflex
    ASSERT_TRUE(run("setxkbmap", {"us"}));
}

TEST(X11KeyLayout, ReadsWhatShiftTypesOnTheLayoutInEffect)
{
    X11KeyLayout layout;
    ASSERT_TRUE(layout.available());
    constexpr std::uint32_t key1 = 18, key2 = 19, keyA = 0;
    ASSERT_TRUE(run("setxkbmap", {"us"}));
    EXPECT_EQ(layout.shiftedCharacters(key2), QStringLiteral("@"));
    EXPECT_EQ(layout.shiftedCharacters(keyA), QStringLiteral("A"));
    EXPECT_FALSE(layout.shiftedCharacters(122)); // F1
    ASSERT_TRUE(run("setxkbmap", {"de"}));
    EXPECT_EQ(layout.shiftedCharacters(key2), QStringLiteral("\""));
    ASSERT_TRUE(run("setxkbmap", {"fr"}));
    EXPECT_EQ(layout.shiftedCharacters(key1), QStringLiteral("1"));
    EXPECT_EQ(layout.characters(key2), QStringLiteral("\u00e9"));
    ASSERT_TRUE(run("setxkbmap", {"us"}));

    // A layout of its own connection reads the same server.
    const auto own = X11KeyLayout::ofDisplay();
    ASSERT_TRUE(own && own->available());
    EXPECT_EQ(own->shiftedCharacters(key2), QStringLiteral("@"));
}
