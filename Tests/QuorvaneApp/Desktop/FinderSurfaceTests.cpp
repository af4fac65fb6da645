#include "Desktop/AutomationPermission.h"
#include "AutomationProbe.h"
#include "FakeScriptRunner.h"
#include "Desktop/FinderError.h"
#include "Desktop/FinderSurface.h"
#include "Paths.h"
#include "Scheduler.h"
#include "TestEnvironment.h"

#include <QFileInfo>
#include <gtest/gtest.h>

#include <functional>
#include <vector>

using namespace quorvane;
using quorvane::test::FakeScriptRunner;
using quorvane::test::TempHome;

namespace {

class FinderSurfaceTest : public testing::Test {
protected:
    TempHome home;
    Paths paths = Paths::forHome(home.path());
    FakeScriptRunner inProcess;
    FakeScriptRunner subprocess;
    FinderSurface surface{paths.desktop(), paths.workspaces(), inProcess, subprocess};

    QString finderErrorOf(const std::function<void()> &call)
    {
        try {
            call();
        } catch (const FinderError &error) {
            EXPECT_EQ(error.kind(), FinderError::Kind::appleScript);
            return error.text();
        }
        ADD_FAILURE() << "no FinderError";
        return {};
    }
};

// Byte-for-byte script texts.

TEST_F(FinderSurfaceTest, BatchedReadScript)
{
    surface.readPositions({"a.txt", "Say \"hi\"", "back\\slash\"q"});
    ASSERT_EQ(subprocess.scripts.size(), 1);
    EXPECT_TRUE(inProcess.scripts.isEmpty());
    const QByteArray expected =
        "tell application \"Finder\"\n"
        "  set theDesktop to desktop\n"
        "  set out to \"\"\n"
        "  try\n"
        "    set p to desktop position of file \"a.txt\" of theDesktop\n"
        "    set out to out & \"0\" & tab & ((item 1 of p) as string) & tab & ((item 2 of p) as string) & return\n"
        "  end try\n"
        "  try\n"
        "    set p to desktop position of file \"Say \\\"hi\\\"\" of theDesktop\n"
        "    set out to out & \"1\" & tab & ((item 1 of p) as string) & tab & ((item 2 of p) as string) & return\n"
        "  end try\n"
        "  try\n"
        "    set p to desktop position of file \"back\\\\slash\\\"q\" of theDesktop\n"
        "    set out to out & \"2\" & tab & ((item 1 of p) as string) & tab & ((item 2 of p) as string) & return\n"
        "  end try\n"
        "  return out\n"
        "end tell";
    EXPECT_EQ(subprocess.scripts[0].toUtf8(), expected);
}

TEST_F(FinderSurfaceTest, SingleReadScript)
{
    surface.readPosition(QString::fromUtf8("caf\xC3\xA9 \"1\\2\""));
    ASSERT_EQ(subprocess.scripts.size(), 1);
    EXPECT_EQ(subprocess.scripts[0].toUtf8(),
              QByteArray("tell application \"Finder\" to get desktop position of file \"caf\xC3\xA9 \\\"1\\\\2\\\"\" of desktop"));
}

TEST_F(FinderSurfaceTest, SingleWriteScript)
{
    surface.writePosition({-12, 340}, "x\"y");
    ASSERT_EQ(inProcess.scripts.size(), 1);
    EXPECT_TRUE(subprocess.scripts.isEmpty());
    EXPECT_EQ(inProcess.scripts[0].toUtf8(),
              QByteArray("tell application \"Finder\" to set desktop position of file \"x\\\"y\" of desktop to {-12, 340}"));
}

TEST_F(FinderSurfaceTest, BatchedWriteScript)
{
    surface.writePositions({{"a", {1, 2}}, {"b\\", {-3, 40000}}});
    ASSERT_EQ(inProcess.scripts.size(), 1);
    const QByteArray expected =
        "tell application \"Finder\"\n"
        "  set theDesktop to desktop\n"
        "  try\n"
        "    set desktop position of file \"a\" of theDesktop to {1, 2}\n"
        "  end try\n"
        "  try\n"
        "    set desktop position of file \"b\\\\\" of theDesktop to {-3, 40000}\n"
        "  end try\n"
        "  try\n"
        "    update every item of theDesktop\n"
        "  end try\n"
        "end tell";
    EXPECT_EQ(inProcess.scripts[0].toUtf8(), expected);
}

TEST_F(FinderSurfaceTest, EmptyListsAndMapsRunNothing)
{
    EXPECT_TRUE(surface.readPositions({}).empty());
    surface.writePositions({});
    EXPECT_TRUE(subprocess.scripts.isEmpty());
    EXPECT_TRUE(inProcess.scripts.isEmpty());
}

// Reply parsers.

TEST_F(FinderSurfaceTest, BatchedReplyParsing)
{
    const QStringList names{"first", "second", "third"};
    struct Case {
        const char *what;
        std::optional<QString> reply;
        IconPositions expected;
    };
    const Case cases[] = {
        {"no reply", std::nullopt, {}},
        {"second missing", QString("0\t10\t20\r2\t-30\t40"), {{"first", {10, 20}}, {"third", {-30, 40}}}},
        {"any newline separates", QString("0\t1\t2\n1\t3\t4\r\n2\t5\t6"),
         {{"first", {1, 2}}, {"second", {3, 4}}, {"third", {5, 6}}}},
        {"two fields", QString("0\t10\r1\t3\t4"), {{"second", {3, 4}}}},
        {"four fields", QString("0\t1\t2\t3"), {}},
        {"empty field", QString("0\t\t2"), {}},
        {"non-numeric", QString("0\t1.5\t2\r1\tx\t2\r2\t 3\t4"), {}},
        {"signed", QString("+1\t+3\t-4"), {{"second", {3, -4}}}},
        {"index outside", QString("3\t1\t2\r-1\t1\t2\r0\t7\t8"), {{"first", {7, 8}}}},
        {"overflow", QString("0\t99999999999999999999\t1"), {}},
    };
    for (const Case &c : cases) {
        subprocess.replies = {c.reply};
        EXPECT_EQ(surface.readPositions(names), c.expected) << c.what;
    }
}

TEST_F(FinderSurfaceTest, SingleReplyParsing)
{
    struct Case {
        std::optional<QString> reply;
        std::optional<IconPosition> expected;
    };
    const Case cases[] = {
        {QString("120, 340"), IconPosition{120, 340}},
        {QString("-5,7"), IconPosition{-5, 7}},
        {QString(",120,, 340,"), IconPosition{120, 340}},
        {QString("120"), std::nullopt},
        {QString("1, 2, 3"), std::nullopt},
        {QString("1, , 2"), std::nullopt},
        {QString("1.0, 2"), std::nullopt},
        {QString("a, b"), std::nullopt},
        {std::nullopt, std::nullopt},
    };
    for (const Case &c : cases) {
        subprocess.replies = {c.reply};
        EXPECT_EQ(surface.readPosition("x"), c.expected) << (c.reply ? c.reply->toStdString() : "none");
    }
}

TEST_F(FinderSurfaceTest, ScriptFailuresBecomeFinderErrors)
{
    const QString refused = "Not authorized to send Apple events to Finder. (-1743)";
    subprocess.failText = refused;
    inProcess.failText = refused;
    EXPECT_EQ(finderErrorOf([&] { surface.readPositions({"a"}); }), refused);
    EXPECT_EQ(finderErrorOf([&] { surface.readPosition("a"); }), refused);
    EXPECT_EQ(finderErrorOf([&] { surface.writePosition({1, 2}, "a"); }), refused);
    EXPECT_EQ(finderErrorOf([&] { surface.writePositions({{"a", {1, 2}}}); }), refused);
}

TEST_F(FinderSurfaceTest, FileWorkGoesToTheFileSystem)
{
    test::writeFile(paths.desktop() + "/b", "b");
    test::writeFile(paths.desktop() + "/a", "a");
    test::writeFile(paths.desktop() + "/.DS_Store", "layout");
    QDir().mkpath(paths.workspaces());
    EXPECT_TRUE(surface.sameVolume());
    EXPECT_EQ(surface.items(Location::desktop()), (QStringList{"a", "b"}));
    surface.move("a", Location::desktop(), Location::workspace("Work"));
    surface.carryPositions(Location::desktop(), Location::workspace("Work"));
    EXPECT_EQ(surface.items(Location::workspace("Work")), QStringList{"a"});
    EXPECT_FALSE(QFileInfo::exists(paths.workspaces() + "/Work/.DS_Store"));
    EXPECT_EQ(test::readFile(paths.desktop() + "/.DS_Store"), "layout");
    EXPECT_TRUE(subprocess.scripts.isEmpty());
    EXPECT_TRUE(inProcess.scripts.isEmpty());
}

// Automation permission.

class FixedProbe : public AutomationProbe {
public:
    std::optional<std::int32_t> answer;
    QByteArray asked;
    std::optional<std::int32_t> permissionToAutomate(const QByteArray &bundleIdentifier) override
    {
        asked = bundleIdentifier;
        return answer;
    }
};

class ManualScheduler : public Scheduler {
public:
    std::vector<std::function<void()>> pending;
    Token after(double, std::function<void()> fn) override
    {
        pending.push_back(std::move(fn));
        return pending.size();
    }
    Token every(double, std::function<void()>) override { return 0; }
    void cancel(Token) override {}
};

TEST(AutomationPermission, MapsTheSystemStatus)
{
    FixedProbe probe;
    FakeScriptRunner runner;
    ManualScheduler scheduler;
    AutomationPermission permission(probe, runner, scheduler);
    const std::pair<std::optional<std::int32_t>, AutomationPermission::Status> cases[] = {
        {0, AutomationPermission::Status::granted},
        {-1743, AutomationPermission::Status::denied},
        {-1744, AutomationPermission::Status::undetermined},
        {AutomationProbe::noSuchApplication, AutomationPermission::Status::unknown},
        {1, AutomationPermission::Status::unknown},
        {std::nullopt, AutomationPermission::Status::unknown},
    };
    for (const auto &[code, status] : cases) {
        probe.answer = code;
        EXPECT_EQ(permission.finderStatus(), status);
    }
    EXPECT_EQ(probe.asked, "com.apple.finder");
    EXPECT_TRUE(runner.scripts.isEmpty()); // asking never runs a script
}

TEST(AutomationPermission, OnThisPlatformTheStatusIsUnknown)
{
    LinuxAutomationProbe probe;
    LinuxScriptRunner runner;
    ManualScheduler scheduler;
    EXPECT_EQ(AutomationPermission(probe, runner, scheduler).finderStatus(), AutomationPermission::Status::unknown);
}

TEST(AutomationPermission, RequestRunsTheScriptLaterAndIgnoresItsFailure)
{
    FixedProbe probe;
    FakeScriptRunner runner;
    runner.failText = "could not create script";
    ManualScheduler scheduler;
    AutomationPermission permission(probe, runner, scheduler);
    permission.request();
    EXPECT_TRUE(runner.scripts.isEmpty());
    ASSERT_EQ(scheduler.pending.size(), 1u);
    EXPECT_NO_THROW(scheduler.pending[0]());
    EXPECT_EQ(runner.scripts, QStringList{"tell application \"Finder\" to name of desktop"});
}

} // namespace
