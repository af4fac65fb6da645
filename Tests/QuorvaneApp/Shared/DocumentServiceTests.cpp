#include "Shared/DocumentService.h"

#include "TestEnvironment.h"
#include "Wait.h"

#include "StoreError.h"

#include <QDir>
#include <QFile>
#include <QJsonDocument>
#include <QSignalSpy>
#include <gtest/gtest.h>

using namespace quorvane;
using namespace quorvane::test;
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
