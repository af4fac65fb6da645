#include "FakeDesktopSurface.h"
#include "FileStateStore.h"
#include "FileSystemSurface.h"
#include "Paths.h"
#include "ScreenshotSweeper.h"
#include "StoreError.h"
#include "SwapError.h"
#include "TestEnvironment.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QJsonDocument>
#include <gtest/gtest.h>

#include <unistd.h>

using namespace quorvane;
using quorvane::test::readFile;
using quorvane::test::TempHome;
using quorvane::test::writeFile;

namespace {

TEST(ScreenshotGrid, SlotsFillColumnsFromTheTopRightAndStopAtTheLeftMargin)
{
    const struct {
        std::int64_t width, height, slot, x, y;
    } cases[] = {
        {1440, 900, 0, 1370, 90},
        {1440, 900, 7, 1370, 720},
        {1440, 900, 8, 1280, 90},
        {1440, 900, 17, 1190, 180},
        // 300 points high: two rows; shorter: one row, every item one column further left.
        {1440, 300, 1, 1370, 180},
        {1440, 299, 0, 1370, 90},
        {1440, 299, 1, 1280, 90},
        {1440, 100, 2, 1190, 90},
        // Columns past the left margin all stay at x = 70.
        {1440, 299, 15, 70, 90},
        {1440, 299, 40, 70, 90},
        {100, 900, 8, 70, 90},
    };
    for (const auto &c : cases) {
        EXPECT_EQ(ScreenshotSweeper::gridSlot(c.slot, c.width, c.height), (IconPosition{c.x, c.y}))
            << c.width << "x" << c.height << " slot " << c.slot;
    }
}

TEST(ScreenshotDecision, TheCaptureFlagDecidesWhenThereIsOne)
{
    const struct {
        std::optional<bool> flag;
        bool fallback, nameMatches, expected;
    } cases[] = {
        {true, false, false, true},
        {false, true, true, false},
        {std::nullopt, true, true, true},
        {std::nullopt, false, true, false},
        {std::nullopt, true, false, false},
    };
    for (const auto &c : cases)
        EXPECT_EQ(ScreenshotSweeper::isScreenshot(c.flag, c.fallback, c.nameMatches), c.expected);
}

// A file-system surface that reports the two folders on different volumes.
class SplitVolumeSurface : public FileSystemSurface {
public:
    using FileSystemSurface::FileSystemSurface;
    bool sameVolume() override { return false; }
};

class ScreenshotSweeperTest : public testing::Test {
protected:
    TempHome home;
    Paths paths = Paths::forHome(home.path());
    FileSystemSurface surface{paths.desktop(), paths.workspaces()};
    FileStateStore store{paths.config(), paths.journal()};

    void SetUp() override
    {
        QDir().mkpath(paths.store());
        QDir().mkpath(paths.desktop());
    }

