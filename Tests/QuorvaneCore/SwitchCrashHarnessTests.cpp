// Interrupts switches at every point where they change the disk or the store, as a process
// death would, then recovers with fresh objects and checks that no item was lost, duplicated
// or overwritten and that the document names the desktop whose items lie on the Desktop.

#include "DesktopSwapper.h"
#include "NoReplaceMove.h"
#include "SurfaceError.h"
#include "SwapTestSupport.h"

#include <gtest/gtest.h>

#include <QFile>

#include <filesystem>
#include <fstream>
#include <iostream>
#include <map>
#include <set>
#include <sstream>
#include <string>

using namespace quorvane;
using namespace quorvane::test;
namespace fs = std::filesystem;

namespace {

const QString blank = QStringLiteral("_Hidden Desktop");
const QString stash = QStringLiteral(".pinned");
const QString desktopName = QStringLiteral("Desktop"); // the Desktop as a container below

struct Crash : std::runtime_error {
    Crash()
        : std::runtime_error("simulated crash")
    {
    }
};

// Counts the points where a switch changes something; at the chosen point it "dies": that
// call throws, and so does every later call, so nothing can be written after the crash.
struct CrashPlan {
    int crashAt = 0; // 0: never
    int points = 0;
    bool dead = false;

    void alive() const
    {
        if (dead)
            throw Crash();
    }
    void point()
    {
        alive();
        if (++points == crashAt) {
            dead = true;
            throw Crash();
        }
    }
};

class CrashingSurface final : public DesktopSurface {
public:
    CrashingSurface(DesktopSurface &inner, CrashPlan &plan)
        : m_inner(inner)
        , m_plan(plan)
    {
    }
    bool sameVolume() override
    {
        m_plan.alive();
        return m_inner.sameVolume();
    }
    QStringList items(const Location &at) override
    {
        m_plan.alive();
        return m_inner.items(at);
    }
    void move(const QString &name, const Location &from, const Location &to) override
    {
        m_plan.point();
        m_inner.move(name, from, to);
    }
    std::optional<IconPosition> readPosition(const QString &name) override
    {
        m_plan.alive();
        return m_inner.readPosition(name);
    }
    IconPositions readPositions(const QStringList &names) override
    {
        m_plan.alive();
        return m_inner.readPositions(names);
    }
    void writePosition(const IconPosition &position, const QString &name) override
    {
        m_plan.alive();
        m_inner.writePosition(position, name);
    }
    void writePositions(const IconPositions &positions) override
    {
        m_plan.alive();
        m_inner.writePositions(positions);
    }
    void carryPositions(const Location &from, const Location &to, const QStringList &names) override
    {
        m_plan.point();
        m_inner.carryPositions(from, to, names);
    }
    void finishCarry() override
    {
        m_plan.point();
        m_inner.finishCarry();
    }
    void checkFolders(const QList<Location> &folders) override
    {
        m_plan.alive();
        m_inner.checkFolders(folders);
    }

private:
    DesktopSurface &m_inner;
    CrashPlan &m_plan;
};

class CrashingStore final : public StateStore {
public:
    CrashingStore(StateStore &inner, CrashPlan &plan)
        : m_inner(inner)
        , m_plan(plan)
    {
    }
    Config loadConfig() override
    {
        m_plan.alive();
        return m_inner.loadConfig();
    }
    void saveConfig(const Config &config) override
    {
        m_plan.point();
        m_inner.saveConfig(config);
        m_plan.point();
    }
    std::optional<Journal> loadJournal() override
    {
        m_plan.alive();
        return m_inner.loadJournal();
    }
    void saveJournal(const std::optional<Journal> &journal) override
    {
        m_plan.point();
        m_inner.saveJournal(journal);
        m_plan.point();
    }

private:
    StateStore &m_inner;
    CrashPlan &m_plan;
};

// One item of a scenario: where it starts and where it may lie once the switch has been
// finished or abandoned, depending on which desktop the document then names as active.
struct Item {
    QString container; // desktopName or a folder of the desktops folder
    QString name;
    bool folder;
    QStringList whenFrom; // allowed containers when the left desktop is still active
    QStringList whenTo;   // allowed containers when the target is active
};

struct Scenario {
    const char *title;
    QString from;
    QString to;
    QStringList desks;
    QStringList pinned;
    std::optional<QString> lastExpanded;
    std::vector<Item> items;
    // Whether the allowed places still hold after a switch back (false when items the target
    // took over on the way, such as deposits that stayed, then leave with it).
    bool placesHoldOnReturn = true;
};

// Container → entry name → contents signature (every file's relative path and bytes, every
// folder's relative path).
using Snapshot = std::map<QString, std::map<QString, std::string>>;

std::string signatureOf(const fs::path &entry)
{
    std::vector<std::string> parts;
    auto fileText = [](const fs::path &file) {
        std::ifstream in(file, std::ios::binary);
        std::ostringstream bytes;
        bytes << in.rdbuf();
        return bytes.str();
    };
    if (fs::is_directory(fs::symlink_status(entry))) {
        for (const auto &e : fs::recursive_directory_iterator(entry)) {
            const std::string rel = fs::relative(e.path(), entry).string();
            parts.push_back(e.is_directory() ? rel + "/" : rel + "=" + fileText(e.path()));
        }
        parts.push_back("<folder>");
    } else {
        parts.push_back("<file>=" + fileText(entry));
    }
    std::sort(parts.begin(), parts.end());
    std::string out;
    for (const auto &p : parts)
        out += p + '\n';
    return out;
}

Snapshot snapshot(const DiskDesks &d)
{
    Snapshot out;
    auto takeFolder = [&](const QString &container, const fs::path &folder) {
        auto &entries = out[container];
        for (const auto &e : fs::directory_iterator(folder))
            entries[QString::fromStdString(e.path().filename().string())] = signatureOf(e.path());
    };
    takeFolder(desktopName, fs::path(d.paths.desktop().toStdString()));
    const fs::path root(d.paths.workspaces().toStdString());
    for (const auto &e : fs::directory_iterator(root)) {
        const QString name = QString::fromStdString(e.path().filename().string());
        if (name == ".store")
            continue;
        if (e.is_directory())
            takeFolder(name, e.path());
        else
            out[QStringLiteral("<desktops folder>")][name] = signatureOf(e.path());
    }
    return out;
}

// Fails the chosen move once with the given error instead of making it, as the item or the
// disk would; every other call goes through.
struct FailurePlan {
    int failAt = 0; // 0: never
    int code = 0;
    int points = 0;
    bool injected = false;

