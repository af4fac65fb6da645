#include "DesktopSwapper.h"
#include "FakeDesktopSurface.h"
#include "MemoryStateStore.h"
#include "SurfaceError.h"
#include "SwapError.h"
#include "SwapTestSupport.h"

#include <QFileInfo>
#include <gtest/gtest.h>

#include <algorithm>

using namespace quorvane;
using namespace quorvane::test;

namespace {

// Spelled out: a copy of another file's constant at start-up could still be empty.
const QString blank = QStringLiteral("_Hidden Desktop");

struct SleepLog {
    std::vector<double> sleeps;
    Sleeper sleeper()
    {
        return [this](double s) { sleeps.push_back(s); };
    }
};

// ---------------------------------------------------------------------------------------------
// On disk: the file-system surface and the file store in a temporary home.

class SwapOnDisk : public testing::Test {
protected:
    DiskDesks d;
    SleepLog sleeps;
    DesktopSwapper swapper{d.surface, d.store, sleeps.sleeper()};

    void save(Config config)
    {
        config.settings.moveGapMs = 0;
        d.store.saveConfig(config);
    }
};

TEST_F(SwapOnDisk, PlainSwitchMovesBothWaysAndRecordsTheDocument)
{
    save(deskDocument("A", {"A", "B"}));
    d.put(Location::desktop(), "a1", "one");
    d.put(Location::desktop(), "a2");
    d.put(Location::workspace("B"), "b1", "bee");

    EXPECT_TRUE(swapper.switchTo("B").isEmpty());

    EXPECT_EQ(d.names(Location::desktop()), (QStringList{"b1"}));
    EXPECT_EQ(d.names(Location::workspace("A")), (QStringList{"a1", "a2"}));
    EXPECT_TRUE(d.names(Location::workspace("B")).isEmpty());
    EXPECT_EQ(readFile(d.pathOf(Location::workspace("A"), "a1")), "one");
    EXPECT_EQ(readFile(d.pathOf(Location::workspace("A"), "a2") + "/inner"), "a2");
    const Config after = d.store.loadConfig();
    EXPECT_EQ(after.activeWorkspace, "B");
    EXPECT_EQ(after.workspace("A")->files, (QStringList{"a1", "a2"}));
    EXPECT_EQ(after.workspace("B")->files, (QStringList{"b1"}));
    EXPECT_FALSE(d.store.loadJournal());
    EXPECT_FALSE(QFileInfo::exists(d.paths.journal()));

    EXPECT_TRUE(swapper.switchTo("A").isEmpty());
    EXPECT_EQ(d.names(Location::desktop()), (QStringList{"a1", "a2"}));
    EXPECT_EQ(d.names(Location::workspace("B")), (QStringList{"b1"}));
    EXPECT_EQ(d.store.loadConfig().activeWorkspace, "A");
}

TEST_F(SwapOnDisk, UnknownTargetThrowsWithItsNameAndNothingMoves)
{
    save(deskDocument("A", {"A"}));
    d.put(Location::desktop(), "a1", "one");
    try {
        swapper.switchTo("Nowhere");
        FAIL() << "switch succeeded";
    } catch (const SwapError &error) {
        EXPECT_EQ(error, SwapError::unknownWorkspace("Nowhere"));
    }
    EXPECT_EQ(d.names(Location::desktop()), (QStringList{"a1"}));
    EXPECT_FALSE(QFileInfo::exists(d.paths.journal()));
}

TEST_F(SwapOnDisk, AHiddenLayoutFileStaysWhereItIsAndIsNeverReplaced)
{
    save(deskDocument("A", {"A", "B"}));
    d.put(Location::desktop(), ".DS_Store", "on the Desktop");
    d.put(Location::workspace("A"), ".DS_Store", "in A");
    d.put(Location::workspace("B"), ".DS_Store", "in B");
    d.put(Location::desktop(), "a1", "ay");
    d.put(Location::workspace("B"), "b1", "bee");

    for (const QString target : {"B", "A"}) {
        swapper.switchTo(target);
        EXPECT_EQ(readFile(d.pathOf(Location::desktop(), ".DS_Store")), "on the Desktop");
        EXPECT_EQ(readFile(d.pathOf(Location::workspace("A"), ".DS_Store")), "in A");
        EXPECT_EQ(readFile(d.pathOf(Location::workspace("B"), ".DS_Store")), "in B");
    }
    EXPECT_EQ(d.names(Location::desktop()), (QStringList{".DS_Store", "a1"}));
    EXPECT_EQ(d.names(Location::workspace("B")), (QStringList{".DS_Store", "b1"}));
}

TEST_F(SwapOnDisk, AnInterruptedSwitchIsFinishedBeforeTheNextOne)
{
    Config config = deskDocument("A", {"A", "B", "C"});
    config.workspace("A")->files = {"a1", "a2"};
    save(config);
    // Interrupted A → B after a1 went out.
    d.put(Location::workspace("A"), "a1", "one");
    d.put(Location::desktop(), "a2", "two");
    d.put(Location::workspace("B"), "b1", "bee");
    d.put(Location::workspace("C"), "c1", "sea");
    d.store.saveJournal(Journal{"A", "B", {"a1", "a2"}, {"b1"}});

    EXPECT_TRUE(swapper.switchTo("C").isEmpty());

    EXPECT_EQ(d.names(Location::desktop()), (QStringList{"c1"}));
    EXPECT_EQ(d.names(Location::workspace("A")), (QStringList{"a1", "a2"}));
    EXPECT_EQ(d.names(Location::workspace("B")), (QStringList{"b1"}));
    const Config after = d.store.loadConfig();
    EXPECT_EQ(after.activeWorkspace, "C");
    EXPECT_EQ(after.workspace("B")->files, (QStringList{"b1"}));
    EXPECT_FALSE(QFileInfo::exists(d.paths.journal()));
}

TEST_F(SwapOnDisk, AReplayLeavesAnItemWhoseNameIsTakenAndFinishes)
{
    save(deskDocument("A", {"A", "B", "C"}));
    d.put(Location::desktop(), "a1", "mine");
    d.put(Location::desktop(), "a2", "also mine");
    d.put(Location::workspace("A"), "a1", "someone else's");
    d.store.saveJournal(Journal{"A", "B", {"a1", "a2"}, {}});
    swapper.recoverIfNeeded();
    EXPECT_EQ(swapper.stayedBehind(), QStringList{"a1"});
    EXPECT_EQ(readFile(d.pathOf(Location::desktop(), "a1")), "mine");
    EXPECT_EQ(readFile(d.pathOf(Location::workspace("A"), "a1")), "someone else's");
    EXPECT_EQ(readFile(d.pathOf(Location::workspace("A"), "a2")), "also mine");
    EXPECT_EQ(d.store.loadConfig().workspace("A")->files, QStringList{"a2"});
    EXPECT_EQ(d.store.loadConfig().activeWorkspace, "B");
    EXPECT_FALSE(d.store.loadJournal());
}

// The road a user meets: a budget.csv on the Desktop and another in the left desktop's folder.
// Neither is replaced; the one on the Desktop is told as stayed behind and listed on the desktop
// whose Desktop now holds it, at the switch and at a replay of its journal alike.
TEST_F(SwapOnDisk, AnItemWhoseNameTheLeftFolderHoldsStaysAndIsListedWhereItLies)
{
    save(deskDocument("Work", {"Work", "Personal"}));
    d.put(Location::desktop(), "budget.csv", "this year");
    d.put(Location::desktop(), "notes.txt", "notes");
    d.put(Location::workspace("Work"), "budget.csv", "last year");
    d.put(Location::workspace("Personal"), "p1", "personal");
    swapper.switchTo("Personal");
    EXPECT_EQ(swapper.stayedBehind(), QStringList{"budget.csv"});
    EXPECT_EQ(readFile(d.pathOf(Location::desktop(), "budget.csv")), "this year");
    EXPECT_EQ(readFile(d.pathOf(Location::workspace("Work"), "budget.csv")), "last year");
    EXPECT_EQ(d.names(Location::workspace("Work")), (QStringList{"budget.csv", "notes.txt"}));
    const Config after = d.store.loadConfig();
    EXPECT_EQ(after.activeWorkspace, "Personal");
    EXPECT_EQ(after.workspace("Work")->files, QStringList{"notes.txt"});
    EXPECT_EQ(after.workspace("Personal")->files, (QStringList{"p1", "budget.csv"}));

    // Interrupted right after its journal was saved, the same switch ends with the same record.
    DiskDesks again;
    Config config = deskDocument("Work", {"Work", "Personal"});
    config.workspace("Work")->files = {"budget.csv", "notes.txt"};
    again.store.saveConfig(config);
    again.put(Location::desktop(), "budget.csv", "this year");
    again.put(Location::desktop(), "notes.txt", "notes");
    again.put(Location::workspace("Work"), "budget.csv", "last year");
    again.put(Location::workspace("Personal"), "p1", "personal");
    again.store.saveJournal(Journal{"Work", "Personal", {"budget.csv", "notes.txt"}, {"p1"}});
    DesktopSwapper(again.surface, again.store, sleeps.sleeper()).recoverIfNeeded();
    const Config replayed = again.store.loadConfig();
    EXPECT_EQ(replayed.workspace("Work")->files, after.workspace("Work")->files);
    EXPECT_EQ(replayed.workspace("Personal")->files, after.workspace("Personal")->files);
}

TEST_F(SwapOnDisk, RecoveryDrainsTheStashAndTheBlankFolderUnlessTheBlankDesktopIsActive)
{
    Config config = deskDocument("A", {"A", blank});
    config.workspace(blank)->files = {"h1", "taken"};
    config.workspace(blank)->positions = {{"h1", {1, 2}}, {"taken", {3, 4}}};
    save(config);
    d.put(Location::workspace(DesktopSwapper::pinnedStash), "pin", "pinned");
    d.put(Location::workspace(blank), "h1", "hidden");
    d.put(Location::workspace(blank), "taken", "hidden twin");
    d.put(Location::desktop(), "taken", "on the desktop");

    swapper.recoverIfNeeded();

    EXPECT_EQ(d.names(Location::desktop()), (QStringList{"h1", "pin", "taken"}));
    EXPECT_EQ(readFile(d.pathOf(Location::desktop(), "taken")), "on the desktop");
    EXPECT_EQ(d.names(Location::workspace(blank)), (QStringList{"taken"}));
    EXPECT_TRUE(d.names(Location::workspace(DesktopSwapper::pinnedStash)).isEmpty());
    const Config after = d.store.loadConfig();
    const Workspace *hidden = after.workspace(blank);
    EXPECT_EQ(hidden->files, (QStringList{"taken"}));
    EXPECT_EQ(hidden->positions.keys(), (QStringList{"taken"}));
}

TEST_F(SwapOnDisk, RecoveryWithTheBlankDesktopActiveChangesNothing)
{
    save(deskDocument(blank, {"A", blank}));
    d.put(Location::workspace(DesktopSwapper::pinnedStash), "pin", "pinned");
    d.put(Location::workspace(blank), "h1", "hidden");
    const QByteArray document = readFile(d.paths.config());

    swapper.recoverIfNeeded();

    EXPECT_TRUE(d.names(Location::desktop()).isEmpty());
    EXPECT_EQ(d.names(Location::workspace(DesktopSwapper::pinnedStash)), (QStringList{"pin"}));
    EXPECT_EQ(d.names(Location::workspace(blank)), (QStringList{"h1"}));
    EXPECT_EQ(readFile(d.paths.config()), document);
}

// A journal whose outgoing and incoming lists share a name, replayed at each stage the
// interrupted switch may have reached. The name on the Desktop after the incoming move is the
// target's item and must stay; the replay then moves nothing and ends the journal.
struct OverlapCase {
    const char *what;
    bool aOnDesktop; // A's "X" still on the Desktop (not moved out yet)
    bool bInFolder;  // B's "X" still in B's folder (not moved in yet)
};

class OverlappingReplay : public SwapOnDisk, public testing::WithParamInterface<OverlapCase> {};

TEST_P(OverlappingReplay, FinishesWithTheTargetsItemOnTheDesktop)
{
    const OverlapCase &c = GetParam();
    save(deskDocument("A", {"A", "B"}));
    d.put(c.aOnDesktop ? Location::desktop() : Location::workspace("A"), "X", "A's X");
    d.put(c.bInFolder ? Location::workspace("B") : Location::desktop(), "X", "B's X");
    d.put(Location::workspace("A"), "a", "a");
    d.store.saveJournal(Journal{"A", "B", {"a", "X"}, {"X"}});

    swapper.recoverIfNeeded();
    EXPECT_EQ(readFile(d.pathOf(Location::desktop(), "X")), "B's X") << c.what;
    EXPECT_EQ(readFile(d.pathOf(Location::workspace("A"), "X")), "A's X") << c.what;
    EXPECT_EQ(d.names(Location::workspace("A")), (QStringList{"X", "a"})) << c.what;
    EXPECT_FALSE(d.store.loadJournal()) << c.what;
    EXPECT_EQ(d.store.loadConfig().activeWorkspace, "B") << c.what;
    // Not stuck: the next switch works.
    EXPECT_NO_THROW(swapper.switchTo("A")) << c.what;
    EXPECT_EQ(readFile(d.pathOf(Location::desktop(), "X")), "A's X") << c.what;
}

INSTANTIATE_TEST_SUITE_P(Swapper, OverlappingReplay,
                         testing::Values(OverlapCase{"nothing moved yet", true, true},
                                         OverlapCase{"outgoing done", false, true},
                                         OverlapCase{"incoming done", false, false}),
                         [](const auto &info) { return std::string(info.param.aOnDesktop ? "Start" : info.param.bInFolder ? "OutDone"
                                                                                                                          : "InDone"); });

// Leaving the blank desktop: a deposit that stays on the Desktop keeps the target's item of the
// same name in its folder, and the switch completes.
TEST_F(SwapOnDisk, AStayingDepositKeepsTheTargetsItemOfItsNameInTheFolder)
{
    Config config = deskDocument(blank, {"B", blank});
    config.lastExpandedWorkspace = "B"; // the expand target is the target: deposits stay
    save(config);
    d.put(Location::desktop(), "draft", "dropped on the blank desktop");
    d.put(Location::workspace("B"), "draft", "B's draft");
    d.put(Location::workspace("B"), "b1", "bee");

    EXPECT_EQ(swapper.switchTo("B"), (QStringList{"draft"}));
    EXPECT_EQ(readFile(d.pathOf(Location::desktop(), "draft")), "dropped on the blank desktop");
    EXPECT_EQ(readFile(d.pathOf(Location::workspace("B"), "draft")), "B's draft");
    EXPECT_EQ(d.names(Location::desktop()), (QStringList{"b1", "draft"}));
    EXPECT_FALSE(d.store.loadJournal());
    EXPECT_EQ(d.store.loadConfig().workspace("B")->files, (QStringList{"b1"}));
}

TEST_F(SwapOnDisk, AFailedHandOverKeepsTheTargetsItemOfItsNameInTheFolder)
{
    Config config = deskDocument(blank, {"E", "B", blank});
    config.lastExpandedWorkspace = "E";
    save(config);
    d.put(Location::desktop(), "draft", "deposit");
    d.put(Location::desktop(), "note", "handed over");
    d.put(Location::workspace("E"), "draft", "E's draft"); // the hand-over of "draft" fails
    d.put(Location::workspace("B"), "draft", "B's draft");

    EXPECT_EQ(swapper.switchTo("B"), (QStringList{"draft"}));
    EXPECT_EQ(readFile(d.pathOf(Location::desktop(), "draft")), "deposit");
    EXPECT_EQ(readFile(d.pathOf(Location::workspace("E"), "draft")), "E's draft");
    EXPECT_EQ(readFile(d.pathOf(Location::workspace("B"), "draft")), "B's draft");
    EXPECT_EQ(readFile(d.pathOf(Location::workspace("E"), "note")), "handed over");
    EXPECT_FALSE(d.store.loadJournal());
    EXPECT_EQ(d.store.loadConfig().workspace("E")->files, (QStringList{"note"}));
}

// Names from the document or the journal that cannot be a folder name never address a folder:
// in particular an empty desktop name never means the desktops folder itself.
TEST_F(SwapOnDisk, UnsafeDesktopNamesAreRefusedBeforeAnythingMoves)
{
    // Unusable path components, and the desktops folder's own entries (moving ".store" would
    // carry the document onto the Desktop, "Archive" every archived desktop).
    for (const QString &name : {QString(), QStringLiteral(".."), QStringLiteral("."), QStringLiteral("x/y"),
                                QStringLiteral(".store"), QStringLiteral(".pinned"), QStringLiteral("archive")}) {
        save(deskDocument("A", {"A", name}));
        d.put(Location::desktop(), "a1", "one");
        const QByteArray document = readFile(d.paths.config());
        EXPECT_THROW(swapper.switchTo(name), SwapError) << name.toStdString();
        EXPECT_EQ(d.names(Location::desktop()), (QStringList{"a1"})) << name.toStdString();
        EXPECT_EQ(readFile(d.paths.config()), document);
        EXPECT_FALSE(QFileInfo::exists(d.paths.journal()));

        save(deskDocument(name, {"A", name}));
        EXPECT_THROW(swapper.switchTo("A"), SwapError) << name.toStdString();
        EXPECT_EQ(d.names(Location::desktop()), (QStringList{"a1"})) << name.toStdString();
        QFile::remove(d.pathOf(Location::desktop(), "a1"));
    }
}

TEST_F(SwapOnDisk, AJournalNamingNoFolderMovesNothingFromTheDesktopsFolder)
{
    save(deskDocument("A", {"A"}));
    d.put(Location::workspace("A"), "a1", "one");
    d.put(Location::desktop(), "d1", "on the desktop");
    d.store.saveJournal(Journal{"..", "", {"d1"}, {"A"}});
    EXPECT_THROW(swapper.recoverIfNeeded(), SwapError);
    EXPECT_EQ(d.names(Location::desktop()), (QStringList{"d1"}));
    EXPECT_EQ(d.names(Location::workspace("A")), (QStringList{"a1"}));

    // A journal naming the store folder leaves the document where it is.
    d.store.saveJournal(Journal{"A", ".store", {"d1"}, {"config.json", "journal.json"}});
    EXPECT_THROW(swapper.recoverIfNeeded(), SwapError);
    EXPECT_EQ(d.names(Location::desktop()), (QStringList{"d1"}));
    EXPECT_TRUE(QFileInfo::exists(d.paths.config()));
}

TEST_F(SwapOnDisk, ATargetSpelledDifferentlyUsesTheRecordsFolder)
{
    const QString composed = QString::fromUtf8("Caf\xC3\xA9");
    const QString decomposed = QString::fromUtf8("Cafe\xCC\x81");
    save(deskDocument("A", {"A", composed}));
    d.put(Location::workspace(composed), "c1", "coffee");
    d.put(Location::desktop(), "a1", "one");

    swapper.switchTo(decomposed);
    EXPECT_EQ(d.names(Location::desktop()), (QStringList{"c1"}));
    EXPECT_EQ(d.store.loadConfig().activeWorkspace, composed);
    EXPECT_FALSE(QFileInfo::exists(d.folderOf(Location::workspace(decomposed))));
    swapper.switchTo("A");
    EXPECT_EQ(d.names(Location::workspace(composed)), (QStringList{"c1"}));
}

// ---------------------------------------------------------------------------------------------
// In memory: a recording surface and a store that keeps every setting, for the paths with
// native positions off and for exact call orders and counts.

class SwapInMemory : public testing::Test {
protected:
    std::vector<QString> log;
    FakeFolderSurface surface;
    MemoryStateStore store;
    SleepLog sleeps;
    DesktopSwapper swapper{surface, store, sleeps.sleeper()};

