#include "Config.h"
#include "DecodeError.h"

#include <QJsonArray>
#include <QJsonDocument>
#include <gtest/gtest.h>

using namespace quorvane;

namespace {

Workspace ws(const QString &name, const char *extraJson = "")
{
    const QByteArray text = "{\"name\":" + QJsonDocument(QJsonArray{name}).toJson(QJsonDocument::Compact).mid(1).chopped(1)
        + (extraJson[0] ? QByteArray(",") + extraJson : QByteArray()) + "}";
    return Workspace::fromJson(QJsonDocument::fromJson(text).object());
}

Config decode(const char *text)
{
    QJsonParseError error{};
    const auto doc = QJsonDocument::fromJson(text, &error);
    EXPECT_EQ(error.error, QJsonParseError::NoError) << text;
    return Config::fromJson(doc.object());
}

QStringList names(const std::vector<Workspace> &list)
{
    QStringList out;
    for (const auto &w : list)
        out << w.name;
    return out;
}

HotKeySpec spec(std::uint32_t key, std::uint32_t mods)
{
    return HotKeySpec{key, mods};
}

} // namespace

TEST(ConfigCoding, MinimalDocumentTakesEveryDefault)
{
    const Config c = decode(R"({"activeWorkspace":"_Hidden Desktop"})");
    EXPECT_EQ(c.schemaVersion, 1);
    EXPECT_TRUE(c.workspaces.empty());
    EXPECT_EQ(c.settings, AppSettings());
    EXPECT_TRUE(c.cleanupTasks.empty());
    EXPECT_EQ(c.lastExpandedWorkspace, std::nullopt);
    EXPECT_EQ(c, Config::defaultDocument());

    // Null counts as absent; unknown keys are ignored.
    EXPECT_EQ(decode(R"({"activeWorkspace":"_Hidden Desktop","workspaces":null,"settings":{},"lastExpandedWorkspace":null,"x":{}})"),
              Config::defaultDocument());
}

TEST(ConfigCoding, MalformedDocumentsFailWhole)
{
    const char *bad[] = {
        R"({})",
        R"({"activeWorkspace":null})",
        R"({"activeWorkspace":3})",
        R"({"activeWorkspace":"A","schemaVersion":1.5})",
        R"({"activeWorkspace":"A","workspaces":{}})",
        R"({"activeWorkspace":"A","workspaces":[{"files":[]}]})",
        R"({"activeWorkspace":"A","workspaces":[{"name":"A","type":"Temp"}]})",
        R"({"activeWorkspace":"A","settings":[]})",
        R"({"activeWorkspace":"A","settings":{"switchLook":"sparkle"}})",
        R"({"activeWorkspace":"A","cleanupTasks":[{"id":"not-a-uuid"}]})",
        R"({"activeWorkspace":"A","lastExpandedWorkspace":7})",
    };
    for (const char *text : bad)
        EXPECT_THROW(decode(text), DecodeError) << text;
}

TEST(ConfigCoding, RoundTripKeepsEveryField)
{
    Config c = Config::defaultDocument();
    c.activeWorkspace = "Work";
    c.workspaces = {ws("Work", R"("files":["a","b"],"hotkey":{"keyCode":18,"modifiers":1048576})"),
                    ws("Old", R"("state":"archivedUnsorted","archivedAt":700000000.5)"), ws("_Hidden Desktop")};
    c.settings.moveGapMs = 0;
    c.cleanupTasks = {CleanupTask{QUuid::createUuid(), {"Old"}, 700000000}};
    c.lastExpandedWorkspace = "Work";
    EXPECT_EQ(Config::fromJson(c.toJson()), c);
    EXPECT_FALSE(Config::defaultDocument().toJson().contains("lastExpandedWorkspace"));
}

