// Stops the settings model's desktop operations at every step they take on disk or in the store,
// once as a process death (that call and every later one throws, so nothing more is written)
// and once as that step failing, then starts afresh (new store, archiver, model and a
// controller launch on the same folders), retries the operation and checks that every item of
// the Desktop and the desktops, and the picked image, lies exactly once and unchanged in a
// place the user can reach, and that nothing else (a copy cut short) lies there under a real
// name. Prints the figures; exits 1 when anything was lost.
#include "Controller/ControllerHarness.h"
#include "Desktop/Archiver.h"
#include "Fakes/FakeFileOperations.h"
#include "GuiProcessEnvironment.h"
#include "IoError.h"
#include "Settings/SettingsModel.h"

#include <QApplication>
#include <QDirIterator>
#include <QElapsedTimer>
#include <QFileInfo>

#include <cstdio>
#include <memory>

#include <map>
#include <set>
#include <sys/stat.h>
#include <unistd.h>

using namespace quorvane;
using namespace quorvane::test;

namespace {

struct Death {};

// Counts the steps; at the chosen one the process dies (every later step too) or that step fails.
struct Plan {
    enum class Mode {
        none,
        die,
        fail
    } mode = Mode::none;
    int at = 0;
    int steps = 0;
    bool dead = false;