    void point()
    {
        if (++points == failAt) {
            injected = true;
            throw SurfaceError(code, QStringLiteral("injected failure: ") + fileops::errorText(code));
        }
    }
};

class FailingSurface final : public DesktopSurface {
public:
    FailingSurface(DesktopSurface &inner, FailurePlan &plan)
        : m_inner(inner)
        , m_plan(plan)
    {
    }
    bool sameVolume() override { return m_inner.sameVolume(); }
    QStringList items(const Location &at) override { return m_inner.items(at); }
    void move(const QString &name, const Location &from, const Location &to) override
    {
        m_plan.point();
        m_inner.move(name, from, to);
    }
    std::optional<IconPosition> readPosition(const QString &name) override { return m_inner.readPosition(name); }
    IconPositions readPositions(const QStringList &names) override { return m_inner.readPositions(names); }
    void writePosition(const IconPosition &position, const QString &name) override { m_inner.writePosition(position, name); }
    void writePositions(const IconPositions &positions) override { m_inner.writePositions(positions); }
    void carryPositions(const Location &from, const Location &to, const QStringList &names) override
    {
        m_inner.carryPositions(from, to, names);
    }
    void finishCarry() override { m_inner.finishCarry(); }
    void checkFolders(const QList<Location> &folders) override { m_inner.checkFolders(folders); }

private:
    DesktopSurface &m_inner;
    FailurePlan &m_plan;
};

// One "process" whose surface fails once at the chosen move.
struct FailingProcess {
    FailurePlan plan;
    FileSystemSurface surface;
    FileStateStore store;
    FailingSurface failingSurface{surface, plan};
    DesktopSwapper swapper{failingSurface, store, [](double) {}};

