// Times a desktop switch between two desktops of n top-level items each against a plain loop of
// renameat2 calls moving the same items, and prints the ratio: after the library's runs, a
// paired run alternates one loop, one switch and the switch's own saves alone (the document
// with n names twice and the journal, each written whole and flushed, and the journal removed)
// over the same kind of home, and prints the medians, the median of the rounds' ratios, and
// that ratio with the saves taken out of the switch (what the engine adds beyond its flushes).
// Runs in a temporary folder in the current directory, so that the figures come from the disk
// the program is run on.

#include "Config.h"
#include "DesktopSwapper.h"
#include "FileStateStore.h"
#include "FileSystemSurface.h"
#include "Paths.h"

#include <benchmark/benchmark.h>

#include <QDir>
#include <QFile>
#include <QTemporaryDir>

#include <algorithm>
#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <fcntl.h>
#include <stdexcept>
#include <stdio.h>
#include <vector>

using namespace quorvane;

namespace {

using Clock = std::chrono::steady_clock;

double secondsSince(Clock::time_point start)
{
    return std::chrono::duration<double>(Clock::now() - start).count();
}

double median(std::vector<double> values)
{
    std::sort(values.begin(), values.end());
    return values.empty() ? 0 : values[values.size() / 2];
}

// A store that counts its writes (each one flushes the file and its folder to the device).
class CountingStore final : public StateStore {
public:
    explicit CountingStore(StateStore &inner)
        : m_inner(inner)
    {
    }
    Config loadConfig() override { return m_inner.loadConfig(); }
    void saveConfig(const Config &config) override
    {
        ++writes;
        m_inner.saveConfig(config);
    }
    std::optional<Journal> loadJournal() override { return m_inner.loadJournal(); }
    void saveJournal(const std::optional<Journal> &journal) override
    {
        ++writes;
        m_inner.saveJournal(journal);
    }
    std::int64_t writes = 0;

private:
    StateStore &m_inner;
};

void writeFile(const QString &path, const QByteArray &bytes)
{
    QFile file(path);
    if (!file.open(QIODevice::WriteOnly) || file.write(bytes) != bytes.size())
        throw std::runtime_error("cannot write " + path.toStdString());
}

// A home whose Desktop holds n items of desktop A (half files, half folders) and whose folder of
// desktop B holds n other items; A is active.
struct Home {
    QTemporaryDir dir{QDir::currentPath() + QStringLiteral("/switch-bench-XXXXXX")};
    Paths paths = Paths::forHome(dir.path());
    QStringList aNames;
    QStringList bNames;

    explicit Home(int n)
    {
        if (!dir.isValid())
            throw std::runtime_error("cannot create the benchmark folder");
        QDir().mkpath(paths.desktop());
        QDir().mkpath(paths.store());
        QDir().mkpath(paths.workspaces() + QStringLiteral("/A"));
        QDir().mkpath(paths.workspaces() + QStringLiteral("/B"));
        for (int i = 0; i < n; ++i) {
            aNames.append(QStringLiteral("a item %1").arg(i, 4, 10, QLatin1Char('0')));
            bNames.append(QStringLiteral("b item %1").arg(i, 4, 10, QLatin1Char('0')));
        }
        auto make = [](const QString &folder, const QString &name, int i) {
            const QString path = folder + '/' + name;
            if (i % 2 == 0) {
                QDir().mkpath(path);
                writeFile(path + QStringLiteral("/inside.txt"), name.toUtf8());
            } else {
                writeFile(path, name.toUtf8());
            }
        };
        for (int i = 0; i < n; ++i) {
            make(paths.desktop(), aNames[i], i);
            make(paths.workspaces() + QStringLiteral("/B"), bNames[i], i);
        }
        Config config = Config::defaultDocument();
        config.activeWorkspace = QStringLiteral("A");
        config.workspaces = {Workspace::make(QStringLiteral("A")), Workspace::make(QStringLiteral("B"))};
        config.settings.moveGapMs = 0;
        FileStateStore(paths.config(), paths.journal()).saveConfig(config);
    }
};

void BM_Switch(benchmark::State &state)
{
    const int n = int(state.range(0));
    Home home(n);
    FileSystemSurface surface(home.paths.desktop(), home.paths.workspaces());
    FileStateStore files(home.paths.config(), home.paths.journal());
    CountingStore store(files);
    DesktopSwapper swapper(surface, store, [](double) {});
    bool toB = true;
    for (auto _ : state) {
        swapper.switchTo(toB ? QStringLiteral("B") : QStringLiteral("A"));
        toB = !toB;
    }
    if (surface.items(Location::desktop()).size() != n)
        state.SkipWithError("the Desktop does not hold one desktop's items");
    state.counters["storeWrites/switch"] = double(store.writes) / double(state.iterations());
    state.counters["items moved/switch"] = 2 * n;
}

// The bare moves of a switch: every item of one desktop out, every item of the other in.
struct RenameLoop {
    const Home &home;
    QByteArray desktop = QFile::encodeName(home.paths.desktop());
    QByteArray a = QFile::encodeName(home.paths.workspaces() + QStringLiteral("/A"));
    QByteArray b = QFile::encodeName(home.paths.workspaces() + QStringLiteral("/B"));
    bool toB = true;