TEST(ConfigSets, BlankDesktopIsNeverLiveSwitchableBoundOrAssigned)
{
    Config c = Config::defaultDocument();
    c.workspaces = {ws("_Hidden Desktop", R"("spaceUUID":"S","hotkey":{"keyCode":1,"modifiers":0})"),
                    ws("A", R"("type":"temporary")"), ws("B"), ws("C", R"("state":"archivedSorted")")};
    EXPECT_EQ(names(c.liveWorkspaces()), (QStringList{"A", "B"}));
    EXPECT_EQ(names(c.switchableWorkspaces()), QStringList{"B"});
    EXPECT_EQ(c.workspaceBoundToSpace("S"), std::nullopt);
    EXPECT_TRUE(c.hotKeyAssignments().empty());
}

TEST(ConfigSets, ArchivedAreNewestFirstWithUndatedLastAndTiesInStoredOrder)
{
    Config c = Config::defaultDocument();
    c.workspaces = {ws("day1", R"("state":"archivedUnsorted","archivedAt":86400)"),
                    ws("day3a", R"("state":"archivedSorted","archivedAt":259200)"),
                    ws("undated", R"("state":"archivedUnsorted")"),
                    ws("day3b", R"("state":"archivedUnsorted","archivedAt":259200)"), ws("live")};
    EXPECT_EQ(names(c.archivedWorkspaces()), (QStringList{"day3a", "day3b", "day1", "undated"}));
    EXPECT_EQ(names(c.unsortedWorkspaces()), (QStringList{"day3b", "day1", "undated"}));
}

TEST(ConfigSets, ExpandTarget)
{
    Config c = Config::defaultDocument();
    EXPECT_EQ(c.expandTarget(), std::nullopt);
    c.workspaces = {ws("Gone", R"("state":"archivedUnsorted")"), ws("First"), ws("Second")};
    EXPECT_EQ(c.expandTarget(), std::optional<QString>("First"));
    c.lastExpandedWorkspace = "Second";
    EXPECT_EQ(c.expandTarget(), std::optional<QString>("Second"));
    c.lastExpandedWorkspace = "Gone";
    EXPECT_EQ(c.expandTarget(), std::optional<QString>("First"));
    c.lastExpandedWorkspace = "_Hidden Desktop";
    EXPECT_EQ(c.expandTarget(), std::optional<QString>("First"));
}

TEST(ConfigLookup, NamesCompareExactlyWithCanonicalEquivalence)
{
    Config c = Config::defaultDocument();
    c.workspaces = {ws(QString::fromUtf8("Caf\u00e9"), R"("files":["first"])"), ws("cafe"),
                    ws(QString::fromUtf8("Cafe\u0301"), R"("files":["second"])")};
    ASSERT_NE(c.workspace(QString::fromUtf8("Cafe\u0301")), nullptr);
    // The first record of a canonically equal name wins.
    EXPECT_EQ(c.workspace(QString::fromUtf8("Cafe\u0301"))->files, QStringList{"first"});
    EXPECT_EQ(c.workspace("CAFE"), nullptr);
    int runs = 0;
    c.updateWorkspace("nobody", [&](Workspace &) { ++runs; });
    EXPECT_EQ(runs, 0);
    c.updateWorkspace("cafe", [&](Workspace &w) { w.files = {"x"}; ++runs; });
    EXPECT_EQ(runs, 1);
    EXPECT_EQ(c.workspaces[1].files, QStringList{"x"});
}

TEST(ConfigSpaces, BindingMovesASpaceToOneDesktop)
{
    Config c = Config::defaultDocument();
    c.workspaces = {ws("A", R"("spaceUUID":"S")"), ws("B"), ws("Z", R"("state":"archivedUnsorted","spaceUUID":"S")")};
    c.bindWorkspace("B", QString("S"));
    EXPECT_EQ(c.workspaces[0].spaceUUID, std::nullopt);
    EXPECT_EQ(c.workspaces[1].spaceUUID, std::optional<QString>("S"));
    EXPECT_EQ(c.workspaces[2].spaceUUID, std::nullopt);
    EXPECT_EQ(c.workspaceBoundToSpace("S")->name, "B");

    c.bindWorkspace("nobody", QString("S"));
    EXPECT_EQ(c.workspaces[1].spaceUUID, std::nullopt);
    EXPECT_EQ(c.workspaceBoundToSpace("S"), std::nullopt);

    c.bindWorkspace("A", QString("T"));
    c.bindWorkspace("A", std::nullopt);
    EXPECT_EQ(c.workspaces[0].spaceUUID, std::nullopt);
}

