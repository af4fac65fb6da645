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
