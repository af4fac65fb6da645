// Times a desktop switch between two desktops of n top-level items each against a plain loop of
// renameat2 calls moving the same items, and prints the ratio. Runs in a temporary folder in the
// current directory, so that the figures come from the disk the program is run on.

#include "Config.h"
#include "DesktopSwapper.h"
#include "FileStateStore.h"
#include "FileSystemSurface.h"
#include "Paths.h"

#include <benchmark/benchmark.h>

#include <QDir>
#include <QFile>
#include <QTemporaryDir>

#include <chrono>
#include <cstdio>
#include <fcntl.h>
#include <map>
#include <stdexcept>
#include <stdio.h>

using namespace quorvane;

namespace {

struct Totals {
    double seconds = 0;
    std::int64_t operations = 0;
    double perOperation() const { return operations ? seconds / double(operations) : 0; }
};
std::map<int, Totals> switchTotals;
std::map<int, Totals> renameTotals;
std::map<int, double> storeWritesPerSwitch;

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
    Totals &totals = switchTotals[n];
    for (auto _ : state) {
        const auto start = std::chrono::steady_clock::now();
        swapper.switchTo(toB ? QStringLiteral("B") : QStringLiteral("A"));
        totals.seconds += std::chrono::duration<double>(std::chrono::steady_clock::now() - start).count();
        ++totals.operations;
        toB = !toB;
    }
    if (surface.items(Location::desktop()).size() != n)
        state.SkipWithError("the Desktop does not hold one desktop's items");
    storeWritesPerSwitch[n] = double(store.writes) / double(state.iterations());
    state.counters["storeWrites/switch"] = storeWritesPerSwitch[n];
    state.counters["items moved/switch"] = 2 * n;
}

void BM_RenameLoop(benchmark::State &state)
{
    const int n = int(state.range(0));
    Home home(n);
    const QByteArray desktop = QFile::encodeName(home.paths.desktop());
    const QByteArray a = QFile::encodeName(home.paths.workspaces() + QStringLiteral("/A"));
    const QByteArray b = QFile::encodeName(home.paths.workspaces() + QStringLiteral("/B"));
    auto moveAll = [](const QStringList &names, const QByteArray &from, const QByteArray &to) {
        for (const QString &name : names) {
            const QByteArray component = '/' + name.toUtf8();
            if (::renameat2(AT_FDCWD, (from + component).constData(), AT_FDCWD, (to + component).constData(),
                            RENAME_NOREPLACE) != 0)
                throw std::runtime_error("rename failed");
        }
    };
    bool toB = true;
    Totals &totals = renameTotals[n];
    for (auto _ : state) {
        const auto start = std::chrono::steady_clock::now();
        if (toB) {
            moveAll(home.aNames, desktop, a);
            moveAll(home.bNames, b, desktop);
        } else {
            moveAll(home.bNames, desktop, b);
            moveAll(home.aNames, a, desktop);
        }
        totals.seconds += std::chrono::duration<double>(std::chrono::steady_clock::now() - start).count();
        ++totals.operations;
        toB = !toB;
    }
    state.counters["items moved/loop"] = 2 * n;
}

// Interleaved so that both see the same state of the disk.
BENCHMARK(BM_RenameLoop)->Arg(10)->Unit(benchmark::kMicrosecond);
BENCHMARK(BM_Switch)->Arg(10)->Unit(benchmark::kMicrosecond);
BENCHMARK(BM_RenameLoop)->Arg(100)->Unit(benchmark::kMicrosecond);
BENCHMARK(BM_Switch)->Arg(100)->Unit(benchmark::kMicrosecond);
BENCHMARK(BM_RenameLoop)->Arg(1000)->Unit(benchmark::kMicrosecond);
BENCHMARK(BM_Switch)->Arg(1000)->Unit(benchmark::kMicrosecond);

} // namespace

int main(int argc, char **argv)
{
    benchmark::Initialize(&argc, argv);
    if (benchmark::ReportUnrecognizedArguments(argc, argv))
        return 1;
    benchmark::RunSpecifiedBenchmarks();
    benchmark::Shutdown();

    std::printf("\n%8s %16s %16s %8s %14s\n", "items", "rename loop", "switch", "ratio", "store writes");
    for (const auto &[n, renames] : renameTotals) {
        const auto found = switchTotals.find(n);
        if (found == switchTotals.end() || renames.perOperation() <= 0)
            continue;
        const double loop = renames.perOperation();
        const double sw = found->second.perOperation();
        std::printf("%8d %13.1f us %13.1f us %8.2f %14.1f\n", n, loop * 1e6, sw * 1e6, sw / loop, storeWritesPerSwitch[n]);
    }
    return 0;
}
