#include "Shared/DocumentMerge.h"

#include <gtest/gtest.h>

using namespace quorvane;

namespace {

Config threeDesktops()
{
    Config config = Config::defaultDocument();
    config.workspaces = {Workspace::make("A"), Workspace::make("B"), Workspace::make("C"),
                         Workspace::make(Config::blankWorkspaceName)};
    config.activeWorkspace = "A";
    return config;
}

QStringList names(const Config &config)
{
    QStringList out;
    for (const Workspace &w : config.workspaces)
        out.append(w.name);
    return out;
}

} // namespace

// A write and a switch that changed different parts of one desktop both stay; records the write
// added, removed or reordered are so in the result, while the switch's changes stay.
TEST(DocumentMerge, TheWritesChangesLandOnTheLaterDocumentRecordByRecord)
{
    const Config base = threeDesktops();
    Config theirs = base;
    theirs.activeWorkspace = "B";
    theirs.updateWorkspace("B", [](Workspace &w) { w.files = {"b1", "b2"}; });
    theirs.updateWorkspace("A", [](Workspace &w) { w.files = {"a1"}; });

    Config mine = base;
    mine.updateWorkspace("B", [](Workspace &w) { w.colorHex = "#010203"; });
    mine.settings.moveGapMs = 40;
    mine.workspaces.erase(mine.workspaces.begin() + 2); // C goes
    mine.workspaces.insert(mine.workspaces.end() - 1, Workspace::make("D"));

    const Config merged = mergeDocuments(base, mine, theirs);
    EXPECT_EQ(merged.activeWorkspace, "B");
    EXPECT_EQ(merged.settings.moveGapMs, 40);
    EXPECT_EQ(merged.workspace("B")->files, (QStringList{"b1", "b2"}));
    EXPECT_EQ(merged.workspace("B")->colorHex, "#010203");
    EXPECT_EQ(merged.workspace("A")->files, QStringList{"a1"});
    EXPECT_EQ(names(merged), (QStringList{"A", "B", "D", Config::blankWorkspaceName}));

    // Where both changed the same value, the write, which came later, wins; no write, no change.
    Config sameValue = base;
    sameValue.activeWorkspace = "C";
    EXPECT_EQ(mergeDocuments(base, sameValue, theirs).activeWorkspace, "C");
    EXPECT_EQ(mergeDocuments(base, base, theirs), theirs);
}

// Parts both writers changed, each its own way, are listed with the value kept and the one
// dropped (a record the other removed stays removed); a part both changed alike, or only one
// changed, is no conflict.
TEST(DocumentMerge, PartsBothChangedAreListedWithTheValueKept)
{
    const Config base = threeDesktops();
    Config mine = base;
    mine.settings.moveGapMs = 40;
    mine.settings.scrollToCycle = !base.settings.scrollToCycle;
    mine.updateWorkspace("C", [](Workspace &w) { w.colorHex = "#010203"; });
    Config theirs = base;
    theirs.settings.moveGapMs = 50;
    theirs.settings.scrollToCycle = mine.settings.scrollToCycle;
    theirs.workspaces.erase(theirs.workspaces.begin() + 2); // C goes
    theirs.updateWorkspace("A", [](Workspace &w) { w.files = {"a1"}; });

    QList<MergeConflict> conflicts;
    const Config merged = mergeDocuments(base, mine, theirs, &conflicts);
    EXPECT_EQ(merged.settings.moveGapMs, 40);
    EXPECT_EQ(merged.workspace("C"), nullptr);
    EXPECT_EQ(merged.workspace("A")->files, QStringList{"a1"});
    ASSERT_EQ(conflicts.size(), 2);
    EXPECT_EQ(conflicts[0].text(), "settings.moveGapMs: kept 40, dropped 50");
    EXPECT_EQ(conflicts[1].where, "workspaces[C]");
    EXPECT_TRUE(conflicts[1].text().startsWith("workspaces[C]: kept nothing (removed), dropped {")) << conflicts[1].text().toStdString();
    EXPECT_TRUE(conflicts[1].text().endsWith("…"));
}