    // True when this step is to fail.
    bool step()
    {
        if (dead)
            throw Death();
        ++steps;
        if (steps != at)
            return false;
        if (mode == Mode::die) {
            dead = true;
            throw Death();
        }
        return mode == Mode::fail;
    }
};

class SteppingStore final : public StateStore {
public:
    SteppingStore(const Paths &paths, Plan &plan)
        : m_inner(paths.config(), paths.journal())
        , m_plan(plan)
    {
    }
    Config loadConfig() override
    {
        if (m_plan.dead)
            throw Death();
        return m_inner.loadConfig();
    }
    void saveConfig(const Config &config) override
    {
        if (m_plan.step())
            throw IoError(EIO, QStringLiteral("Couldn't save"));
        m_inner.saveConfig(config);
        m_plan.step(); // after the write: a death here loses nothing written
    }
    std::optional<Journal> loadJournal() override
    {
        if (m_plan.dead)
            throw Death();
        return m_inner.loadJournal();
    }
    void saveJournal(const std::optional<Journal> &journal) override
    {
        if (m_plan.step())
            throw IoError(EIO, QStringLiteral("Couldn't save"));
        m_inner.saveJournal(journal);
        m_plan.step();
    }

private:
    FileStateStore m_inner;
    Plan &m_plan;
};

// The controller's environment of the tests, on the scenario's folders.
struct Launcher : ControllerHarness {
    void TestBody() override {}
};

struct Scenario {
    const char *name;
    std::function<void(Config &, const Paths &)> prepare; // lays out the home; items go through item()
    std::function<void(SettingsModel &, const Paths &)> run;
    // After a reported failure the folder that must still hold its items, if any.
    QString keptFolder;
    bool acrossDisks = false; // lays out items on another file system (g_far)
};

struct Totals {
    int steps = 0;
    int interruptions = 0;
    long items = 0;
    int lost = 0;
    int unreachable = 0;
    int duplicated = 0;
    int truncated = 0;
    int missingCues = 0;
    int misplaced = 0;
    int undecodable = 0;
    int leftovers = 0;
};

std::map<QByteArray, QString> g_items; // contents -> where it started
QString g_far;                         // a folder on another file system than the home, for this run; empty: none

// A folder on another file system than the temporary folder (/dev/shm here), or empty.
QString otherDisk()
{
    struct stat a {
    }, b{};
    if (::stat(QFile::encodeName(QDir::tempPath()).constData(), &a) == 0 && ::stat("/dev/shm", &b) == 0
        && a.st_dev != b.st_dev && ::access("/dev/shm", W_OK) == 0)
        return QStringLiteral("/dev/shm");
    return {};
}

void item(const QString &path)
{
    const QByteArray contents = "item " + QByteArray::number(qulonglong(g_items.size())) + " " + path.toUtf8();
    writeFile(path, contents);
    g_items[contents] = path;
}

QString trashFiles()
{
    return qEnvironmentVariable("XDG_DATA_HOME") + QStringLiteral("/Trash/files");
}

void collect(const QString &root, std::set<QString> &files)
{
    if (QFileInfo(root).isFile()) {
        files.insert(QFileInfo(root).absoluteFilePath());
        return;
    }
    QDirIterator it(root, QDir::Files | QDir::Hidden | QDir::NoDotAndDotDot, QDirIterator::Subdirectories);
    while (it.hasNext())
        files.insert(QFileInfo(it.next()).absoluteFilePath());
}

std::map<QByteArray, int> census(const std::set<QString> &files)
{
    std::map<QByteArray, int> seen;
    for (const QString &path : files) {
        QFile f(path);
        if (f.open(QIODevice::ReadOnly)) {
            const QByteArray bytes = f.readAll();
            if (g_items.count(bytes))
                ++seen[bytes];
        }
    }
    return seen;
}

void check(const Paths &paths, const QString &base, const QString &picked, Totals &totals)
{
    FileStateStore store(paths.config(), paths.journal());
    Config config;
    try {
        config = store.loadConfig();
    } catch (...) {
        ++totals.undecodable;
        return;
    }
    std::set<QString> reachable;
    collect(paths.desktop(), reachable);
    for (const Workspace &w : config.workspaces) {
        if (w.state == WorkspaceState::active)
            collect(paths.workspaces() + '/' + w.name, reachable);
        else if (w.archiveLocation)
            collect(*w.archiveLocation, reachable);
        if (w.cue && w.cue->fill.kind == DesktopCue::Fill::Kind::image && !QFileInfo(w.cue->fill.value).isFile())
            ++totals.missingCues;
    }
    collect(config.settings.archiveRoot ? *config.settings.archiveRoot : paths.defaultArchiveRoot(), reachable);
    collect(trashFiles(), reachable);
    SettingsModel model(store, paths);
    for (const QString &unlisted : model.unlistedFolders())
        collect(paths.workspaces() + '/' + unlisted, reachable);
    collect(picked, reachable);

    std::set<QString> everywhere;
    collect(base, everywhere);
    if (!g_far.isEmpty())
        collect(g_far, everywhere);
    // Nothing of an unfinished copy may be left once the application has started again.
    for (const QString &path : everywhere) {
        if (path.contains(QLatin1String("/.quorvane-copy-"))) {
            ++totals.leftovers;
            std::fprintf(stderr, "left over: %s\n", qPrintable(path));
        }
    }
    // Under a real name in a place the user reaches, every file is one of the items, whole: any
    // other is a copy cut short.
    for (const QString &path : reachable) {
        QFile f(path);
        if (!path.contains(QLatin1String("/.quorvane-copy-")) && f.open(QIODevice::ReadOnly) && !g_items.count(f.readAll())) {
            ++totals.truncated;
            std::fprintf(stderr, "truncated: %s\n", qPrintable(path));
        }
    }
    const auto found = census(reachable);
    const auto anywhere = census(everywhere);
    for (const auto &[contents, origin] : g_items) {
        ++totals.items;
        const auto it = found.find(contents);
        const int here = it == found.end() ? 0 : it->second;
        const auto at = anywhere.find(contents);
        const int there = at == anywhere.end() ? 0 : at->second;
        if (there == 0) {
            ++totals.lost;
            std::fprintf(stderr, "lost: %s\n", qPrintable(origin));
        } else if (here == 0) {
            ++totals.unreachable;
            std::fprintf(stderr, "unreachable: %s\n", qPrintable(origin));
        } else if (here > 1) {
            ++totals.duplicated;
            std::fprintf(stderr, "duplicated: %s\n", qPrintable(origin));
        }
    }
}

// One run: prepare, run under the plan, start afresh, retry, check. Answers the steps taken.
int runOnce(const Scenario &scenario, Plan::Mode mode, int at, Totals &totals)
{
    QTemporaryDir base(QDir::tempPath() + QStringLiteral("/interrupt-XXXXXX"));
    qputenv("XDG_DATA_HOME", QFile::encodeName(base.path() + QStringLiteral("/data")));
    QDir().mkpath(base.path() + QStringLiteral("/data"));
    const Paths paths(base.path() + QStringLiteral("/home"), base.path() + QStringLiteral("/home/Desktop"));
    QDir().mkpath(paths.store());
    QDir().mkpath(paths.desktop());
    g_items.clear();
    std::unique_ptr<QTemporaryDir> far;
    g_far.clear();
    if (scenario.acrossDisks) {
        far = std::make_unique<QTemporaryDir>(otherDisk() + QStringLiteral("/interrupt-far-XXXXXX"));
        g_far = far->path();
    }
    Config config = Config::defaultDocument();
    scenario.prepare(config, paths);
    FileStateStore(paths.config(), paths.journal()).saveConfig(config);
    const QString picked = base.path() + QStringLiteral("/home/Pictures/sunset.png");

    Plan plan{mode, at};
    {
        SteppingStore store(paths, plan);
        FakeFileOperations files(paths.copyRecords());
        // Every call is a step: a death throws there, a failing changing call answers EIO.
        bool failsNow = false;
        files.beforeStep = [&](const QString &, const QString &) { failsNow = plan.step(); };
        files.failure = [&](const QString &, const QString &) { return failsNow ? EIO : 0; };
        files.volume = [&](const QString &) -> std::optional<std::optional<std::uint64_t>> {
            if (failsNow)
                return std::optional<std::uint64_t>(std::nullopt);
            return std::nullopt;
        };
        // Inside a copy across file systems every item copied is a step as well.
        files.copyHooks = fileops::CopyHooks{};
        files.copyHooks->eachStep = [&] { plan.step(); };
        Archiver archiver(store, paths, dateNow, &files);
        SettingsModel model(store, paths, &archiver, &files);
        model.isBusy = [] { return false; };
        try {
            scenario.run(model, paths);
        } catch (const Death &) {
        }
        const bool reported = model.errorMessage() || model.deleteFailure();
        if (mode == Plan::Mode::fail && reported && !scenario.keptFolder.isEmpty()) {
            // The operation said it failed: its folder is where it was, with its items.
            const Config now = FileStateStore(paths.config(), paths.journal()).loadConfig();
            const QString folder = paths.workspaces() + '/' + scenario.keptFolder;
            if (now.workspace(scenario.keptFolder) && !QFileInfo(folder).isDir())
                ++totals.misplaced;
        }
    }
    const int steps = plan.steps;

    // A fresh start on the same folders, as the next launch of the application.
    {
        Launcher launcher;
        launcher.pathsOverride = paths;
        AppController controller(launcher.environment());
        controller.completeLaunch();
        FileStateStore store(paths.config(), paths.journal());
        Archiver archiver(store, paths);
        SettingsModel model(store, paths, &archiver);
        model.isBusy = [] { return false; };
        scenario.run(model, paths);
    }
    check(paths, base.path(), picked, totals);
    return steps;
}

Workspace desk(const QString &name)
{
    return Workspace::make(name);
}

void addDesktop(Config &config, const Paths &paths, const QString &name, const QStringList &items)
{
    config.workspaces.push_back(desk(name));
    QDir().mkpath(paths.workspaces() + '/' + name);
    for (const QString &i : items)
        item(paths.workspaces() + '/' + name + '/' + i);
}

void baseLayout(Config &config, const Paths &paths)
{
    config.activeWorkspace = QStringLiteral("Home");
    config.workspaces.push_back(desk(QStringLiteral("Home")));
    QDir().mkpath(paths.workspaces() + QStringLiteral("/Home"));
    item(paths.desktop() + QStringLiteral("/on desktop.txt"));
    item(paths.desktop() + QStringLiteral("/Folder/inner.txt"));
}

void finish(Config &config, const Paths &paths)
{
    config.workspaces.push_back(desk(Config::blankWorkspaceName));
    QDir().mkpath(paths.workspaces() + '/' + Config::blankWorkspaceName);
}

std::vector<Scenario> scenarios()
{
    std::vector<Scenario> list;
    list.push_back({"rename an inactive desktop (non-ASCII names)",
                    [](Config &c, const Paths &p) {
                        baseLayout(c, p);
                        addDesktop(c, p, QString::fromUtf8("Zürich"), {QString::fromUtf8("café.txt"), QString::fromUtf8("naïve/ø.txt")});
                        finish(c, p);
                    },
                    [](SettingsModel &m, const Paths &) { m.rename(QString::fromUtf8("Zürich"), QString::fromUtf8("Genève")); },
                    QString::fromUtf8("Zürich")});
    list.push_back({"rename the active desktop",
                    [](Config &c, const Paths &p) {
                        baseLayout(c, p);
                        finish(c, p);
                    },
                    [](SettingsModel &m, const Paths &) { m.rename("Home", "House"); }, QString()});
    list.push_back({"rename onto an unlisted folder",
                    [](Config &c, const Paths &p) {
                        baseLayout(c, p);
                        addDesktop(c, p, "Work", {"w.txt"});
                        QDir().mkpath(p.workspaces() + "/Loose");
                        item(p.workspaces() + "/Loose/loose.txt");
                        finish(c, p);
                    },
                    [](SettingsModel &m, const Paths &) { m.rename("Work", "Loose"); }, "Work"});
    list.push_back({"delete a desktop",
                    [](Config &c, const Paths &p) {
                        baseLayout(c, p);
                        addDesktop(c, p, "Old", {"o1.txt", "sub/o2.txt"});
                        finish(c, p);
                    },
                    [](SettingsModel &m, const Paths &) { m.deleteWorkspace("Old"); }, "Old"});
    list.push_back({"adopt a folder",
                    [](Config &c, const Paths &p) {
                        baseLayout(c, p);
                        QDir().mkpath(p.workspaces() + "/Found");
                        item(p.workspaces() + "/Found/f.txt");
                        finish(c, p);
                    },
                    [](SettingsModel &m, const Paths &) { m.adoptFolder("Found"); }, QString()});
    list.push_back({"archive a temporary desktop",
                    [](Config &c, const Paths &p) {
                        baseLayout(c, p);
                        addDesktop(c, p, "Scratch", {"s1.txt", "s/s2.txt"});
                        c.workspaces.back().type = WorkspaceType::temporary;
                        finish(c, p);
                    },
                    [](SettingsModel &m, const Paths &) { m.archive("Scratch"); }, QString()});
    list.push_back({"drain with clashing names",
                    [](Config &c, const Paths &p) {
                        baseLayout(c, p);
                        addDesktop(c, p, "Into", {"Scratch/a.txt", "Scratch/b"});
                        addDesktop(c, p, "Scratch", {"a.txt", "b", ".hidden"});
                        c.workspaces.back().type = WorkspaceType::temporary;
                        finish(c, p);
                    },
                    [](SettingsModel &m, const Paths &) { m.drain("Scratch", "Into"); }, QString()});
    list.push_back({"restore an archived desktop",
                    [](Config &c, const Paths &p) {
                        baseLayout(c, p);
                        Workspace w = desk("Kept");
                        w.type = WorkspaceType::temporary;
                        w.state = WorkspaceState::archivedUnsorted;
                        w.archiveLocation = p.defaultArchiveRoot() + "/Kept-2026-01-01";
                        c.workspaces.push_back(w);
                        item(*w.archiveLocation + "/k.txt");
                        finish(c, p);
                    },
                    [](SettingsModel &m, const Paths &) { m.restore("Kept"); }, QString()});
    list.push_back({"delete an archived desktop",
                    [](Config &c, const Paths &p) {
                        baseLayout(c, p);
                        Workspace w = desk("Gone");
                        w.state = WorkspaceState::archivedSorted;
                        w.archiveLocation = p.defaultArchiveRoot() + "/Gone-2026-01-01";
                        c.workspaces.push_back(w);
                        item(*w.archiveLocation + "/g.txt");
                        finish(c, p);
                    },
                    [](SettingsModel &m, const Paths &) { m.deleteArchived("Gone"); }, QString()});
    if (!otherDisk().isEmpty()) {
        list.push_back({"restore from an archive on another disk",
                        [](Config &c, const Paths &p) {
                            baseLayout(c, p);
                            Workspace w = desk("Away");
                            w.type = WorkspaceType::temporary;
                            w.state = WorkspaceState::archivedUnsorted;
                            w.archiveLocation = g_far + "/Archive/Away-2026-01-01";
                            c.settings.archiveRoot = g_far + "/Archive";
                            c.workspaces.push_back(w);
                            item(*w.archiveLocation + "/a1.txt");
                            item(*w.archiveLocation + "/sub/a2.txt");
                            item(*w.archiveLocation + "/sub/a3.txt");
                            finish(c, p);
                        },
                        [](SettingsModel &m, const Paths &) { m.restore("Away"); }, QString(), true});
        list.push_back({"drain into a desktop on another disk",
                        [](Config &c, const Paths &p) {
                            baseLayout(c, p);
                            // Into's folder lies on the other disk and already holds a "Scratch".
                            c.workspaces.push_back(desk("Into"));
                            QDir().mkpath(g_far + "/Into/Scratch");
                            QFile::link(g_far + "/Into", p.workspaces() + "/Into");
                            item(g_far + "/Into/Scratch/a.txt");
                            addDesktop(c, p, "Scratch", {"a.txt", "b/b1.txt", "b/b2.txt", "c.txt"});
                            c.workspaces.back().type = WorkspaceType::temporary;
                            finish(c, p);
                        },
                        [](SettingsModel &m, const Paths &) { m.drain("Scratch", "Into"); }, QString(), true});
    }
    list.push_back({"pick a cue image over an earlier one",
                    [](Config &c, const Paths &p) {
                        baseLayout(c, p);
                        const QString earlier = p.cues() + "/EARLIER.png";
                        writeFile(earlier, "earlier copy");
                        c.workspaces.back().cue = DesktopCue(true, DesktopCue::Fill::image(earlier), 0.5, false, false);
                        item(p.home() + "/Pictures/sunset.png");
                        finish(c, p);
                    },
                    [](SettingsModel &m, const Paths &p) { m.setCueImage("Home", p.home() + "/Pictures/sunset.png"); },
                    QString()});
    return list;
}

} // namespace

