#include "Shared/DocumentService.h"

#include "LogCapture.h"
#include "TestEnvironment.h"
#include "Wait.h"

#include "DesktopSwapper.h"
#include "FileSystemSurface.h"
#include "Paths.h"
#include "StoreError.h"

#include <QDir>
#include <QFile>
#include <QJsonDocument>
#include <QSemaphore>
#include <QSignalSpy>
#include <QTest>
#include <QThread>
#include <gtest/gtest.h>

#include <memory>

using namespace quorvane;
using namespace quorvane::test;
using quorvane::test::LogCapture;
using Change = DocumentService::Change;
using Changes = DocumentService::Changes;

namespace {

struct DocumentServiceTest : ::testing::Test {
    TempHome home;
    QString folder = home.filePath("store");
    QString configPath = folder + "/config.json";
    std::vector<std::pair<Config, Changes>> heard;

    void SetUp() override { QDir().mkpath(folder); }

    // Another writer of config.json: the user's editor, another process.
    void writeBehindItsBack(const Config &config)
    {
        FileStateStore(configPath, folder + "/journal.json").saveConfig(config);
    }
    void listen(DocumentService &service)
    {
        QObject::connect(&service, &DocumentService::changed,
                         [this](const Config &config, Changes what) { heard.emplace_back(config, what); });
    }
};

} // namespace

TEST_F(DocumentServiceTest, EachWriteIsAnnouncedOnceWithWhatChanged)
{
    Config first = Config::defaultDocument();
    first.activeWorkspace = "A";
    writeBehindItsBack(first);
    DocumentService service(configPath, folder + "/journal.json");
    listen(service);
    // Nothing is heard before the launch announces the document.
    service.mutateConfig([](Config &config) { config.settings.scrollToCycle = !config.settings.scrollToCycle; });
    EXPECT_TRUE(heard.empty());
    service.announce();
    ASSERT_EQ(heard.size(), 1u);
    EXPECT_EQ(heard[0].second, DocumentService::everything);
    EXPECT_EQ(heard[0].first.activeWorkspace, "A");

    service.mutateConfig([](Config &config) { config.settings.scrollToCycle = !config.settings.scrollToCycle; });
    ASSERT_EQ(heard.size(), 2u);
    EXPECT_EQ(heard[1].second, Changes(Change::settings));
    EXPECT_EQ(heard[1].first, service.document());

    // Saving the same document again, and reading it again, changes nothing anyone follows.
    service.saveConfig(service.document());
    service.reload();
    EXPECT_EQ(heard.size(), 2u);

    // The writes of one batch are heard once, when it ends.
    {
        DocumentService::Batch batch(service);
        service.mutateConfig([](Config &config) { config.workspaces.push_back(Workspace::make("B")); });
        {
            DocumentService::Batch inner(service);
            service.mutateConfig([](Config &config) { config.activeWorkspace = "B"; });
        }
        EXPECT_EQ(heard.size(), 2u);
    }
    ASSERT_EQ(heard.size(), 3u);
    EXPECT_EQ(heard[2].second, Change::active | Change::workspaces);
    EXPECT_EQ(heard[2].first.activeWorkspace, "B");
}

TEST_F(DocumentServiceTest, AnEditOnDiskIsHeardWithoutAnyRead)
{
    writeBehindItsBack(Config::defaultDocument());
    DocumentService service(configPath, folder + "/journal.json");
    listen(service);
    service.announce();
    heard.clear();
    ASSERT_TRUE(service.watch());

    Config edited = Config::defaultDocument();
    edited.settings.followSpaces = !edited.settings.followSpaces;
    writeBehindItsBack(edited); // a new file renamed over the old one
    ASSERT_TRUE(waitUntil([&] { return !heard.empty(); }));
    EXPECT_EQ(heard.back().first.settings.followSpaces, edited.settings.followSpaces);
    EXPECT_EQ(heard.back().second, Changes(Change::settings));

    // Written in place, as an editor may: the file's own watch sees it.
    heard.clear();
    QByteArray text = readFile(configPath);
    text.replace("\"followSpaces\":" + QByteArray(edited.settings.followSpaces ? "true" : "false"),
                 "\"followSpaces\":" + QByteArray(edited.settings.followSpaces ? "false" : "true"));
    QFile file(configPath);
    ASSERT_TRUE(file.open(QIODevice::WriteOnly | QIODevice::Truncate));
    file.write(text);
    file.close();
    ASSERT_TRUE(waitUntil([&] { return !heard.empty(); }));
    EXPECT_NE(heard.back().first.settings.followSpaces, edited.settings.followSpaces);
}

