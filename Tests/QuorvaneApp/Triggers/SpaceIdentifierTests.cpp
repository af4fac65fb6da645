#include "FakeSpaceProvider.h"
#include "Triggers/SpaceIdentifier.h"

#include <gtest/gtest.h>

using namespace quorvane;
using test::FakeSpaceProvider;

namespace {

QVariantMap display(const QVariant &id, const QVariantList &spaces, const QVariant &current)
{
    QVariantMap entry{{"Display Identifier", id}, {"Spaces", spaces}};
    if (current.isValid())
        entry.insert("Current Space", current);
    return entry;
}

} // namespace

TEST(SpaceIdentifier, NumbersTheWindowManagersDesktops)
{
    FakeSpaceProvider provider;
    SpaceIdentifier spaces(provider);
    provider.desktops(4, 2);
    EXPECT_EQ(spaces.activeSpace(), (SpaceInfo{"ewmh-desktop-2", true, 3}));
    EXPECT_EQ(spaces.userSpaceIdentities(),
              (QStringList{"ewmh-desktop-0", "ewmh-desktop-1", "ewmh-desktop-2", "ewmh-desktop-3"}));
    EXPECT_EQ(spaces.userSpaceNumber("ewmh-desktop-0"), 1);
    EXPECT_FALSE(spaces.userSpaceNumber("ewmh-desktop-9"));

    provider.isAvailable = false;
    EXPECT_FALSE(spaces.available());
    EXPECT_FALSE(spaces.activeSpace());
    EXPECT_TRUE(spaces.userSpaceIdentities().isEmpty());
}

TEST(SpaceIdentifier, ChoosesTheMainDisplaysEntry)
{
    FakeSpaceProvider provider;
    SpaceIdentifier spaces(provider);
    const auto space = [](const char *uuid, int type = 0) { return QVariant(FakeSpaceProvider::space(uuid, type)); };
    // A single entry is used whatever it is called.
    provider.entries = QVariantList{display("DISPLAY-X", {space("s1")}, space("s1"))};
    EXPECT_EQ(spaces.activeSpace()->identity, "s1");

    // Several: the main display's identifier, then "Main", then the first.
    const QVariantList three{display("LEFT", {space("l")}, space("l")), display("Main", {space("m")}, space("m")),
                             display("UUID-1", {space("u")}, space("u"))};
    provider.entries = three;
    EXPECT_EQ(spaces.activeSpace()->identity, "m");
    provider.mainDisplay = "UUID-1";
    EXPECT_EQ(spaces.activeSpace()->identity, "u");
    provider.mainDisplay = "UUID-GONE";
    provider.entries = QVariantList{three[0], three[2]};
    EXPECT_EQ(spaces.activeSpace()->identity, "l");
}

TEST(SpaceIdentifier, MalformedEntriesReadAsNothing)
{
    FakeSpaceProvider provider;
    SpaceIdentifier spaces(provider);
    const auto space = [](const char *uuid, int type = 0) { return QVariant(FakeSpaceProvider::space(uuid, type)); };

    provider.entries = QVariantList{};
    EXPECT_FALSE(spaces.activeSpace());
    provider.entries = QVariantList{QVariant("not a map")};
    EXPECT_FALSE(spaces.activeSpace());
    provider.entries = QVariantList{display("Main", {space("a")}, QVariant())}; // no current Space
    EXPECT_FALSE(spaces.activeSpace());
    EXPECT_EQ(spaces.userSpaceIdentities(), QStringList{"a"});
    provider.entries = QVariantList{display("Main", {space("a")}, QVariant("a"))};
    EXPECT_FALSE(spaces.activeSpace());

    // Without a uuid (or with an empty one) a Space is "primary-space"; a type that is not the
    // integer 0 is not a user Space; a "Spaces" of another type gives no list.
    QVariantMap noUuid{{"type", 0}};
    QVariantMap emptyUuid{{"uuid", ""}, {"type", 0}};
    QVariantMap textType{{"uuid", "t"}, {"type", "0"}};
    QVariant fullScreen = space("f", 4);
    provider.entries = QVariantList{display("Main", {noUuid, textType, fullScreen, QVariant(7), emptyUuid}, noUuid)};
    EXPECT_EQ(spaces.activeSpace(), (SpaceInfo{"primary-space", true, 1}));
    EXPECT_EQ(spaces.userSpaceIdentities(), (QStringList{"primary-space", "primary-space"}));
    provider.entries = QVariantList{display("Main", {fullScreen}, fullScreen)};
    EXPECT_EQ(spaces.activeSpace(), (SpaceInfo{"f", false, std::nullopt}));
    QVariantMap broken{{"Display Identifier", "Main"}, {"Spaces", "none"}, {"Current Space", space("z")}};
    provider.entries = QVariantList{broken};
    EXPECT_TRUE(spaces.userSpaceIdentities().isEmpty());
    EXPECT_EQ(spaces.activeSpace(), (SpaceInfo{"z", true, std::nullopt}));
}

TEST(SpaceIdentifier, TheSessionHasNoWorkspacesWithoutX11)
{
    // The tests run on the offscreen platform: no window manager to ask.
    LinuxSpaceProvider session;
    const SpaceIdentifier spaces(session);
    EXPECT_FALSE(spaces.available());
    EXPECT_FALSE(spaces.activeSpace());
}