    static void moveAll(const QStringList &names, const QByteArray &from, const QByteArray &to)
    {
        for (const QString &name : names) {
            const QByteArray component = '/' + name.toUtf8();
            if (::renameat2(AT_FDCWD, (from + component).constData(), AT_FDCWD, (to + component).constData(),
                            RENAME_NOREPLACE)
                != 0)
                throw std::runtime_error("rename failed");
        }
    }
    void run()
    {
        if (toB) {
            moveAll(home.aNames, desktop, a);
            moveAll(home.bNames, b, desktop);
        } else {
            moveAll(home.bNames, desktop, b);
            moveAll(home.aNames, a, desktop);
        }
        toB = !toB;
    }
};

void BM_RenameLoop(benchmark::State &state)
{
    const int n = int(state.range(0));
    Home home(n);
    RenameLoop loop{home};
    for (auto _ : state)
        loop.run();
    state.counters["items moved/loop"] = 2 * n;
}

// The saves of one switch alone: the document with one desktop's n names before the moves and
// the other's after them, the journal of the moves between, then its removal.
// (In a home of no items of its own, with the names of another.)
struct Saves {
    FileStateStore store;
    Config before;
    Config after;
    Journal journal;

    Saves(const Home &empty, const Home &named)
        : store(empty.paths.config(), empty.paths.journal())
        , before(store.loadConfig())
        , journal{QStringLiteral("A"), QStringLiteral("B"), named.aNames, named.bNames}
    {
        before.updateWorkspace(QStringLiteral("A"), [&](Workspace &w) { w.files = named.aNames; });
        after = before;
        after.activeWorkspace = QStringLiteral("B");
        after.updateWorkspace(QStringLiteral("B"), [&](Workspace &w) { w.files = named.bNames; });
    }
    void run()
    {
        store.saveConfig(before);
        store.saveJournal(journal);
        store.saveConfig(after);
        store.saveJournal(std::nullopt);
    }
};

// Alternates one rename loop, one switch and one switch's saves, each in a home of its own;
// prints the medians and the median of the rounds' ratios, with and without the saves.
void pairedRun(int n, int rounds)
{
    Home loopHome(n);
    RenameLoop loop{loopHome};
    Home switchHome(n);
    FileSystemSurface surface(switchHome.paths.desktop(), switchHome.paths.workspaces());
    FileStateStore files(switchHome.paths.config(), switchHome.paths.journal());
    CountingStore store(files);
    DesktopSwapper swapper(surface, store, [](double) {});
    Home savesHome(0);
    Saves saves(savesHome, switchHome);
    std::vector<double> loops;
    std::vector<double> switches;
    std::vector<double> saved;
    std::vector<double> ratios;
    std::vector<double> beyondSaves;
    for (int round = 0; round < rounds; ++round) {
        auto start = Clock::now();
        loop.run();
        loops.push_back(secondsSince(start));
        start = Clock::now();
        swapper.switchTo(round % 2 == 0 ? QStringLiteral("B") : QStringLiteral("A"));
        switches.push_back(secondsSince(start));
        start = Clock::now();
        saves.run();
        saved.push_back(secondsSince(start));
        ratios.push_back(switches.back() / loops.back());
        beyondSaves.push_back((switches.back() - saved.back()) / loops.back());
    }
    std::printf("%8d %13.1f us %13.1f us %13.1f us %8.2f %12.2f %14.1f\n", n, median(loops) * 1e6,
                median(switches) * 1e6, median(saved) * 1e6, median(ratios), median(beyondSaves),
                double(store.writes) / rounds);
}

// Interleaved so that both see the same state of the disk.
BENCHMARK(BM_RenameLoop)->Arg(10)->Unit(benchmark::kMicrosecond);
BENCHMARK(BM_Switch)->Arg(10)->Unit(benchmark::kMicrosecond);
BENCHMARK(BM_RenameLoop)->Arg(100)->Unit(benchmark::kMicrosecond);
BENCHMARK(BM_Switch)->Arg(100)->Unit(benchmark::kMicrosecond);
BENCHMARK(BM_RenameLoop)->Arg(1000)->Unit(benchmark::kMicrosecond);
BENCHMARK(BM_Switch)->Arg(1000)->Unit(benchmark::kMicrosecond);
BENCHMARK(BM_RenameLoop)->Arg(10000)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_Switch)->Arg(10000)->Unit(benchmark::kMillisecond);

} // namespace

int main(int argc, char **argv)
{
    // --paired-only=N runs only the paired run of N items (for a profiler's eyes).
    int pairedOnly = 0;
    if (argc > 1 && std::strncmp(argv[argc - 1], "--paired-only=", 14) == 0)
        pairedOnly = std::atoi(argv[--argc] + 14);
    benchmark::Initialize(&argc, argv);
    if (benchmark::ReportUnrecognizedArguments(argc, argv))
        return 1;
    if (!pairedOnly)
        benchmark::RunSpecifiedBenchmarks();
    benchmark::Shutdown();

    std::printf("\npaired medians\n%8s %16s %16s %16s %8s %12s %14s\n", "items", "rename loop", "switch",
                "its saves", "ratio", "less saves", "store writes");
    for (const auto &[n, rounds] : {std::pair{10, 41}, std::pair{100, 41}, std::pair{1000, 21}, std::pair{10000, 9}}) {
        if (!pairedOnly || pairedOnly == n)
            pairedRun(n, rounds);
    }
    return 0;
}