int main(int argc, char **argv)
{
    isolateGuiProcessEnvironment();
    QApplication app(argc, argv);
    Log::start(AppInfo::installed(), QString());
    QLoggingCategory::setFilterRules(QStringLiteral("*.info=false\n*.debug=false\n*.warning=false"));

    Totals totals;
    QElapsedTimer clock;
    clock.start();
    std::printf("%-46s %6s %14s %8s\n", "operation", "steps", "interruptions", "items");
    for (const Scenario &scenario : scenarios()) {
        Totals mine;
        const int steps = runOnce(scenario, Plan::Mode::none, 0, mine);
        int interruptions = 0;
        for (int at = 1; at <= steps; ++at) {
            for (Plan::Mode mode : {Plan::Mode::die, Plan::Mode::fail}) {
                runOnce(scenario, mode, at, mine);
                ++interruptions;
            }
        }
        std::printf("%-46s %6d %14d %8ld\n", scenario.name, steps, interruptions, mine.items);
        totals.steps += steps;
        totals.interruptions += interruptions;
        totals.items += mine.items;
        totals.lost += mine.lost;
        totals.unreachable += mine.unreachable;
        totals.duplicated += mine.duplicated;
        totals.truncated += mine.truncated;
        totals.missingCues += mine.missingCues;
        totals.misplaced += mine.misplaced;
        totals.undecodable += mine.undecodable;
        totals.leftovers += mine.leftovers;
    }
    std::printf("steps %d, interruptions %d, items checked %ld: %d lost, %d unreachable, %d duplicated, "
                "%d truncated, %d missing cue images, %d folders moved by a failed operation, %d unreadable documents, "
                "%d unfinished copies left (%.1f s)\n",
                totals.steps, totals.interruptions, totals.items, totals.lost, totals.unreachable, totals.duplicated,
                totals.truncated, totals.missingCues, totals.misplaced, totals.undecodable, totals.leftovers, clock.elapsed() / 1000.0);
    const bool sound = totals.lost == 0 && totals.unreachable == 0 && totals.duplicated == 0 && totals.truncated == 0
        && totals.missingCues == 0 && totals.misplaced == 0 && totals.undecodable == 0 && totals.leftovers == 0;
    return sound ? 0 : 1;
}
