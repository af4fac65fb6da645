#include "FakeSessionEvents.h"
#include "FakeSpaceProvider.h"
#include "ManualScheduler.h"
#include "Shared/DocumentService.h"
#include "TestEnvironment.h"
#include "Triggers/SpaceFollower.h"

#include <QDir>

#include <gtest/gtest.h>

using namespace quorvane;

namespace {

struct SpaceFollowerTest : ::testing::Test {
    test::FakeSpaceProvider provider;
    SpaceIdentifier spaces{provider};
    test::FakeSessionEvents session;
    test::ManualScheduler clock;
    std::vector<QString> asked;
    std::vector<SpaceFollowResult> answers; // consumed in order; done once empty
    SpaceFollower follower{spaces, session, clock, [this](const QString &identity) {
                               asked.push_back(identity);
                               if (answers.empty())
                                   return SpaceFollowResult::done;
                               const SpaceFollowResult answer = answers.front();
                               answers.erase(answers.begin());
                               return answer;
                           }};

    void SetUp() override { provider.moveTo("A"); }
    void go(const QString &space, bool isUser = true)
    {
        provider.moveTo(space, isUser);
        session.changeWorkspace();
    }
};

} // namespace

TEST_F(SpaceFollowerTest, StartsOnlyWhereSpacesCanBeReadAndOnlyOnce)
{
    provider.isAvailable = false;
    follower.start();
    EXPECT_FALSE(follower.isStarted());
    EXPECT_EQ(session.observerCount(), 0u);

    provider.isAvailable = true;
    follower.start();
    ASSERT_TRUE(follower.isStarted());
    EXPECT_EQ(follower.lastHandled(), "A");
    provider.moveTo("B");
    follower.start(); // already started: unchanged
    EXPECT_EQ(follower.lastHandled(), "A");
    EXPECT_EQ(session.observerCount(), 1u);

    follower.stop();
    EXPECT_EQ(session.observerCount(), 0u);
    follower.adoptCurrentSpace(); // stopped: ignored
    EXPECT_EQ(follower.lastHandled(), "A");
    go("C");
    clock.advance(5);
    EXPECT_TRUE(asked.empty());
    follower.start();
    EXPECT_EQ(follower.lastHandled(), "C");
}

TEST_F(SpaceFollowerTest, ChangesInQuickSuccessionAreEvaluatedOnceAfterTheySettle)
{
    follower.start();
    go("B");
    clock.advance(0.3);
    go("C");
    clock.advance(0.59);
    EXPECT_TRUE(asked.empty());
    clock.advance(0.02);
    EXPECT_EQ(asked, std::vector<QString>{"C"});
    EXPECT_EQ(follower.lastHandled(), "C");

    go("C");        // the handled Space again: nothing is asked
    go("D", false); // a full-screen Space: nothing is asked, nothing recorded
    clock.advance(1);
    EXPECT_EQ(asked.size(), 1u);
    EXPECT_EQ(follower.lastHandled(), "C");
}

TEST_F(SpaceFollowerTest, BusyAnswersAreRetriedFiveTimesThenDropped)
{
    follower.start();
    answers.assign(6, SpaceFollowResult::busy);
    go("B");
    clock.advance(0.6);
    EXPECT_EQ(asked.size(), 1u);
    EXPECT_EQ(follower.retries(), 1);
    clock.advance(5 * 0.3 + 0.01);
    EXPECT_EQ(asked.size(), 6u);
    EXPECT_EQ(follower.retries(), 0);
    EXPECT_EQ(follower.lastHandled(), "A");
    EXPECT_FALSE(follower.hasPendingStep());
}

TEST_F(SpaceFollowerTest, ASwitchIsVerifiedAQuarterSecondLater)
{
    follower.start();
    answers = {SpaceFollowResult::switched};
    go("B");
    clock.advance(0.6);
    ASSERT_EQ(asked.size(), 1u);
    provider.moveTo("C"); // the user went on meanwhile
    clock.advance(0.24);
    EXPECT_EQ(asked.size(), 1u);
    clock.advance(0.02);
    EXPECT_EQ(asked, (std::vector<QString>{"B", "C"}));
    EXPECT_EQ(follower.lastHandled(), "C");
}

TEST_F(SpaceFollowerTest, AScreenChangeInsideTheSettleAdoptsInsteadOfSwitching)
{
    follower.start();
    go("B");
    clock.advance(0.3);
    follower.screenParametersChanged();
    clock.advance(2.9);
    EXPECT_EQ(follower.lastHandled(), "A");
    clock.advance(0.2);
    EXPECT_EQ(follower.lastHandled(), "B");
    EXPECT_TRUE(asked.empty());

    follower.screenParametersChanged();
    clock.advance(1);
    go("C"); // a workspace change during the quiet replaces the adoption
    clock.advance(0.6);
    EXPECT_EQ(asked, std::vector<QString>{"C"});
}

TEST_F(SpaceFollowerTest, AdoptingCancelsThePendingStep)
{
    follower.start();
    go("B");
    follower.adoptCurrentSpace();
    EXPECT_EQ(follower.lastHandled(), "B");
    clock.advance(1);
    EXPECT_TRUE(asked.empty());
    provider.entries.reset(); // nothing identifiable: the previous value stays
    follower.adoptCurrentSpace();
    EXPECT_EQ(follower.lastHandled(), "B");
}

TEST_F(SpaceFollowerTest, FollowsWhileTheDocumentAsksAndSpacesCanBeRead)
{
    test::TempHome home;
    const QString store = home.filePath("store");
    QDir().mkpath(store);
    DocumentService documents(store + "/config.json", store + "/journal.json");
    SpaceFollower following(
        spaces, session, clock, [](const QString &) { return SpaceFollowResult::done; },
        &documents);
    documents.announce();
    EXPECT_FALSE(following.isStarted());

    provider.isAvailable = false;
    documents.mutateConfig([](Config &config) { config.settings.followSpaces = true; });
    EXPECT_FALSE(following.isStarted());
    provider.isAvailable = true; // a window manager's workspaces became known
    following.refresh();
    EXPECT_TRUE(following.isStarted());
    EXPECT_EQ(following.lastHandled(), "A");

    documents.mutateConfig([](Config &config) { config.settings.followSpaces = false; });
    EXPECT_FALSE(following.isStarted());
    following.refresh();
    EXPECT_FALSE(following.isStarted());
}