    ScreenshotSweeper sweeper(DesktopSurface &on)
    {
        return ScreenshotSweeper(on, store, 1440, 900, [](const QString &name) { return name.startsWith("Screenshot "); });
    }
    void saveDesktops(std::vector<Workspace> workspaces)
    {
        Config config = Config::defaultDocument();
        config.activeWorkspace = "Home";
        config.workspaces = std::move(workspaces);
        store.saveConfig(config);
    }
    void onDesktop(const QString &name, const QByteArray &contents = "x") { writeFile(paths.desktop() + '/' + name, contents); }
    QStringList desktopItems() { return surface.items(Location::desktop()); }
};

TEST_F(ScreenshotSweeperTest, MovesMatchingUnpinnedItemsAndPlacesNewOnesOnTheGrid)
{
    saveDesktops({Workspace::make("Home"), Workspace::make("Shots")});
    for (const char *name : {"Screenshot 1.png", "Screenshot 2.png", "Screenshot 3.png", "notes.txt", "Screenshots.png"})
        onDesktop(name);

    const QStringList moved = sweeper(surface).sweep("Shots", "Home", {"Screenshot 2.png"});
    EXPECT_EQ(moved, (QStringList{"Screenshot 1.png", "Screenshot 3.png"}));
    EXPECT_EQ(desktopItems(), (QStringList{"Screenshot 2.png", "Screenshots.png", "notes.txt"}));
    EXPECT_EQ(surface.items(Location::workspace("Shots")), moved);
    const Workspace shots = *store.loadConfig().workspace("Shots");
    EXPECT_EQ(shots.files, moved);
    EXPECT_EQ(shots.positions.value("Screenshot 1.png"), (IconPosition{1370, 90}));
    EXPECT_EQ(shots.positions.value("Screenshot 3.png"), (IconPosition{1370, 180}));
}

TEST_F(ScreenshotSweeperTest, AClashStaysOnTheDesktopAndTheRestGoOn)
{
    saveDesktops({Workspace::make("Home"), Workspace::make("Shots")});
    onDesktop("Screenshot 1.png", "new");
    onDesktop("Screenshot 2.png");
    writeFile(paths.workspaces() + "/Shots/Screenshot 1.png", "old");

    EXPECT_EQ(sweeper(surface).sweep("Shots", "Home", {}), QStringList{"Screenshot 2.png"});
    EXPECT_EQ(readFile(paths.desktop() + "/Screenshot 1.png"), "new");
    EXPECT_EQ(readFile(paths.workspaces() + "/Shots/Screenshot 1.png"), "old");
    EXPECT_EQ(store.loadConfig().workspace("Shots")->files, QStringList{"Screenshot 2.png"});
}

TEST_F(ScreenshotSweeperTest, KnownNamesKeepTheirPositionsAndNewOnesTakeTheNextSlot)
{
    Workspace shots = Workspace::make("Shots");
    for (int i = 0; i < 10; ++i)
        shots.positions.insert(QStringLiteral("old %1").arg(i), IconPosition{i, i});
    shots.files = {"Screenshot A.png"};
    shots.positions.insert("Screenshot A.png", IconPosition{5, 5}); // 11 entries now
    shots.positions.insert("Screenshot B.png", IconPosition{7, 7}); // a position without a file: 12
    saveDesktops({Workspace::make("Home"), shots});
    for (const char *name : {"Screenshot A.png", "Screenshot B.png", "Screenshot C.png"})
        onDesktop(name);

    sweeper(surface).sweep("Shots", "Home", {});
    const Workspace after = *store.loadConfig().workspace("Shots");
    EXPECT_EQ(after.files, (QStringList{"Screenshot A.png", "Screenshot B.png", "Screenshot C.png"}));
    EXPECT_EQ(after.positions.value("Screenshot A.png"), (IconPosition{5, 5}));
    EXPECT_EQ(after.positions.value("Screenshot B.png"), (IconPosition{7, 7}));
    // 12 stored positions: slot 12 is the fifth row of the second column.
    EXPECT_EQ(after.positions.value("Screenshot C.png"), ScreenshotSweeper::gridSlot(12, 1440, 900));
    EXPECT_EQ(after.positions.value("Screenshot C.png"), (IconPosition{1280, 450}));
}

TEST_F(ScreenshotSweeperTest, NothingHappensForTheActiveOrBlankDesktopOrAcrossVolumes)
{
    saveDesktops({Workspace::make("Home"), Workspace::make("Shots")});
    onDesktop("Screenshot 1.png");
    QDir().mkpath(paths.workspaces() + '/' + Config::blankWorkspaceName);
    const QByteArray document = readFile(paths.config());

    EXPECT_TRUE(sweeper(surface).sweep("Home", "Home", {}).isEmpty());
    EXPECT_TRUE(sweeper(surface).sweep(Config::blankWorkspaceName, "Home", {}).isEmpty());
    EXPECT_TRUE(surface.items(Location::workspace(Config::blankWorkspaceName)).isEmpty());
    SplitVolumeSurface split(paths.desktop(), paths.workspaces());
    EXPECT_TRUE(sweeper(split).sweep("Shots", "Home", {}).isEmpty());
    EXPECT_EQ(desktopItems(), QStringList{"Screenshot 1.png"});
    EXPECT_EQ(readFile(paths.config()), document);
}

TEST_F(ScreenshotSweeperTest, AnUnknownTargetGetsTheFilesButNoRecord)
{
    saveDesktops({Workspace::make("Home")});
    onDesktop("Screenshot 1.png");
    EXPECT_EQ(sweeper(surface).sweep("Nowhere", "Home", {}), QStringList{"Screenshot 1.png"});
    EXPECT_EQ(surface.items(Location::workspace("Nowhere")), QStringList{"Screenshot 1.png"});
    const Config config = store.loadConfig();
    EXPECT_FALSE(config.hasWorkspace("Nowhere"));
    EXPECT_TRUE(config.workspace("Home")->files.isEmpty());
}

TEST_F(ScreenshotSweeperTest, FailuresOfTheListingAndOfTheDocumentAreThrown)
{
    test::FakeDesktopSurface failing;
    failing.listingsFail = true;
    saveDesktops({Workspace::make("Home"), Workspace::make("Shots")});
    EXPECT_THROW(sweeper(failing).sweep("Shots", "Home", {}), std::runtime_error);

    // A document this version cannot write: the items have moved when the error comes.
    QJsonObject json = store.loadConfig().toJson();
    json.insert("schemaVersion", 2);
    writeFile(paths.config(), QJsonDocument(json).toJson());
    onDesktop("Screenshot 1.png");
    EXPECT_THROW(sweeper(surface).sweep("Shots", "Home", {}), StoreError);
    EXPECT_EQ(surface.items(Location::workspace("Shots")), QStringList{"Screenshot 1.png"});
}

TEST_F(ScreenshotSweeperTest, NoSweepFillsTheDesktopsFolderOwnEntriesOrAFolderLeadingHome)
{
    saveDesktops({Workspace::make("Home"), Workspace::make(".store"), Workspace::make("archive"),
                  Workspace::make(".pinned"), Workspace::make("Away")});
    onDesktop("journal.json", "the user's own");
    onDesktop("Screenshot 1.png", "shot");
    writeFile(home.path() + "/Books/book", "b");
    ASSERT_EQ(::symlink(QFile::encodeName(home.path()).constData(), QFile::encodeName(paths.workspaces() + "/Away").constData()), 0);
    const QByteArray document = readFile(paths.config());

    auto everything = [&](const QString &target) {
        return ScreenshotSweeper(surface, store, 1440, 900, [](const QString &) { return true; }).sweep(target, "Home", {});
    };
    for (const char *target : {".store", "archive", ".pinned"})
        EXPECT_TRUE(everything(target).isEmpty()) << target;
    EXPECT_THROW(everything("Away"), SwapError);
    EXPECT_EQ(desktopItems(), (QStringList{"Screenshot 1.png", "journal.json"}));
    EXPECT_FALSE(QFileInfo::exists(paths.journal()));
    EXPECT_EQ(QDir(home.path()).entryList(QDir::AllEntries | QDir::NoDotAndDotDot), (QStringList{"Books", "Desktop", Paths::rootName}));
    EXPECT_EQ(readFile(paths.config()), document);
}

} // namespace