TEST_F(DocumentServiceTest, UnreadableAndNewerDocumentsAreStatesEveryListenerSees)
{
    Config mine = Config::defaultDocument();
    mine.activeWorkspace = "A";
    writeBehindItsBack(mine);
    DocumentService service(configPath, folder + "/journal.json");
    listen(service);
    service.announce();
    heard.clear();
    EXPECT_EQ(service.state(), DocumentService::State::readable);

    writeFile(configPath, "{ not json");
    EXPECT_THROW(service.loadConfig(), std::exception);
    EXPECT_EQ(service.state(), DocumentService::State::unreadable);
    EXPECT_FALSE(service.failure().isEmpty());
    ASSERT_EQ(heard.size(), 1u);
    EXPECT_TRUE(heard[0].second & Change::state);
    EXPECT_EQ(heard[0].first, Config::defaultDocument());
    // Reading it again is no news; nor is a write refused over it news of a change.
    service.reload();
    EXPECT_EQ(heard.size(), 1u);

    QJsonObject newer = mine.toJson();
    newer["schemaVersion"] = 99;
    writeFile(configPath, QJsonDocument(newer).toJson());
    EXPECT_EQ(service.state(), DocumentService::State::newer);
    ASSERT_EQ(heard.size(), 2u);
    EXPECT_EQ(heard[1].first.activeWorkspace, "A");
    EXPECT_THROW(service.mutateConfig([](Config &config) { config.activeWorkspace = "B"; }), StoreError);
    EXPECT_EQ(heard.size(), 2u);
    EXPECT_EQ(service.document().activeWorkspace, "A");
    EXPECT_EQ(service.failure(), QString());
}

// While the engine has the document, writes made here are held: read back here, never written
// over the engine's saves, laid over its last one when it ends, and announced then.
TEST_F(DocumentServiceTest, WritesWhileTheEngineRunsAreHeldAndLaidOverItsLastSave)
{
    Config first = Config::defaultDocument();
    first.workspaces.insert(first.workspaces.begin(), {Workspace::make("A"), Workspace::make("B")});
    first.activeWorkspace = "A";
    writeBehindItsBack(first);
    DocumentService service(configPath, folder + "/journal.json");
    service.announce();
    listen(service);

    StateStore &engine = service.beginEngine();
    EXPECT_TRUE(service.engineRunning());
    service.mutateConfig([](Config &config) {
        config.settings.scrollToCycle = false;
        config.updateWorkspace("B", [](Workspace &w) { w.colorHex = "#abcdef"; });
    });
    Config moved = engine.loadConfig();
    moved.activeWorkspace = "B";
    moved.updateWorkspace("B", [](Workspace &w) { w.files = {"b1"}; });
    engine.saveConfig(moved);
    engine.saveJournal(Journal{"A", "B", {}, {"b1"}});
    EXPECT_TRUE(service.loadJournal().has_value());
    // Here the held document answers; on disk the engine's.
    EXPECT_FALSE(service.loadConfig().settings.scrollToCycle);
    EXPECT_EQ(service.document().activeWorkspace, "A");
    const Config onDisk = FileStateStore(configPath, folder + "/journal.json").loadConfig();
    EXPECT_TRUE(onDisk.settings.scrollToCycle);
    EXPECT_EQ(onDisk.activeWorkspace, "B");

    heard.clear();
    service.endEngine();
    EXPECT_FALSE(service.engineRunning());
    const Config after = FileStateStore(configPath, folder + "/journal.json").loadConfig();
    EXPECT_FALSE(after.settings.scrollToCycle);
    EXPECT_EQ(after.activeWorkspace, "B");
    EXPECT_EQ(after.workspace("B")->files, QStringList{"b1"});
    EXPECT_EQ(after.workspace("B")->colorHex, "#abcdef");
    EXPECT_EQ(service.document(), after);
    ASSERT_FALSE(heard.empty());
    EXPECT_TRUE(heard.back().second.testFlag(Change::active));
}

