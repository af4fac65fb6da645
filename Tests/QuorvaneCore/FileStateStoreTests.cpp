#include "DecodeError.h"
#include "FileStateStore.h"
#include "IoError.h"
#include "Paths.h"
#include "StoreError.h"
#include "TestEnvironment.h"

#include <QDateTime>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <gtest/gtest.h>

#include <sys/stat.h>
#include <sys/wait.h>
#include <unistd.h>

using namespace quorvane;

namespace {

struct StoreFixture : ::testing::Test {
    test::TempHome home;
    Paths paths = Paths::forHome(home.path());
    FileStateStore store{paths.config(), paths.journal()};

    void SetUp() override { ASSERT_TRUE(QDir().mkpath(paths.store())); }
    QByteArray configBytes() const { return test::readFile(paths.config()); }
};

Journal sampleJournal()
{
    return Journal{"Work", "Home", {"a.txt", "Ordner ä"}, {"b.png"}};
}

} // namespace

TEST_F(StoreFixture, MissingDocumentIsTheFreshDefaultAndWritesNothing)
{
    const Config c = store.loadConfig();
    EXPECT_EQ(c.activeWorkspace, "_Hidden Desktop");
    EXPECT_TRUE(c.workspaces.empty());
    EXPECT_EQ(c.schemaVersion, 1);
    EXPECT_EQ(c, Config::defaultDocument());
    EXPECT_FALSE(QFileInfo::exists(paths.config()));

    // The store folder itself missing reads the same way, and still creates nothing.
    QDir(paths.root()).removeRecursively();
    EXPECT_EQ(store.loadConfig(), Config::defaultDocument());
    EXPECT_FALSE(QFileInfo::exists(paths.store()));
}

TEST_F(StoreFixture, ADocumentThatExistsButCannotBeReadIsAnErrorAndIsNeverReplaced)
{
    // Empty and damaged documents fail to decode.
    test::writeFile(paths.config(), "");
    EXPECT_THROW(store.loadConfig(), DecodeError);
    test::writeFile(paths.config(), "{\"activeWorkspace\":");
    EXPECT_THROW(store.loadConfig(), DecodeError);
    test::writeFile(paths.config(), "[1,2]");
    EXPECT_THROW(store.loadConfig(), DecodeError);

    // A folder in the document's place is a read error, not a fresh start.
    QFile::remove(paths.config());
    ASSERT_TRUE(QDir().mkpath(paths.config()));
    EXPECT_THROW(store.loadConfig(), IoError);
    QDir(paths.config()).removeRecursively();
    // So are a FIFO (read without waiting for a writer) and a device behind the document's link.
    ASSERT_EQ(::mkfifo(QFile::encodeName(paths.config()).constData(), 0600), 0);
    EXPECT_THROW(store.loadConfig(), IoError);
    ASSERT_EQ(::mkfifo(QFile::encodeName(paths.journal()).constData(), 0600), 0);
    EXPECT_THROW(store.loadJournal(), IoError);
    QFile::remove(paths.config());
    ASSERT_TRUE(QFile::link("/dev/zero", paths.config()));
    EXPECT_THROW(store.loadConfig(), IoError);
    QFile::remove(paths.config());
    QFile::remove(paths.journal());

    // So is a document without read permission; a mutation then leaves it untouched.
    const QByteArray original = R"({"activeWorkspace":"Work","workspaces":[{"name":"Work"}]})";
    test::writeFile(paths.config(), original);
    ASSERT_EQ(::chmod(QFile::encodeName(paths.config()).constData(), 0), 0);
    for (const QString &dir : {home.path(), paths.root(), paths.store()})
        ::chmod(QFile::encodeName(dir).constData(), 0755);
    // Root reads any file: check as an unprivileged user in a child process.
    const pid_t child = ::fork();
    ASSERT_GE(child, 0);
    if (child == 0) {
        if (::geteuid() == 0 && (::setgid(65534) != 0 || ::setuid(65534) != 0))
            ::_exit(10);
        int code = 0;
        try {
            store.loadConfig();
            code = 1;
        } catch (const IoError &) {
        } catch (...) {
            code = 2;
        }
        try {
            store.mutateConfig([](Config &c) { c.activeWorkspace = "x"; });
            code = code ? code : 3;
        } catch (const IoError &) {
        } catch (...) {
            code = code ? code : 4;
        }
        ::_exit(code);
    }
    int status = 0;
    ASSERT_EQ(::waitpid(child, &status, 0), child);
    ASSERT_TRUE(WIFEXITED(status));
    EXPECT_EQ(WEXITSTATUS(status), 0) << "1/3: no error, 2/4: wrong error, 10: cannot drop privileges";
    ::chmod(QFile::encodeName(paths.config()).constData(), 0644);
    EXPECT_EQ(configBytes(), original);
}