    SwapInMemory()
    {
        surface.log = &log;
        store.log = &log;
    }

    void use(Config config, bool native, IconPlacement placement = IconPlacement::settle, std::int64_t gapMs = 0)
    {
        config.settings.nativePositions = native;
        config.settings.iconPlacement = placement;
        config.settings.moveGapMs = gapMs;
        store.config = config;
    }
};

TEST_F(SwapInMemory, StepsRunInOrderWithNativePositionsOff)
{
    Config config = deskDocument("A", {"A", "B"});
    config.workspace("B")->positions = {{"b1", {5, 6}}};
    use(config, false);
    surface.desktop = {"a1"};
    surface.desks["B"] = {"b1"};
    surface.finder = {{"a1", {1, 2}}};

    swapper.switchTo("B");

    EXPECT_EQ(log, (std::vector<QString>{"read a1", "save config", "save journal", "move a1 Desktop>A", "move b1 B>Desktop", "save config", "read b1", "delete journal"}));
    EXPECT_EQ(store.savedConfigs.front().workspace("A")->positions, (QMap<QString, IconPosition>{{"a1", {1, 2}}}));
    EXPECT_EQ(store.savedJournals.front(), (Journal{"A", "B", {"a1"}, {"b1"}}));
    EXPECT_EQ(surface.finder.at("b1"), (IconPosition{5, 6}));
    EXPECT_TRUE(sleeps.sleeps.empty());
}

TEST_F(SwapInMemory, StepsRunInOrderWithNativePositionsOn)
{
    use(deskDocument("A", {"A", "B"}), true);
    surface.desktop = {"a1"};
    surface.desks["B"] = {"b1"};

    swapper.switchTo("B");

    EXPECT_EQ(log, (std::vector<QString>{"save config", "save journal", "carry Desktop>A a1", "move a1 Desktop>A", "carry B>Desktop b1", "move b1 B>Desktop", "finish carry", "save config", "delete journal"}));
}

TEST_F(SwapInMemory, ASwitchReadsTheDocumentOnceAndListsTheDesktopAndTheTargetOnce)
{
    use(deskDocument("A", {"A", "B"}), true);
    surface.desktop = {"a1", "a2"};
    surface.desks["B"] = {"b1"};

    swapper.switchTo("B");

    EXPECT_EQ(store.loads, 1);
    EXPECT_EQ(std::count(surface.listed.begin(), surface.listed.end(), "Desktop"), 1);
    EXPECT_EQ(std::count(surface.listed.begin(), surface.listed.end(), "B"), 1);
    EXPECT_EQ(surface.desktop, (QStringList{"b1"}));
    EXPECT_EQ(surface.desks["A"], (QStringList{"a1", "a2"}));
}

TEST_F(SwapInMemory, SwitchingToTheActiveDesktopWritesNothingButStillRecovers)
{
    use(deskDocument("A", {"A", "B"}), true);
    surface.desks[DesktopSwapper::pinnedStash] = {"pin"};
    EXPECT_TRUE(swapper.switchTo("A").isEmpty());
    EXPECT_EQ(surface.desktop, (QStringList{"pin"})); // the stash drain of the recovery ran
    EXPECT_EQ(store.savedJournals.size(), 0u);
    EXPECT_EQ(store.savedConfigs.size(), 1u); // the drain's own save only
    store.savedConfigs.clear();
    EXPECT_TRUE(swapper.switchTo("A").isEmpty());
    EXPECT_TRUE(store.savedConfigs.empty());
}

TEST_F(SwapInMemory, OtherVolumeIsRefusedAfterTheReplayAndBeforeTheDocumentIsRead)
{
    use(deskDocument("A", {"A", "B", "C"}), true);
    surface.volumesMatch = false;
    surface.desks["B"] = {"b1"};
    store.journal = Journal{"A", "B", {}, {"b1"}};
    try {
        swapper.switchTo("C");
        FAIL() << "switch succeeded";
    } catch (const SwapError &error) {
        EXPECT_EQ(error, SwapError::crossVolumeStore());
    }
    EXPECT_EQ(surface.desktop, (QStringList{"b1"}));
    EXPECT_EQ(store.config.activeWorkspace, "B");
}

struct GapCase {
    const char *what;
    std::int64_t gapMs;
    QStringList desktop;
    std::vector<double> sleeps;
};

class GapSleep : public SwapInMemory, public testing::WithParamInterface<GapCase> {};

TEST_P(GapSleep, SleepsOnceOnlyWhenSomethingMovedOut)
{
    const GapCase &c = GetParam();
    use(deskDocument("A", {"A", "B"}), true, IconPlacement::settle, c.gapMs);
    surface.desktop = c.desktop;
    surface.desks["B"] = {"b1"};
    swapper.switchTo("B");
    EXPECT_EQ(sleeps.sleeps, c.sleeps) << c.what;
}

INSTANTIATE_TEST_SUITE_P(Swapper, GapSleep,
                         testing::Values(GapCase{"no gap", 0, {"a1", "a2"}, {}},
                                         GapCase{"gap with items out", 250, {"a1", "a2"}, {0.25}},
                                         GapCase{"gap, nothing out", 250, {}, {}},
                                         GapCase{"a gap beyond two seconds", 1'000'000'000'000'000, {"a1"}, {2.0}}));

TEST_F(SwapInMemory, APinnedItemKeepsTheTargetsItemOfItsNameInTheFolder)
{
    use(deskDocument("A", {"A", "B"}, {"Notes"}), true);
    surface.desktop = {"Notes", "a1"};
    surface.desks["B"] = {"Notes", "b1"};

    EXPECT_EQ(swapper.switchTo("B"), (QStringList{"Notes"}));
    EXPECT_EQ(surface.desks["B"], (QStringList{"Notes"}));
    EXPECT_EQ(surface.desktop, (QStringList{"Notes", "b1"}));
    EXPECT_EQ(store.savedJournals.front(), (Journal{"A", "B", {"a1"}, {"b1"}}));
    EXPECT_EQ(store.config.workspace("B")->files, (QStringList{"b1"}));
    EXPECT_EQ(store.config.workspace("A")->files, (QStringList{"a1"}));
}

// Pinned items park in the stash on the blank desktop and come back to their places, whatever
// native positions and the placement routine say.
struct StashCase {
    const char *what;
    bool native;
    IconPlacement placement;
};

class PinnedStash : public SwapInMemory, public testing::WithParamInterface<StashCase> {};

TEST_P(PinnedStash, ParksOnTheBlankDesktopAndReturnsToItsPlace)
{
    const StashCase &c = GetParam();
    use(deskDocument("A", {"A", "B", blank}, {"pin"}), c.native, c.placement);
    surface.desktop = {"a1", "pin"};
    surface.finder = {{"pin", {40, 50}}, {"a1", {1, 1}}};

    EXPECT_TRUE(swapper.switchTo(blank).isEmpty());
    EXPECT_EQ(surface.desks[DesktopSwapper::pinnedStash], (QStringList{"pin"})) << c.what;
    EXPECT_TRUE(surface.desktop.isEmpty()) << c.what;
    EXPECT_EQ(store.config.workspace(blank)->positions, (QMap<QString, IconPosition>{{"pin", {40, 50}}})) << c.what;

    surface.finder.clear(); // the file manager forgot the parked item
    surface.written.clear();
    EXPECT_TRUE(swapper.switchTo("B").isEmpty());
    EXPECT_EQ(surface.desktop, (QStringList{"pin"})) << c.what;
    EXPECT_TRUE(surface.desks[DesktopSwapper::pinnedStash].isEmpty()) << c.what;
    EXPECT_EQ(surface.finder.at("pin"), (IconPosition{40, 50})) << c.what;
    EXPECT_EQ(surface.written.front(), (IconPositions{{"pin", {40, 50}}})) << c.what;
    EXPECT_TRUE(store.config.workspace(blank)->positions.isEmpty()) << c.what;
    EXPECT_TRUE(sleeps.sleeps.empty()) << c.what;
}

INSTANTIATE_TEST_SUITE_P(Swapper, PinnedStash,
                         testing::Values(StashCase{"native on, settle", true, IconPlacement::settle},
                                         StashCase{"native on, batch", true, IconPlacement::batch},
                                         StashCase{"native off, settle", false, IconPlacement::settle},
                                         StashCase{"native off, batch", false, IconPlacement::batch}),
                         [](const auto &info) {
                             return std::string(info.param.native ? "NativeOn" : "NativeOff")
                                 + (info.param.placement == IconPlacement::batch ? "Batch" : "Settle");
                         });

struct DepositCase {
    const char *what;
    std::optional<QString> lastExpanded;
    bool handedOver;
};

class BlankDeposits : public SwapInMemory, public testing::WithParamInterface<DepositCase> {};

TEST_P(BlankDeposits, GoToTheExpandTargetUnlessItIsTheTarget)
{
    const DepositCase &c = GetParam();
    Config config = deskDocument(blank, {"E", "B", blank});
    config.lastExpandedWorkspace = c.lastExpanded;
    config.workspace("E")->files = {"draft"};
    config.workspace("E")->positions = {{"draft", {9, 9}}, {"e1", {3, 3}}};
    use(config, true);
    surface.desktop = {"draft", "new"};
    surface.desks["B"] = {"b1"};

    EXPECT_TRUE(swapper.switchTo("B").isEmpty());
    EXPECT_EQ(store.savedJournals.front()->outgoing, QStringList()) << c.what;
    const Workspace *e = store.config.workspace("E");
    if (c.handedOver) {
        EXPECT_EQ(surface.desks["E"], (QStringList{"draft", "new"})) << c.what;
        EXPECT_EQ(surface.desktop, (QStringList{"b1"})) << c.what;
        EXPECT_EQ(e->files, (QStringList{"draft", "new"})) << c.what;
        EXPECT_EQ(e->positions.keys(), (QStringList{"e1"})) << c.what;
    } else {
        EXPECT_EQ(surface.desktop, (QStringList{"draft", "new", "b1"})) << c.what;
        EXPECT_EQ(e->files, (QStringList{"draft"})) << c.what;
        EXPECT_EQ(e->positions.size(), 2) << c.what;
    }
    EXPECT_EQ(store.config.workspace("B")->files, (QStringList{"b1"})) << c.what;
}

INSTANTIATE_TEST_SUITE_P(Swapper, BlankDeposits,
                         testing::Values(DepositCase{"expand target elsewhere", QStringLiteral("E"), true},
                                         DepositCase{"expand target is the target", QStringLiteral("B"), false}));

TEST_F(SwapInMemory, BlankDepositsStayWithoutAnExpandTarget)
{
    Config config = deskDocument(blank, {"B", blank});
    config.workspace("B")->state = WorkspaceState::archivedUnsorted; // no live desktop: no expand target
    use(config, true);
    surface.desktop = {"new"};
    ASSERT_FALSE(store.config.expandTarget());
    swapper.switchTo("B");
    EXPECT_EQ(surface.desktop, (QStringList{"new"}));
    EXPECT_EQ(store.savedJournals.front(), (Journal{blank, "B", {}, {}}));
}

// An item on the Desktop whose name the left desktop's folder already holds cannot leave
// without replacing: its move fails, it stays and is told, and so does the target's item of the
// same name, which would land on it; the switch completes and lists the one on the Desktop.
TEST_F(SwapInMemory, AnItemWhoseNameTheLeftFolderHoldsStaysOnTheDesktopAndIsTold)
{
    use(deskDocument("B", {"A", "B"}), true);
    surface.desktop = {"b1", "shared"};
    surface.desks["B"] = {"shared"};
    surface.desks["A"] = {"a1", "shared"};

    EXPECT_TRUE(swapper.switchTo("A").isEmpty());
    EXPECT_EQ(swapper.stayedBehind(), QStringList{"shared"});
    EXPECT_EQ(store.savedJournals.front(), (Journal{"B", "A", {"b1", "shared"}, {"a1", "shared"}}));
    EXPECT_EQ(surface.desktop, (QStringList{"shared", "a1"}));
    EXPECT_EQ(surface.desks["B"], (QStringList{"shared", "b1"}));
    EXPECT_EQ(surface.desks["A"], (QStringList{"shared"}));
    EXPECT_EQ(store.config.workspace("B")->files, QStringList{"b1"});
    EXPECT_EQ(store.config.workspace("A")->files, (QStringList{"a1", "shared"}));
    EXPECT_FALSE(store.journal);
}

TEST_F(SwapInMemory, AFailedPositionReadLeavesTheLeftDesktopWithNoPositions)
{
    Config config = deskDocument("A", {"A", "B"});
    config.workspace("A")->positions = {{"a1", {1, 1}}, {"gone", {2, 2}}};
    use(config, false);
    surface.desktop = {"a1"};
    surface.readsFail = true;
    swapper.switchTo("B");
    EXPECT_TRUE(store.config.workspace("A")->positions.isEmpty());
}

TEST_F(SwapInMemory, ReadPositionsReplaceTheStoredOnes)
{
    Config config = deskDocument("A", {"A", "B"});
    config.workspace("A")->positions = {{"a1", {1, 1}}, {"gone", {2, 2}}};
    use(config, false);
    surface.desktop = {"a1", "a2"};
    surface.finder = {{"a1", {7, 8}}};
    swapper.switchTo("B");
    EXPECT_EQ(surface.readNames.front(), (QStringList{"a1", "a2"}));
    EXPECT_EQ(store.config.workspace("A")->positions, (QMap<QString, IconPosition>{{"a1", {7, 8}}}));
}

TEST_F(SwapInMemory, BatchPlacementWaitsForIncomingAndRestoredNames)
{
    Config config = deskDocument(blank, {"B", blank}, {"pin"});
    config.workspace("B")->positions = {{"b1", {5, 5}}, {"b2", {6, 6}}};
    config.workspace(blank)->positions = {{"pin", {1, 2}}};
    config.lastExpandedWorkspace = "B";
    use(config, false, IconPlacement::batch);
    surface.desks[DesktopSwapper::pinnedStash] = {"pin"};
    surface.desks["B"] = {"b1", "b2", "b3"};
    surface.accepts = [](const QString &name) { return name != "b2"; }; // never lands

    swapper.switchTo("B");
    EXPECT_EQ(surface.written.front(), (IconPositions{{"b1", {5, 5}}, {"b2", {6, 6}}, {"pin", {1, 2}}}));
    EXPECT_EQ(surface.written.size(), 2u); // one write, one correction
    EXPECT_EQ(surface.written.back(), (IconPositions{{"b2", {6, 6}}}));
    EXPECT_TRUE(sleeps.sleeps.empty()); // every name was already listed
}

TEST_F(SwapInMemory, SettlePlacementSleepsOnlyBetweenLaterPasses)
{
    Config config = deskDocument("A", {"A", "B"});
    config.workspace("B")->positions = {{"b1", {5, 5}}};
    use(config, false, IconPlacement::settle, 20);
    surface.desktop = {"a1"};
    surface.desks["B"] = {"b1"};
    surface.accepts = [](const QString &) { return false; };
    swapper.switchTo("B");
    // The gap once, then two pauses of the settle routine (its second and third passes).
    EXPECT_EQ(sleeps.sleeps, (std::vector<double>{0.02, 0.05, 0.05}));
}

TEST_F(SwapInMemory, RecoveryPlacesIconsOnlyWithNativePositionsOff)
{
    for (const bool native : {false, true}) {
        Config config = deskDocument("A", {"A", "B"});
        config.workspace("B")->positions = {{"b1", {5, 5}}};
        use(config, native);
        surface.desktop.clear();
        surface.desks = {{"B", {"b1"}}};
        surface.written.clear();
        surface.carries.clear();
        store.journal = Journal{"A", "B", {}, {"b1"}};
        swapper.recoverIfNeeded();
        EXPECT_EQ(surface.desktop, (QStringList{"b1"}));
        EXPECT_EQ(surface.written.size(), native ? 0u : 1u);
        EXPECT_TRUE(surface.carries.empty());
        EXPECT_FALSE(store.journal);
        EXPECT_EQ(store.config.activeWorkspace, "B");
    }
}

TEST_F(SwapInMemory, DrainsRunEvenWhenTheReplayFails)
{
    use(deskDocument("A", {"A", "B", blank}), true);
    surface.desktop = {"a1"};
    surface.failingMoves = {"a1"};
    surface.failingCode = ENOSPC;
    surface.desks[DesktopSwapper::pinnedStash] = {"pin"};
    surface.desks[blank] = {"h1"};
    store.journal = Journal{"A", "B", {"a1"}, {}};
    EXPECT_THROW(swapper.recoverIfNeeded(), SurfaceError);
    EXPECT_EQ(surface.desktop, (QStringList{"a1", "pin", "h1"}));
    EXPECT_TRUE(store.journal);
}

TEST_F(SwapInMemory, AFailedSaveBeforeTheJournalLeavesNoJournal)
{
    use(deskDocument("A", {"A", "B"}), true);
    surface.desktop = {"a1"};
    store.beforeWrite = [](const char *what) {
        if (QByteArray(what) == "config")
            throw std::runtime_error("disk full");
    };
    EXPECT_THROW(swapper.switchTo("B"), std::runtime_error);
    EXPECT_EQ(surface.desktop, (QStringList{"a1"}));
    EXPECT_FALSE(store.journal);
}

} // namespace