    FailingProcess(const DiskDesks &d, int failAt, int code)
        : surface(d.paths.desktop(), d.paths.workspaces())
        , store(d.paths.config(), d.paths.journal())
    {
        plan.failAt = failAt;
        plan.code = code;
    }
};

// The engine's objects of one "process": fresh decorators over a fresh surface and store.
struct Process {
    CrashPlan plan;
    FileSystemSurface surface;
    FileStateStore store;
    CrashingSurface crashingSurface{surface, plan};
    CrashingStore crashingStore{store, plan};
    DesktopSwapper swapper{crashingSurface, crashingStore, [](double) {}};

    Process(const DiskDesks &d, int crashAt)
        : surface(d.paths.desktop(), d.paths.workspaces())
        , store(d.paths.config(), d.paths.journal())
    {
        plan.crashAt = crashAt;
    }
};

class Harness {
public:
    explicit Harness(const Scenario &s)
        : m_s(s)
    {
    }

    void setUp(DiskDesks &d) const
    {
        Config config = deskDocument(m_s.from, m_s.desks, m_s.pinned);
        config.lastExpandedWorkspace = m_s.lastExpanded;
        config.settings.moveGapMs = 0;
        d.store.saveConfig(config);
        for (const Item &item : m_s.items) {
            const Location at = item.container == desktopName ? Location::desktop() : Location::workspace(item.container);
            const QByteArray tag = (item.container + '/' + item.name).toUtf8();
            if (item.folder) {
                writeFile(d.pathOf(at, item.name) + "/inner", "inner of " + tag);
                writeFile(d.pathOf(at, item.name) + "/sub folder/deep é.txt", "deep of " + tag);
            } else {
                writeFile(d.pathOf(at, item.name), "file " + tag);
            }
        }
    }

    // Every original item found once, unchanged, where the active desktop allows it; the
    // document readable, the journal gone, the active desktop one of the two.
    void check(DiskDesks &d, const std::map<std::string, const Item *> &originals, const std::string &when,
               bool checkPlaces = true) const
    {
        SCOPED_TRACE(std::string(m_s.title) + ", " + when);
        Config config;
        ASSERT_NO_THROW(config = d.store.loadConfig());
        std::optional<Journal> journal;
        ASSERT_NO_THROW(journal = d.store.loadJournal());
        EXPECT_FALSE(journal);
        const QString active = config.activeWorkspace;
        ASSERT_TRUE(active == m_s.from || active == m_s.to) << active.toStdString();
        const bool toActive = active == m_s.to;

        std::map<std::string, int> seen;
        for (const auto &[container, entries] : snapshot(d)) {
            for (const auto &[name, signature] : entries) {
                const std::string key = name.toStdString() + '\n' + signature;
                const auto found = originals.find(key);
                if (found == originals.end()) {
                    ADD_FAILURE() << "unknown or altered entry " << container.toStdString() << "/" << name.toStdString();
                    continue;
                }
                ++seen[key];
                const Item &item = *found->second;
                const QStringList &allowed = toActive ? item.whenTo : item.whenFrom;
                EXPECT_TRUE(!checkPlaces || allowed.contains(container))
                    << item.container.toStdString() << "/" << item.name.toStdString() << " lies in "
                    << container.toStdString() << " with " << active.toStdString() << " active";
            }
        }
        for (const auto &[key, item] : originals)
            EXPECT_EQ(seen[key], 1) << "item " << item->container.toStdString() << "/" << item->name.toStdString();
    }

    // Items of the scenario not found anywhere, or found more than once; entries that are no
    // item of the scenario (or one with altered contents).
    struct Tally {
        int lost = 0;
        int duplicated = 0;
        int unknown = 0;
    };

    Tally tally(const DiskDesks &d, const std::map<std::string, const Item *> &originals) const
    {
        Tally t;
        std::map<std::string, int> seen;
        for (const auto &[container, entries] : snapshot(d)) {
            for (const auto &[name, signature] : entries) {
                const std::string key = name.toStdString() + '\n' + signature;
                if (originals.count(key))
                    ++seen[key];
                else
                    ++t.unknown;
            }
        }
        for (const auto &entry : originals) {
            const int n = seen[entry.first];
            t.lost += n == 0;
            t.duplicated += n > 1 ? n - 1 : 0;
        }
        return t;
    }

    struct FailureCoverage {
        int points = 0;   // moves of the uninterrupted switch
        int injected = 0; // failures injected
        int stopped = 0;  // switches or recoveries that stopped with their journal kept
        int stayed = 0;   // items that stayed where they were while the switch went on
        int lost = 0;
        int duplicated = 0;
        int stuck = 0; // switches or starts that still failed once the cause was removed
    };