TEST_F(StoreFixture, SavesRoundTripAndNormaliseTheSchemaVersion)
{
    Config c = Config::defaultDocument();
    c.activeWorkspace = "Work";
    c.workspaces.push_back(Workspace::fromJson(QJsonObject{{"name", "Work"}}));
    c.schemaVersion = 0;
    store.saveConfig(c);
    const Config loaded = store.loadConfig();
    EXPECT_EQ(loaded.schemaVersion, 1);
    c.schemaVersion = 1;
    EXPECT_EQ(loaded, c);
    // Compact JSON, and no temporary file left beside it.
    EXPECT_FALSE(configBytes().contains('\n'));
    EXPECT_EQ(QDir(paths.store()).entryList(QDir::AllEntries | QDir::Hidden | QDir::NoDotAndDotDot),
              QStringList{"config.json"});
}

TEST_F(StoreFixture, ANewerDocumentLoadsButIsNeverWritten)
{
    const QByteArray original = R"({"schemaVersion":2,"activeWorkspace":"Work","futureKey":[1]})";
    test::writeFile(paths.config(), original);
    Config c = store.loadConfig();
    EXPECT_EQ(c.schemaVersion, 2);
    try {
        store.saveConfig(c);
        FAIL() << "saving a newer document must throw";
    } catch (const StoreError &e) {
        EXPECT_EQ(e.fileVersion(), 2);
        EXPECT_EQ(e, StoreError::configNewerThanApp(2));
        EXPECT_EQ(e.description(), QStringLiteral("Your Quorvane data was saved by a newer version of the app. Update "
                                                  "Quorvane to make changes — nothing has been changed or lost."));
    }
    EXPECT_THROW(store.mutateConfig([](Config &) {}), StoreError);
    EXPECT_EQ(configBytes(), original);
}

TEST_F(StoreFixture, AThrowingEditSavesNothing)
{
    store.saveConfig(Config::defaultDocument());
    const QByteArray before = configBytes();
    EXPECT_THROW(store.mutateConfig([](Config &c) {
        c.activeWorkspace = "Changed";
        throw std::runtime_error("edit failed");
    }),
                 std::runtime_error);
    EXPECT_EQ(configBytes(), before);

    store.mutateConfig([](Config &c) { c.lastExpandedWorkspace = "Work"; });
    EXPECT_EQ(store.loadConfig().lastExpandedWorkspace, std::optional<QString>("Work"));
}

TEST_F(StoreFixture, AMissingStoreFolderFailsTheWriteAndTheStoreCreatesNoFolders)
{
    QDir(paths.store()).removeRecursively();
    EXPECT_THROW(store.saveConfig(Config::defaultDocument()), IoError);
    EXPECT_THROW(store.saveJournal(sampleJournal()), IoError);
    EXPECT_FALSE(QFileInfo::exists(paths.store()));
}

TEST_F(StoreFixture, JournalLifecycle)
{
    EXPECT_EQ(store.loadJournal(), std::nullopt);
    store.saveJournal(std::nullopt); // nothing to remove is fine
    store.saveJournal(sampleJournal());
    EXPECT_EQ(store.loadJournal(), sampleJournal());
    EXPECT_TRUE(store.hasPendingJournal());
    store.saveJournal(std::nullopt);
    EXPECT_FALSE(QFileInfo::exists(paths.journal()));
    EXPECT_EQ(store.loadJournal(), std::nullopt);
    EXPECT_FALSE(store.hasPendingJournal());
}

TEST_F(StoreFixture, JournalDecoding)
{
    test::writeFile(paths.journal(), "");
    EXPECT_EQ(store.loadJournal(), std::nullopt);

    test::writeFile(paths.journal(), R"({"fromWorkspace":"A","toWorkspace":"B","outgoing":["x"]})");
    EXPECT_THROW(store.loadJournal(), DecodeError);
    // A journal that cannot be decoded does not count as a pending switch.
    EXPECT_FALSE(store.hasPendingJournal());

    test::writeFile(paths.journal(), R"({"fromWorkspace":"A","toWorkspace":"B","outgoing":["x"],"incoming":[)");
    EXPECT_THROW(store.loadJournal(), DecodeError);

    test::writeFile(paths.journal(), R"({"incoming":[],"outgoing":[],"toWorkspace":"B","fromWorkspace":"A","extra":1})");
    EXPECT_EQ(store.loadJournal(), (Journal{"A", "B", {}, {}}));

    test::writeFile(paths.journal(), R"({"fromWorkspace":"A","toWorkspace":"B","outgoing":[1],"incoming":[]})");
    EXPECT_THROW(store.loadJournal(), DecodeError);
}

TEST_F(StoreFixture, AJournalThatExistsButCannotBeReadIsAnError)
{
    // Only a missing journal is none: an unreadable one still names a switch in progress.
    ASSERT_TRUE(QDir().mkpath(paths.journal()));
    EXPECT_THROW(store.loadJournal(), IoError);
    EXPECT_FALSE(store.hasPendingJournal());
}

TEST_F(StoreFixture, AJournalThatCannotBeRemovedIsAnError)
{
    // A folder in the journal's place cannot be unlinked: the switch must not report success.
    ASSERT_TRUE(QDir().mkpath(paths.journal() + "/inside"));
    EXPECT_THROW(store.saveJournal(std::nullopt), IoError);
}

