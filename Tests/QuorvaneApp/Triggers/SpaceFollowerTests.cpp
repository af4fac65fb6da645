#include "FakeSpaceIdentifier.h"
#include "Triggers/SpaceFollower.h"

#include <gtest/gtest.h>

using namespace quorvane;

namespace {

struct SpaceFollowerTest : ::testing::Test {
    test::FakeSpaceIdentifier spaces;
    int calls = 0;
    SpaceFollower follower{spaces, [this](const QString &) {
                               ++calls;
                               return SpaceFollowResult::done;
                           }};
};

} // namespace

TEST_F(SpaceFollowerTest, StartDoesNothingWhenSpacesCannotBeRead)
{
    spaces.isAvailable = false;
    follower.start();
    EXPECT_FALSE(follower.isStarted());
    EXPECT_FALSE(follower.lastHandled());
}

TEST_F(SpaceFollowerTest, StartTakesTheActiveSpaceAsHandledOnce)
{
    spaces.moveTo("A");
    follower.start();
    ASSERT_TRUE(follower.isStarted());
    EXPECT_EQ(follower.lastHandled(), "A");
    spaces.moveTo("B");
    follower.start(); // already started: unchanged
    EXPECT_EQ(follower.lastHandled(), "A");
    EXPECT_EQ(calls, 0);
}

TEST_F(SpaceFollowerTest, AdoptTakesTheCurrentSpaceOnlyWhileStarted)
{
    spaces.moveTo("A");
    follower.adoptCurrentSpace(); // not started
    EXPECT_FALSE(follower.lastHandled());

    follower.start();
    spaces.moveTo("B");
    follower.adoptCurrentSpace();
    EXPECT_EQ(follower.lastHandled(), "B");

    spaces.active.reset(); // nothing identifiable: the previous value stays
    follower.adoptCurrentSpace();
    EXPECT_EQ(follower.lastHandled(), "B");
}

TEST_F(SpaceFollowerTest, StopAllowsAFreshStart)
{
    spaces.moveTo("A");
    follower.start();
    follower.stop();
    EXPECT_FALSE(follower.isStarted());
    EXPECT_EQ(follower.retries(), 0);

    spaces.moveTo("B");
    follower.adoptCurrentSpace(); // stopped: ignored
    EXPECT_EQ(follower.lastHandled(), "A");
    follower.start();
    EXPECT_EQ(follower.lastHandled(), "B");
}

TEST(SpaceIdentifierLinux, TheProcessFollowerNeverStartsWithoutSpaces)
{
    SpaceFollower follower(SpaceIdentifier::shared(), [](const QString &) { return SpaceFollowResult::done; });
    follower.start();
    EXPECT_FALSE(follower.isStarted());
}
