#include "DecodeError.h"
#include "HotKeyAssignment.h"
#include "HotKeySpec.h"
#include "IconPosition.h"
#include "TestEnvironment.h"
#include "WorkspaceTypes.h"

#include <QJsonDocument>
#include <gtest/gtest.h>

using namespace quorvane;
using quorvane::test::parse;

TEST(WorkspaceEnums, RawStringsInCaseOrder)
{
    EXPECT_EQ(toString(WorkspaceType::temporary), "temporary");
    EXPECT_EQ(allCases<WorkspaceType>().size(), 2u);
    EXPECT_EQ(toString(WorkspaceState::archivedUnsorted), "archivedUnsorted");
    EXPECT_EQ(toString(WorkspaceState::archivedSorted), "archivedSorted");
    EXPECT_EQ(toString(ClearMode::archive), "archive");
    EXPECT_EQ(toString(ArchiveTimerMode::fixed), "fixed");
    EXPECT_EQ(fromString<ArchiveTimerMode>(u"none"), ArchiveTimerMode::none);
    EXPECT_FALSE(fromString<ClearMode>(u"Keep"));

    EXPECT_FALSE(isArchived(WorkspaceState::active));
    EXPECT_TRUE(isArchived(WorkspaceState::archivedUnsorted));
    EXPECT_TRUE(isArchived(WorkspaceState::archivedSorted));
}

TEST(ArchiveTimer, BothKeysRequired)
{
    EXPECT_EQ(ArchiveTimer::fromJson(parse(R"({"mode":"idle","days":-2})")), (ArchiveTimer{ArchiveTimerMode::idle, -2}));
    const ArchiveTimer t{ArchiveTimerMode::fixed, 30};
    EXPECT_EQ(ArchiveTimer::fromJson(t.toJson()), t);
    EXPECT_THROW(ArchiveTimer::fromJson(parse(R"({"mode":"idle"})")), DecodeError);
    EXPECT_THROW(ArchiveTimer::fromJson(parse(R"({"days":1})")), DecodeError);
    EXPECT_THROW(ArchiveTimer::fromJson(parse(R"({"mode":"idle","days":1.5})")), DecodeError);
}

TEST(IconPosition, SignedCoordinatesBothRequired)
{
    const IconPosition p = IconPosition::fromJson(parse(R"({"x":-1200,"y":3000000000})"));
    EXPECT_EQ(p, (IconPosition{-1200, 3000000000LL}));
    EXPECT_EQ(IconPosition::fromJson(p.toJson()), p);
    EXPECT_THROW(IconPosition::fromJson(parse(R"({"x":1})")), DecodeError);
    EXPECT_THROW(IconPosition::fromJson(parse(R"({"x":1,"y":null})")), DecodeError);
    EXPECT_THROW(IconPosition::fromJson(parse(R"({"x":"1","y":2})")), DecodeError);
    EXPECT_NE((IconPosition{1, 2}), (IconPosition{2, 1}));
}

TEST(HotKeySpec, ModifiersAreNeverMaskedOrIgnored)
{
    const HotKeySpec cmdOne{18, HotKeySpec::command};
    EXPECT_NE(cmdOne, (HotKeySpec{18, HotKeySpec::command | HotKeySpec::option}));
    EXPECT_NE(cmdOne, (HotKeySpec{19, HotKeySpec::command}));

    // A stored value outside the modifier mask is kept as it is.
    const HotKeySpec odd = HotKeySpec::fromJson(parse(R"({"keyCode":0,"modifiers":4294967295})"));
    EXPECT_EQ(odd.modifiers, 0xFFFFFFFFu);
    EXPECT_EQ(HotKeySpec::fromJson(odd.toJson()), odd);

    EXPECT_THROW(HotKeySpec::fromJson(parse(R"({"keyCode":1})")), DecodeError);
    EXPECT_THROW(HotKeySpec::fromJson(parse(R"({"keyCode":-1,"modifiers":0})")), DecodeError);
    EXPECT_THROW(HotKeySpec::fromJson(parse(R"({"keyCode":1,"modifiers":4294967296})")), DecodeError);
}

TEST(HotKeyAssignment, OwnersAreEqualForTheSameActionOrTheSameDesktop)
{
    using Owner = HotKeyAssignment::Owner;
    using Kind = Owner::Kind;
    EXPECT_EQ(Owner::action(Kind::sortNow), Owner::action(Kind::sortNow));
    EXPECT_NE(Owner::action(Kind::cycleNext), Owner::action(Kind::cyclePrevious));
    EXPECT_EQ(Owner::workspace("Work"), Owner::workspace("Work"));
    EXPECT_NE(Owner::workspace("Work"), Owner::workspace("work"));
    EXPECT_NE(Owner::workspace(""), Owner::action(Kind::cycleNext));
    // Canonically equivalent names are one desktop.
    EXPECT_EQ(Owner::workspace(QString::fromUtf8("Caf\xC3\xA9")), Owner::workspace(QString::fromUtf8("Cafe\xCC\x81")));

    const HotKeyAssignment a{Owner::workspace("Work"), HotKeySpec{1, HotKeySpec::control}};
    EXPECT_EQ(a, (HotKeyAssignment{Owner::workspace("Work"), HotKeySpec{1, HotKeySpec::control}}));
    EXPECT_NE(a, (HotKeyAssignment{Owner::workspace("Work"), HotKeySpec{1, HotKeySpec::shift}}));
    EXPECT_NE(a, (HotKeyAssignment{Owner::action(Kind::floatingDock), HotKeySpec{1, HotKeySpec::control}}));
}