    // Every move of the switch fails once with each error in turn. The application then goes
    // on as it would: after a switch that stopped, the next start recovers (its first move
    // failing once more, then a start with the cause removed); after one that completed, the
    // next switch goes back. Nothing may be lost or duplicated, and nothing may stay stuck.
    FailureCoverage runFailures() const
    {
        FailureCoverage coverage;
        {
            DiskDesks d;
            setUp(d);
            FailingProcess p(d, 0, 0);
            p.swapper.switchTo(m_s.to);
            coverage.points = p.plan.points;
        }
        for (int n = 1; n <= coverage.points; ++n) {
            for (const int code : {EACCES, EEXIST, ENOSPC, EXDEV, EIO}) {
                const std::string when = "failure " + fileops::errorText(code).toStdString() + " at move "
                    + std::to_string(n);
                SCOPED_TRACE(std::string(m_s.title) + ", " + when);
                DiskDesks d;
                setUp(d);
                const auto items = originals(d);
                bool stopped = false;
                {
                    FailingProcess p(d, n, code);
                    try {
                        p.swapper.switchTo(m_s.to);
                        coverage.stayed += int(p.swapper.stayedBehind().size());
                    } catch (const SurfaceError &error) {
                        EXPECT_FALSE(error.concernsItemOnly());
                        stopped = true;
                        ++coverage.stopped;
                    }
                    coverage.injected += p.plan.injected;
                }
                if (stopped) {
                    EXPECT_TRUE(d.store.loadJournal());
                    FailingProcess again(d, 1, code);
                    try {
                        again.swapper.recoverIfNeeded();
                    } catch (const SurfaceError &) {
                        ++coverage.stopped;
                    }
                    coverage.injected += again.plan.injected;
                    FailingProcess next(d, 0, 0);
                    try {
                        next.swapper.recoverIfNeeded();
                    } catch (const std::exception &error) {
                        ++coverage.stuck;
                        ADD_FAILURE() << "start after the cause was removed: " << error.what();
                    }
                }
                {
                    FailingProcess next(d, 0, 0);
                    const QString other = d.store.loadConfig().activeWorkspace == m_s.to ? m_s.from : m_s.to;
                    try {
                        next.swapper.switchTo(other);
                    } catch (const std::exception &error) {
                        ++coverage.stuck;
                        ADD_FAILURE() << "switch after the cause was removed: " << error.what();
                    }
                }
                EXPECT_FALSE(d.store.loadJournal());
                const Tally t = tally(d, items);
                coverage.lost += t.lost;
                coverage.duplicated += t.duplicated + t.unknown;
                EXPECT_EQ(t.lost, 0);
                EXPECT_EQ(t.duplicated, 0);
                EXPECT_EQ(t.unknown, 0);
                if (testing::Test::HasFailure())
                    return coverage;
            }
        }
        return coverage;
    }

    struct Coverage {
        int switchPoints = 0;    // interruption points of the switch
        int switchCrashes = 0;   // switches interrupted (each point twice)
        int recoveryCrashes = 0; // recoveries interrupted
    };