// A real switch on its own thread, and a hand edit of config.json while its items move: a
// record added, a colour and a setting changed, and a value the switch also sets. Everything
// the edit changed survives the switch, beside what the application wrote meanwhile, but the
// switch's record of where the items lie; that is said in the log. An edit after the switch's
// last save, made from the document before the switch, keeps its change without undoing it.
TEST_F(DocumentServiceTest, AnEditOnDiskDuringASwitchIsMergedIntoTheSwitchsRecord)
{
    const Paths paths = Paths::forHome(home.path());
    QDir().mkpath(paths.store());
    QDir().mkpath(paths.desktop());
    writeFile(paths.desktop() + "/a1", "a");
    writeFile(paths.workspaces() + "/B/b1", "b");
    Config first = Config::defaultDocument();
    first.workspaces.insert(first.workspaces.begin(), {Workspace::make("A"), Workspace::make("B")});
    first.activeWorkspace = "A";
    first.settings.moveGapMs = 10;
    FileStateStore(paths.config(), paths.journal()).saveConfig(first);
    DocumentService service(paths.config(), paths.journal());
    service.announce();
    ASSERT_TRUE(service.watch());
    LogCapture log;

    // The engine waits in its gap between moving out and in until the edit is on disk.
    QSemaphore inGap;
    QSemaphore edited;
    FileSystemSurface surface(paths.desktop(), paths.workspaces());
    DesktopSwapper swapper(surface, service.beginEngine(), [&](double) {
        inGap.release();
        edited.acquire();
    });
    std::unique_ptr<QThread> worker(QThread::create([&] { swapper.switchTo("B"); }));
    worker->start();
    ASSERT_TRUE(inGap.tryAcquire(1, 10000));
    Config hand = FileStateStore(paths.config(), paths.journal()).loadConfig();
    EXPECT_EQ(hand.workspace("A")->files, QStringList{"a1"}); // the switch's first save
    hand.workspaces.insert(hand.workspaces.begin() + 2, Workspace::make("C"));
    hand.updateWorkspace("B", [](Workspace &w) { w.colorHex = "#123456"; });
    hand.settings.scrollToCycle = !first.settings.scrollToCycle;
    hand.updateWorkspace("A", [](Workspace &w) { w.files = {"gone"}; });
    FileStateStore(paths.config(), paths.journal()).saveConfig(hand);
    service.mutateConfig([](Config &config) { config.settings.moveGapMs = 25; }); // the settings window's
    QTest::qWait(100);                                                            // the watch sees the edit while the engine still holds the document
    edited.release();
    ASSERT_TRUE(worker->wait(10000));
    service.endEngine();

    const auto stored = [&] { return FileStateStore(paths.config(), paths.journal()).loadConfig(); };
    Config after = stored();
    EXPECT_EQ(after.activeWorkspace, "B");
    EXPECT_EQ(after.workspace("B")->files, QStringList{"b1"});
    EXPECT_EQ(after.workspace("A")->files, QStringList{"a1"});
    ASSERT_NE(after.workspace("C"), nullptr);
    EXPECT_EQ(after.workspace("B")->colorHex, "#123456");
    EXPECT_EQ(after.settings.scrollToCycle, hand.settings.scrollToCycle);
    EXPECT_EQ(after.settings.moveGapMs, 25);
    EXPECT_EQ(service.document(), after);
    EXPECT_EQ(log.countStartingWith("config.json was changed on disk during the switch"), 1);
    EXPECT_EQ(log.count(u"config.json: changed on disk and by the switch, the switch's value stays: "
                        u"workspaces[A].files: kept [\"a1\"], dropped [\"gone\"]"_qs),
              1);

    // After the engine's last save, before the switch is told done: an edit from the document
    // as it was before the switch.
    StateStore &engine = service.beginEngine();
    Config own = engine.loadConfig();
    Config stale = own;
    own.activeWorkspace = "A";
    engine.saveConfig(own);
    stale.settings.followSpaces = !stale.settings.followSpaces;
    FileStateStore(paths.config(), paths.journal()).saveConfig(stale);
    service.endEngine();
    after = stored();
    EXPECT_EQ(after.settings.followSpaces, stale.settings.followSpaces);
    EXPECT_EQ(after.activeWorkspace, "A");
}
