#include "Desktop/AutomationPermission.h"
#include "Desktop/CarriedPositions.h"
#include "Desktop/FinderSurface.h"
#include "FakeDesktopIconHost.h"
#include "Paths.h"
#include "TestEnvironment.h"
#include "Wait.h"
#include "Work/HostWork.h"

#include <QCoreApplication>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QThread>
#include <gtest/gtest.h>

#include <atomic>
#include <functional>
#include <sys/stat.h>
#include <thread>

using namespace quorvane;
using quorvane::test::FakeDesktopIconHost;
using quorvane::test::TempHome;

namespace {

using test::inodeOf;

class FinderSurfaceTest : public testing::Test {
protected:
    TempHome home;
    Paths paths = Paths::forHome(home.path());
    std::shared_ptr<FakeDesktopIconHost> host = std::make_shared<FakeDesktopIconHost>();
    bool hostRuns = true;
    QStringList logged;
    FinderSurface surface{paths.desktop(), paths.workspaces(), [this]() -> std::shared_ptr<DesktopIconHost> {
                              return hostRuns ? host : nullptr;
                          }};

    void SetUp() override
    {
        surface.setLog([this](const QString &line) { logged << line; });
    }
    QString folder(const QString &desk) const { return paths.workspaces() + "/" + desk; }
    IconPositions kept(const QString &desk) { return CarriedPositions(folder(desk)).of(host->name()); }
    void put(const QString &at, const QString &name) { test::writeFile(at + "/" + name, name.toUtf8()); }
};

TEST_F(FinderSurfaceTest, ARoundTripBringsEveryEntryBackAndLeavesOtherNamesAlone)
{
    put(paths.desktop(), "a.txt");
    put(paths.desktop(), "b.txt");
    host->store = {{"a.txt", {6, 3}}, {"pinned", {1, 1}}};
    surface.carryPositions(Location::desktop(), Location::workspace("Work"), {"a.txt", "b.txt"});
    EXPECT_EQ(kept("Work"), (IconPositions{{"a.txt", {6, 3}}}));
    EXPECT_TRUE(host->writes.empty()) << "leaving writes nothing into the host's store";

    // Another desktop's "a.txt" had no position: the host forgets the old one for it, and
    // those of every name that left with the other desktop.
    put(folder("Home"), "a.txt");
    surface.carryPositions(Location::workspace("Home"), Location::desktop(), {"a.txt"});
    ASSERT_EQ(host->writes.size(), 1u);
    EXPECT_TRUE(host->writes[0].set.empty());
    EXPECT_EQ(host->writes[0].forget, (QStringList{"a.txt", "b.txt"}));
    surface.finishCarry();

    surface.carryPositions(Location::workspace("Work"), Location::desktop(), {"a.txt", "b.txt"});
    ASSERT_EQ(host->writes.size(), 2u);
    EXPECT_EQ(host->writes[1].set, (IconPositions{{"a.txt", {6, 3}}}));
    EXPECT_EQ(host->writes[1].forget, QStringList{"b.txt"});
    EXPECT_FALSE(host->writes[1].reload);
    EXPECT_EQ(host->store, (IconPositions{{"a.txt", {6, 3}}, {"pinned", {1, 1}}}));
    EXPECT_TRUE(logged.isEmpty());
}

TEST_F(FinderSurfaceTest, LeavingDropsStaleEntriesAndKeepsThoseOfItemsInTheFolder)
{
    put(folder("Work"), "stays");
    {
        CarriedPositions carried(folder("Work"));
        carried.of(host->name()) = {{"stays", {2, 2}}, {"gone", {3, 3}}, {"moves", {4, 4}}};
        carried.of("other host") = {{"gone", {9, 9}}};
        carried.save();
    }
    put(paths.desktop(), "moves");
    surface.carryPositions(Location::desktop(), Location::workspace("Work"), {"moves"});
    // "moves" has no entry in the host any more: the folder forgets its old one.
    EXPECT_EQ(kept("Work"), (IconPositions{{"stays", {2, 2}}}));
    EXPECT_EQ(CarriedPositions(folder("Work")).of("other host"), (IconPositions{{"gone", {9, 9}}}));
}

TEST_F(FinderSurfaceTest, TheFolderFileIsWrittenOnlyWhenItChanges)
{
    put(paths.desktop(), "a");
    host->store = {{"a", {1, 2}}};
    surface.carryPositions(Location::desktop(), Location::workspace("Work"), {"a"});
    const QString file = folder("Work") + "/" + CarriedPositions::fileName;
    ASSERT_TRUE(QFileInfo::exists(file));
    const QByteArray before = test::readFile(file);
    const auto inode = inodeOf(file);
    surface.carryPositions(Location::desktop(), Location::workspace("Work"), {"a"});
    EXPECT_EQ(inodeOf(file), inode) << "rewritten without a change";
    EXPECT_EQ(test::readFile(file), before);
    host->store = {{"a", {1, 3}}};
    surface.carryPositions(Location::desktop(), Location::workspace("Work"), {"a"});
    EXPECT_NE(inodeOf(file), inode) << "not replaced in one step";
    // Nothing to keep: no file is made.
    surface.carryPositions(Location::desktop(), Location::workspace("Empty"), {"b"});
    EXPECT_FALSE(QFileInfo::exists(folder("Empty") + "/" + CarriedPositions::fileName));
    EXPECT_TRUE(surface.items(Location::workspace("Work")).isEmpty()) << "the hidden file is no item";
}

// A file made later on a desktop that brought no item of that name finds no place kept for it.
TEST_F(FinderSurfaceTest, NamesThatLeftAreForgottenByTheHostEvenWhenNothingArrives)
{
    put(paths.desktop(), "notes.txt");
    host->store = {{"notes.txt", {2, 3}}, {"pinned", {1, 1}}};
    surface.carryPositions(Location::desktop(), Location::workspace("Work"), {"notes.txt"});
    surface.carryPositions(Location::workspace("Empty"), Location::desktop(), {});
    surface.finishCarry();
    EXPECT_EQ(host->store, (IconPositions{{"pinned", {1, 1}}}));
    EXPECT_EQ(kept("Work"), (IconPositions{{"notes.txt", {2, 3}}}));
    surface.finishCarry();
    EXPECT_EQ(host->writes.size(), 1u);
}

TEST_F(FinderSurfaceTest, AHostThatReadsOnlyAtStartOrOnTheItemGetsTheEntriesOnceTheItemsMoved)
{
    {
        CarriedPositions carried(folder("Work"));
        carried.of(host->name()) = {{"a", {300, 200}}};
        carried.save();
    }
    for (const auto pickup : {DesktopIconHost::Pickup::onRestart, DesktopIconHost::Pickup::onTheItem}) {
        host->hostPickup = pickup;
        host->writes.clear();
        surface.carryPositions(Location::workspace("Work"), Location::desktop(), {"a"});
        EXPECT_TRUE(host->writes.empty());
        surface.finishCarry();
        ASSERT_EQ(host->writes.size(), 1u);
        EXPECT_TRUE(host->writes[0].reload);
        EXPECT_EQ(host->writes[0].set, (IconPositions{{"a", {300, 200}}}));
        surface.finishCarry();
        EXPECT_EQ(host->writes.size(), 1u) << "one reload per carry";
    }
}

TEST_F(FinderSurfaceTest, EntriesWrittenAfterTheItemsArrivedHoldNoSwitchAndLeaveWithThemAgain)
{
    // A host that takes its time to start its desktop again.
    struct SlowHost : FakeDesktopIconHost {
        std::atomic<bool> hold = true;
        bool writeAndReload(const IconPositions &set, const QStringList &forget) override
        {
            while (hold)
                QThread::msleep(1);
            return FakeDesktopIconHost::writeAndReload(set, forget);
        }
    };
    auto slow = std::make_shared<SlowHost>();
    slow->hostPickup = DesktopIconHost::Pickup::onRestart;
    FinderSurface slowSurface{paths.desktop(), paths.workspaces(), [slow] { return slow; }};
    {
        CarriedPositions carried(folder("Work"));
        carried.of(slow->name()) = {{"a", {300, 200}}};
        carried.save();
    }
    HostWork::setInline(false);
    slowSurface.carryPositions(Location::workspace("Work"), Location::desktop(), {"a"});
    slowSurface.finishCarry(); // back while the host still works
    EXPECT_TRUE(slow->store.empty());
    std::thread release([&slow] {
        QThread::msleep(50);
        slow->hold = false;
    });
    // Leaving again, the items take the entries the host got meanwhile.
    slowSurface.carryPositions(Location::desktop(), Location::workspace("Work"), {"a"});
    release.join();
    HostWork::setInline(true);
    EXPECT_EQ(CarriedPositions(folder("Work")).of(slow->name()), (IconPositions{{"a", {300, 200}}}));
}

TEST_F(FinderSurfaceTest, AStoreThatCannotBeServedCostsPositionsAndOneLogLine)
{
    put(paths.desktop(), "a");
    host->failText = "not a store format this application knows";
    surface.carryPositions(Location::desktop(), Location::workspace("Work"), {"a"});
    surface.carryPositions(Location::workspace("Home"), Location::desktop(), {"b"});
    surface.finishCarry();
    EXPECT_EQ(logged.size(), 1) << "one line for the switch";
    EXPECT_TRUE(logged.value(0).contains("not a store format"));
    EXPECT_FALSE(QFileInfo::exists(folder("Work")));
    EXPECT_TRUE(surface.readPositions({"a"}).empty());
    EXPECT_NO_THROW(surface.writePositions({{"a", {1, 1}}}));
    EXPECT_EQ(logged.size(), 3);
}

// A read asked for from the GUI thread runs after the writes asked before it, and its answer
// comes back to the GUI thread; a store that can't be served answers none, with one line.
TEST_F(FinderSurfaceTest, APositionsReadLaterFollowsTheWritesBeforeItAndAnswersOnTheGuiThread)
{
    put(paths.desktop(), "a");
    HostWork::setInline(false);
    surface.writePositions({{"a", {7, 8}}});
    std::optional<IconPositions> answer;
    QThread *answeredOn = nullptr;
    const auto ask = [&] {
        answer.reset();
        surface.readPositionsLater({"a"}, [&](const IconPositions &read) {
            answer = read;
            answeredOn = QThread::currentThread();
        });
    };
    ask();
    EXPECT_FALSE(answer);
    EXPECT_TRUE(test::waitUntil([&] { return answer.has_value(); }));
    EXPECT_EQ(answer.value_or(IconPositions{}), (IconPositions{{"a", {7, 8}}}));
    EXPECT_EQ(answeredOn, QCoreApplication::instance()->thread());

    host->failText = "not a store format this application knows";
    ask();
    EXPECT_TRUE(test::waitUntil([&] { return answer.has_value(); }));
    HostWork::setInline(true);
    EXPECT_TRUE(answer.value_or(IconPositions{{"x", {0, 0}}}).empty());
    EXPECT_EQ(logged.size(), 1);
    EXPECT_TRUE(logged.value(0).contains("not a store format"));
}

TEST_F(FinderSurfaceTest, APositionsFileThatIsNoRegularFileOfOursIsLeftAloneAndCostsOneLogLine)
{
    const QString document = home.filePath("thesis.txt");
    test::writeFile(document, "chapter one\n");
    const QString file = folder("Work") + "/" + CarriedPositions::fileName;
    put(folder("Work"), "a");
    put(paths.desktop(), "b");
    host->store = {{"a", {1, 2}}, {"b", {3, 4}}};
    const std::vector<std::pair<const char *, std::function<void()>>> kinds{
        {"a link to a document", [&] { QFile::link(document, file); }},
        {"a link to a device", [&] { QFile::link("/dev/zero", file); }},
        {"a FIFO", [&] { ::mkfifo(QFile::encodeName(file).constData(), 0600); }},
        {"an oversize file", [&] { test::writeFile(file, QByteArray(CarriedPositions::maxBytes + 1, '{')); }},
    };
    for (const auto &[kind, make] : kinds) {
        SCOPED_TRACE(kind);
        QFile::remove(file);
        make();
        const QFileInfo before(file);
        // Leaving into that desktop, then arriving from it: each switch goes on with one line.
        logged.clear();
        surface.carryPositions(Location::desktop(), Location::workspace("Work"), {"b"});
        surface.carryPositions(Location::workspace("Home"), Location::desktop(), {"c"});
        surface.finishCarry();
        EXPECT_EQ(logged.size(), 1);
        host->writes.clear();
        surface.carryPositions(Location::desktop(), Location::workspace("Home"), {"b"});
        surface.carryPositions(Location::workspace("Work"), Location::desktop(), {"a"});
        surface.finishCarry();
        EXPECT_EQ(logged.size(), 2);
        // Only the name that left is forgotten by the host; nothing is placed.
        ASSERT_EQ(host->writes.size(), 1u);
        EXPECT_TRUE(host->writes[0].set.empty());
        EXPECT_EQ(host->writes[0].forget, QStringList{"b"});
        EXPECT_EQ(QFileInfo(file).isSymLink(), before.isSymLink());
        EXPECT_EQ(QFileInfo(file).size(), before.size());
        EXPECT_EQ(test::readFile(document), "chapter one\n");
    }
}

TEST_F(FinderSurfaceTest, WithoutAHostNothingIsReadOrWritten)
{
    hostRuns = false;
    put(paths.desktop(), "a");
    host->store = {{"a", {1, 2}}};
    surface.carryPositions(Location::desktop(), Location::workspace("Work"), {"a"});
    surface.writePositions({{"a", {5, 5}}});
    EXPECT_TRUE(surface.readPositions({"a"}).empty());
    EXPECT_FALSE(QFileInfo::exists(folder("Work")));
    EXPECT_TRUE(host->writes.empty());
    hostRuns = true;
    EXPECT_EQ(surface.readPosition("a"), (IconPosition{1, 2}));
    surface.writePosition({7, 8}, "a");
    ASSERT_EQ(host->writes.size(), 1u);
    EXPECT_TRUE(host->writes[0].reload);
}

TEST(AutomationPermission, GrantedWhileAHostWithAPositionStoreRuns)
{
    auto host = std::make_shared<FakeDesktopIconHost>();
    std::shared_ptr<DesktopIconHost> running = host;
    AutomationPermission permission([&running] { return running; });
    EXPECT_EQ(permission.finderStatus(), AutomationPermission::Status::granted);
    running = nullptr;
    EXPECT_EQ(permission.finderStatus(), AutomationPermission::Status::unknown);
    EXPECT_EQ(AutomationPermission({}).finderStatus(), AutomationPermission::Status::unknown);
}

} // namespace