    // Runs the scenario with a crash at every point, each followed once by a plain recovery and
    // once by an interrupted recovery and a second one.
    Coverage run() const
    {
        Coverage coverage;
        int total = 0;
        {
            DiskDesks d;
            setUp(d);
            const auto items = originals(d);
            Process p(d, 0);
            p.swapper.switchTo(m_s.to);
            total = p.plan.points;
            coverage.switchPoints = total;
            check(d, items, "uninterrupted");
        }
        for (int n = 1; n <= total; ++n) {
            for (const bool interruptRecovery : {false, true}) {
                DiskDesks d;
                setUp(d);
                const auto items = originals(d);
                {
                    Process p(d, n);
                    EXPECT_THROW(p.swapper.switchTo(m_s.to), Crash) << m_s.title << " point " << n;
                    ++coverage.switchCrashes;
                }
                const std::string when = "crash at point " + std::to_string(n)
                    + (interruptRecovery ? ", recovery interrupted" : "");
                if (interruptRecovery) {
                    Process p(d, 1 + n % 3);
                    try {
                        p.swapper.recoverIfNeeded();
                    } catch (const Crash &) {
                        ++coverage.recoveryCrashes;
                    }
                }
                {
                    Process p(d, 0);
                    EXPECT_NO_THROW(p.swapper.recoverIfNeeded()) << when;
                }
                check(d, items, when + ", recovered");
                if (testing::Test::HasFailure())
                    return coverage;
                // Not stuck: a switch to the other desktop works and keeps everything.
                {
                    Process p(d, 0);
                    const QString other = d.store.loadConfig().activeWorkspace == m_s.to ? m_s.from : m_s.to;
                    EXPECT_NO_THROW(p.swapper.switchTo(other)) << when;
                }
                check(d, items, when + ", switched on", m_s.placesHoldOnReturn);
                if (testing::Test::HasFailure())
                    return coverage;
            }
        }
        return coverage;
    }

private:
    std::map<std::string, const Item *> originals(const DiskDesks &d) const
    {
        std::map<std::string, const Item *> out;
        const Snapshot before = snapshot(d);
        for (const Item &item : m_s.items) {
            const auto &entries = before.at(item.container);
            const std::string key = item.name.toStdString() + '\n' + entries.at(item.name);
            out[key] = &item;
        }
        return out;
    }