TEST_F(StoreFixture, AtomicWriteReplacesWholeOrNotAtAll)
{
    const QString target = paths.store() + "/doc.json";
    FileStateStore::atomicWrite(target, "first");
    FileStateStore::atomicWrite(target, "second, longer");
    EXPECT_EQ(test::readFile(target), "second, longer");
    // A write that cannot even start leaves the old file as it was.
    EXPECT_THROW(FileStateStore::atomicWrite(paths.store() + "/missing/doc.json", "x"), IoError);
    EXPECT_EQ(test::readFile(target), "second, longer");
}

TEST_F(StoreFixture, ASaveWritesThroughALinkedDocumentAndKeepsTheLink)
{
    const QString elsewhere = home.path() + "/dotfiles/quorvane.json";
    // The link's target does not exist yet: the first save creates it there.
    ASSERT_TRUE(QDir().mkpath(home.path() + "/dotfiles"));
    ASSERT_EQ(::symlink("../../dotfiles/quorvane.json", QFile::encodeName(paths.config()).constData()), 0);
    Config config = store.loadConfig();
    config.activeWorkspace = "Linked";
    store.saveConfig(config);
    EXPECT_TRUE(QFileInfo(paths.config()).isSymLink());
    EXPECT_EQ(store.loadConfig().activeWorkspace, "Linked");
    EXPECT_EQ(FileStateStore(elsewhere, paths.journal()).loadConfig().activeWorkspace, "Linked");
    // The temporary file went beside the target and is gone.
    EXPECT_EQ(QDir(home.path() + "/dotfiles").entryList(QDir::Files | QDir::Hidden), QStringList{"quorvane.json"});
}

// A document this store wrote is answered from what it wrote; one written elsewhere is decoded
// once, and read again only while a later change could still carry the same file times, so an
// in-place change of the same size straight after is seen too.
TEST_F(StoreFixture, TheDocumentIsReadAgainOnlyWhenItsFileChanged)
{
    Config c = Config::defaultDocument();
    c.activeWorkspace = "Aaaa";
    store.saveConfig(c);
    EXPECT_EQ(store.loadConfig().activeWorkspace, "Aaaa");
    EXPECT_EQ(store.configReads(), 0);

    FileStateStore other{paths.config(), paths.journal()};
    c.activeWorkspace = "Bbbb";
    other.saveConfig(c);
    EXPECT_EQ(store.loadConfig().activeWorkspace, "Bbbb");
    QByteArray edited = configBytes();
    edited.replace("\"Bbbb\"", "\"Cccc\"");
    test::writeFile(paths.config(), edited); // in place: same inode and size, at once
    EXPECT_EQ(store.loadConfig().activeWorkspace, "Cccc");
    EXPECT_EQ(store.configDecodes(), 2);

    ::usleep(150'000); // once its times have settled, the file is read once more, then no more
    EXPECT_EQ(store.loadConfig().activeWorkspace, "Cccc");
    const int reads = store.configReads();
    EXPECT_EQ(store.loadConfig().activeWorkspace, "Cccc");
    EXPECT_EQ(store.configReads(), reads);
    EXPECT_EQ(store.configDecodes(), 2);

    ASSERT_TRUE(QFile::remove(paths.config()));
    EXPECT_EQ(store.loadConfig(), Config::defaultDocument());
    test::writeFile(paths.config(), "{ broken");
    EXPECT_THROW(store.loadConfig(), DecodeError);
    EXPECT_THROW(store.loadConfig(), DecodeError);
}

// An uninstall sets the document and the journal aside under names that say so, never
// replacing an earlier one; the store then loads the fresh default and writes nothing more.
TEST_F(StoreFixture, ARetiredDocumentIsSetAsideNeverReplacedAndNotWrittenAgain)
{
    Config c = Config::defaultDocument();
    c.activeWorkspace = "Work";
    store.saveConfig(c);
    store.saveJournal(sampleJournal());
    const QByteArray document = configBytes();
    const QDateTime when(QDate(2026, 12, 9), QTime(21, 30, 5), Qt::UTC);
    EXPECT_EQ(store.retire(when), (QStringList{"journal.uninstalled-2026-12-09-213005.json", "config.uninstalled-2026-12-09-213005.json"}));
    EXPECT_EQ(store.loadConfig(), Config::defaultDocument());
    EXPECT_THROW(store.saveConfig(c), IoError);
    EXPECT_THROW(store.saveJournal(sampleJournal()), IoError);
    EXPECT_FALSE(QFileInfo::exists(paths.config()) || QFileInfo::exists(paths.journal()));

    FileStateStore second{paths.config(), paths.journal()};
    second.saveConfig(Config::defaultDocument());
    EXPECT_EQ(second.retire(when), QStringList{"config.uninstalled-2026-12-09-213005-2.json"});
    EXPECT_EQ(test::readFile(paths.store() + "/config.uninstalled-2026-12-09-213005.json"), document);
}
