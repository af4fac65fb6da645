// What carrying the desktop host's icon positions adds to a switch: two homes of n items per
// desktop, one switched through the plain file-system surface, the other through the
// application's surface with an xfdesktop store that holds a position for every item. The two
// alternate, round by round, so that both see the same state of the disk; prints the medians
// and the time spent in the carries themselves, in microseconds and as a share of the plain
// switch (the difference of the two medians is mostly the disk's noise). Runs in a
// temporary folder in the current directory. (pcmanfm's desktop adds its own restart after the
// moves, which this does not time: that is the host's start, not ours.)

#include "Config.h"
#include "Desktop/FinderSurface.h"
#include "DesktopHosts/LinuxDesktopIconHosts.h"
#include "DesktopSwapper.h"
#include "FileStateStore.h"
#include "FileSystemSurface.h"
#include "Paths.h"

#include <QDir>
#include <QFile>
#include <QTemporaryDir>

#include <algorithm>
#include <chrono>
#include <cstdio>
#include <stdexcept>
#include <vector>

using namespace quorvane;

namespace {

using Clock = std::chrono::steady_clock;

double median(std::vector<double> values)
{
    std::sort(values.begin(), values.end());
    return values.empty() ? 0 : values[values.size() / 2];
}

void writeFile(const QString &path, const QByteArray &bytes)
{
    QFile file(path);
    if (!file.open(QIODevice::WriteOnly) || file.write(bytes) != bytes.size())
        throw std::runtime_error("cannot write " + path.toStdString());
}

// n files of desktop A on the Desktop, n of desktop B in its folder, A active; the host's store
// holds a grid cell for each of A's items.
struct Home {
    QTemporaryDir dir{QDir::currentPath() + QStringLiteral("/carry-bench-XXXXXX")};
    Paths paths = Paths::forHome(dir.path());
    QString config = dir.path() + QStringLiteral("/.config");

    explicit Home(int n)
    {
        if (!dir.isValid())
            throw std::runtime_error("cannot create the benchmark folder");
        for (const QString &folder : {paths.desktop(), paths.store(), paths.workspaces() + QStringLiteral("/A"),
                                      paths.workspaces() + QStringLiteral("/B"), config + QStringLiteral("/xfce4/desktop")})
            QDir().mkpath(folder);
        QByteArray store = "[xfdesktop-version-4.10.3+-rcfile_format]\n4.10.3+=true\n\n";
        for (int i = 0; i < n; ++i) {
            const QString a = QStringLiteral("a item %1.txt").arg(i, 4, 10, QLatin1Char('0'));
            writeFile(paths.desktop() + QLatin1Char('/') + a, a.toUtf8());
            writeFile(paths.workspaces() + QStringLiteral("/B/b item %1.txt").arg(i, 4, 10, QLatin1Char('0')), "b");
            store += "[" + (paths.desktop() + QLatin1Char('/') + a).toUtf8() + "]\nrow=" + QByteArray::number(i % 7)
                + "\ncol=" + QByteArray::number(i / 7) + "\n\n";
        }
        const QString rc = config + QStringLiteral("/xfce4/desktop/icons.screen0-1264x784.rc");
        writeFile(rc, store);
        QFile::link(rc, config + QStringLiteral("/xfce4/desktop/icons.screen.latest.rc"));
        Config document = Config::defaultDocument();
        document.activeWorkspace = QStringLiteral("A");
        document.workspaces = {Workspace::make(QStringLiteral("A")), Workspace::make(QStringLiteral("B"))};
        document.settings.moveGapMs = 0;
        FileStateStore(paths.config(), paths.journal()).saveConfig(document);
    }
};

// The application's surface, with the time spent in the carries themselves added up.
class TimedCarries final : public DesktopSurface {
public:
    explicit TimedCarries(FinderSurface &inner)
        : m_inner(inner)
    {
    }
    bool sameVolume() override { return m_inner.sameVolume(); }
    QStringList items(const Location &at) override { return m_inner.items(at); }
    void move(const QString &name, const Location &from, const Location &to) override { m_inner.move(name, from, to); }
    std::optional<IconPosition> readPosition(const QString &name) override { return m_inner.readPosition(name); }
    IconPositions readPositions(const QStringList &names) override { return m_inner.readPositions(names); }
    void writePosition(const IconPosition &position, const QString &name) override { m_inner.writePosition(position, name); }
    void writePositions(const IconPositions &positions) override { m_inner.writePositions(positions); }
    void carryPositions(const Location &from, const Location &to, const QStringList &names) override
    {
        const auto start = Clock::now();
        m_inner.carryPositions(from, to, names);
        seconds += std::chrono::duration<double>(Clock::now() - start).count();
    }
    void finishCarry() override
    {
        const auto start = Clock::now();
        m_inner.finishCarry();
        seconds += std::chrono::duration<double>(Clock::now() - start).count();
    }
    void checkFolders(const QList<Location> &folders) override { m_inner.checkFolders(folders); }

    double seconds = 0;

private:
    FinderSurface &m_inner;
};

void pairedRun(int n, int rounds)
{
    Home plainHome(n);
    FileSystemSurface plainSurface(plainHome.paths.desktop(), plainHome.paths.workspaces());
    FileStateStore plainStore(plainHome.paths.config(), plainHome.paths.journal());
    DesktopSwapper plain(plainSurface, plainStore, [](double) {});

    Home carryHome(n);
    auto host = std::make_shared<XfdesktopIconHost>(carryHome.config, carryHome.paths.desktop());
    FinderSurface finder(carryHome.paths.desktop(), carryHome.paths.workspaces(), [host] { return host; });
    TimedCarries carrySurface(finder);
    FileStateStore carryStore(carryHome.paths.config(), carryHome.paths.journal());
    DesktopSwapper carrying(carrySurface, carryStore, [](double) {});

    std::vector<double> plainTimes;
    std::vector<double> carryTimes;
    std::vector<double> carryOnly;
    for (int round = 0; round < rounds; ++round) {
        const QString target = round % 2 == 0 ? QStringLiteral("B") : QStringLiteral("A");
        auto start = Clock::now();
        plain.switchTo(target);
        plainTimes.push_back(std::chrono::duration<double>(Clock::now() - start).count());
        carrySurface.seconds = 0;
        start = Clock::now();
        carrying.switchTo(target);
        carryTimes.push_back(std::chrono::duration<double>(Clock::now() - start).count());
        carryOnly.push_back(carrySurface.seconds);
    }
    if (host->read({QStringLiteral("a item 0000.txt")}).empty())
        throw std::runtime_error("the positions did not come back");
    const double plainMedian = median(plainTimes);
    const double carryMedian = median(carryTimes);
    const double carries = median(carryOnly);
    std::printf("%8d %14.1f us %14.1f us %12.1f us %9.1f %%\n", n, plainMedian * 1e6, carryMedian * 1e6, carries * 1e6,
                100.0 * carries / plainMedian);
}

} // namespace

int main()
{
    std::printf("switch with the host's positions carried (xfdesktop store), paired medians\n%8s %17s %17s %15s %11s\n",
                "items", "plain switch", "with positions", "the carries", "share");
    for (const auto &[n, rounds] : {std::pair{100, 41}, std::pair{1000, 21}})
        pairedRun(n, rounds);
    return 0;
}