    const Scenario &m_s;
};

const QString D = desktopName;

Item stays(const QString &container, const QString &name, bool folder = false)
{
    return {container, name, folder, {container}, {container}};
}
// Starts on the Desktop with the left desktop and goes to its folder.
Item leaves(const QString &from, const QString &name, bool folder = false)
{
    return {D, name, folder, {D}, {from}};
}
// Starts in the target's folder and comes onto the Desktop.
Item arrives(const QString &to, const QString &name, bool folder = false)
{
    return {to, name, folder, {to}, {D}};
}

std::vector<Scenario> scenarios()
{
    const QStringList ab{"A", "B", blank};
    std::vector<Scenario> out;
    out.push_back({"plain A to B", "A", "B", ab, {}, {}, {leaves("A", "a1"), leaves("A", "a2", true), leaves("A", "a3"), arrives("B", "b1"), arrives("B", "b2", true)}});
    out.push_back({"plain B to A", "B", "A", ab, {}, {}, {leaves("B", "b1", true), leaves("B", "b2"), arrives("A", "a1"), arrives("A", "a2", true), arrives("A", "a3")}});
    out.push_back({"empty to empty", "A", "B", ab, {}, {}, {}});
    out.push_back({"items to an empty desktop", "A", "B", ab, {}, {}, {leaves("A", "a1"), leaves("A", "a2", true)}});
    out.push_back({"an empty desktop to items", "A", "B", ab, {}, {}, {arrives("B", "b1"), arrives("B", "b2", true)}});
    out.push_back({"spaces and non-ASCII names", "Mes Bureaux", QString::fromUtf8("Été 日本"), {"Mes Bureaux", QString::fromUtf8("Été 日本"), blank}, {}, {}, {leaves("Mes Bureaux", "My Folder", true), leaves("Mes Bureaux", QString::fromUtf8("Résumé final.txt")), leaves("Mes Bureaux", QString::fromUtf8("emoji 😀 file")), arrives(QString::fromUtf8("Été 日本"), QString::fromUtf8("日本語 フォルダ"), true), arrives(QString::fromUtf8("Été 日本"), QString::fromUtf8("Ünïcödé notes.md"))}});
    out.push_back({"a pinned item with a clash", "A", "B", ab, {"Notes"}, {}, {stays(D, "Notes", true), stays("B", "Notes"), leaves("A", "a1"), arrives("B", "b1")}});
    out.push_back({"entering the blank desktop", "A", blank, ab, {"pin", "pin 2"}, {}, {{D, "pin", true, {D}, {stash}}, {D, "pin 2", false, {D}, {stash}}, leaves("A", "a1"), leaves("A", "a2", true)}});
    out.push_back({"leaving the blank desktop with a hand-over", blank, "B", {"E", "B", blank}, {"pin"}, QStringLiteral("E"), {{stash, "pin", true, {stash, D}, {D}}, {D, "deposit", false, {D, "E"}, {"E"}}, {D, "deposit folder", true, {D, "E"}, {"E"}}, stays("E", "e1"), arrives("B", "b1"), arrives("B", "b2", true)}});
    out.push_back({"leaving the blank desktop, deposits stay", blank, "B", {"B", blank}, {"pin"}, QStringLiteral("B"), {{stash, "pin", false, {stash, D}, {D}}, stays(D, "deposit"), stays(D, "shared"), stays("B", "shared", true), arrives("B", "b1")}});
    out.back().placesHoldOnReturn = false;
    out.push_back({"overlapping names", "A", "B", ab, {}, {}, {leaves("A", "X"), leaves("A", "Y", true), leaves("A", "a1"), arrives("B", "X", true), arrives("B", "Y"), arrives("B", "b1")}});
    return out;
}

// The scenarios are dealt over two tests (the first, third, ... and the second, fourth, ...), so
// that each takes half as long and the two run side by side.
constexpr int scenarioShares = 2;
std::vector<Scenario> scenarioShare(int share)
{
    std::vector<Scenario> all = scenarios(), out;
    for (std::size_t i = std::size_t(share); i < all.size(); i += scenarioShares)
        out.push_back(all[i]);
    return out;
}

class SwitchCrashHarness : public testing::TestWithParam<int> {};

TEST_P(SwitchCrashHarness, NoItemIsLostAtAnyInterruptionPoint)
{
    Harness::Coverage all;
    for (const Scenario &s : scenarioShare(GetParam())) {
        const Harness::Coverage c = Harness(s).run();
        std::cout << "[ harness  ] " << s.title << ": " << c.switchPoints << " points, " << c.switchCrashes
                  << " interrupted switches, " << c.recoveryCrashes << " interrupted recoveries" << std::endl;
        all.switchPoints += c.switchPoints;
        all.switchCrashes += c.switchCrashes;
        all.recoveryCrashes += c.recoveryCrashes;
        if (HasFailure())
            break;
    }
    std::cout << "[ harness  ] total: " << all.switchPoints << " interruption points, " << all.switchCrashes
              << " interrupted switches and " << all.recoveryCrashes
              << " interrupted recoveries, each recovered and checked" << std::endl;
    RecordProperty("interruptionPoints", all.switchPoints);
    RecordProperty("interruptedSwitches", all.switchCrashes);
    RecordProperty("interruptedRecoveries", all.recoveryCrashes);
    EXPECT_EQ(all.switchCrashes, 2 * all.switchPoints);
    EXPECT_GT(all.recoveryCrashes, 0);
}

TEST_P(SwitchCrashHarness, NoItemIsLostOrStuckWhenAnyMoveFails)
{
    Harness::FailureCoverage all;
    for (const Scenario &s : scenarioShare(GetParam())) {
        const Harness::FailureCoverage c = Harness(s).runFailures();
        all.points += c.points;
        all.injected += c.injected;
        all.stopped += c.stopped;
        all.stayed += c.stayed;
        all.lost += c.lost;
        all.duplicated += c.duplicated;
        all.stuck += c.stuck;
        if (HasFailure())
            break;
    }
    std::cout << "[ harness  ] failures: " << all.points << " move points, " << all.injected << " failures injected ("
              << all.stopped << " stopped a switch or a start, " << all.stayed << " left an item where it was), "
              << all.lost << " items lost, " << all.duplicated << " duplicated, " << all.stuck
              << " switches stuck after a retry with the cause removed" << std::endl;
    RecordProperty("movePoints", all.points);
    RecordProperty("failuresInjected", all.injected);
    RecordProperty("itemsLost", all.lost);
    RecordProperty("itemsDuplicated", all.duplicated);
    RecordProperty("switchesStuck", all.stuck);
    EXPECT_GT(all.injected, 0);
    EXPECT_GT(all.stopped, 0);
    EXPECT_GT(all.stayed, 0);
    EXPECT_EQ(all.lost, 0);
    EXPECT_EQ(all.duplicated, 0);
    EXPECT_EQ(all.stuck, 0);
}

INSTANTIATE_TEST_SUITE_P(Scenarios, SwitchCrashHarness, testing::Range(0, scenarioShares),
                         [](const testing::TestParamInfo<int> &info) {
                             return "Share" + std::to_string(info.param + 1) + "Of" + std::to_string(scenarioShares);
                         });

} // namespace