TEST(ConfigHotKeys, AssignmentsInOrderAndConflicts)
{
    using Owner = HotKeyAssignment::Owner;
    Config c = Config::defaultDocument();
    c.workspaces = {ws("W", R"("hotkey":{"keyCode":18,"modifiers":1048576})"),
                    ws("Archived", R"("state":"archivedUnsorted","hotkey":{"keyCode":19,"modifiers":1048576})")};
    c.settings.floatingDockShortcut = spec(2, HotKeySpec::option);
    c.settings.cycleNext = spec(18, HotKeySpec::command);
    c.settings.sortNowShortcut = spec(3, HotKeySpec::control);

    const auto assignments = c.hotKeyAssignments();
    ASSERT_EQ(assignments.size(), 4u);
    EXPECT_EQ(assignments[0].owner, Owner::workspace("W"));
    EXPECT_EQ(assignments[1].owner, Owner::cycleNext());
    EXPECT_EQ(assignments[2].owner, Owner::sortNow());
    EXPECT_EQ(assignments[3].owner, Owner::floatingDock());

    const HotKeySpec shared = spec(18, HotKeySpec::command);
    EXPECT_EQ(c.hotKeyConflict(shared, Owner::workspace("W")), std::optional<Owner>(Owner::cycleNext()));
    EXPECT_EQ(c.hotKeyConflict(shared, Owner::cycleNext()), std::optional<Owner>(Owner::workspace("W")));
    // Other modifiers: another spec.
    EXPECT_EQ(c.hotKeyConflict(spec(18, HotKeySpec::command | HotKeySpec::shift), Owner::cycleNext()), std::nullopt);
    // A shortcut held by an archived desktop never blocks.
    EXPECT_EQ(c.hotKeyConflict(spec(19, HotKeySpec::command), Owner::cycleNext()), std::nullopt);
    c.workspaces[0].state = WorkspaceState::archivedSorted;
    EXPECT_EQ(c.hotKeyConflict(shared, Owner::cycleNext()), std::nullopt);
}

TEST(ConfigEdits, RenamesAndDrainRoutes)
{
    Config c = Config::defaultDocument();
    c.workspaces = {ws("T", R"("type":"temporary","drainTarget":"Old","timerDrains":true,"clearMode":"move")"),
                    ws("U", R"("drainTarget":"Other")")};
    CustomFilter rule;
    rule.pattern = "invoice";
    rule.collection = "Old";
    c.settings.customFilters = {rule};

    const Config before = c;
    c.renameDrainTarget("Old", "Old");
    c.renameCustomFilterCollection("Old", "Old");
    EXPECT_EQ(c, before);

    c.renameDrainTarget("Old", "New");
    c.renameCustomFilterCollection("Old", "New");
    EXPECT_EQ(c.workspaces[0].drainTarget, std::optional<QString>("New"));
    EXPECT_EQ(c.workspaces[1].drainTarget, std::optional<QString>("Other"));
    EXPECT_EQ(c.settings.customFilters[0].collection, "New");

    c.clearDrainRoutes("New");
    EXPECT_EQ(c.workspaces[0].drainTarget, std::nullopt);
    EXPECT_FALSE(c.workspaces[0].timerDrains);
    EXPECT_EQ(c.workspaces[0].clearMode, ClearMode::move);
    EXPECT_EQ(c.workspaces[1].drainTarget, std::optional<QString>("Other"));
}
