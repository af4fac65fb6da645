// Interrupts moves of the user's items at every point where they change the disk, as a process
// death would: the operation runs in a child process that ends itself at the chosen point; the
// parent then starts afresh as the application would (the interrupted copies settled, the
// operation retried) and looks at every folder the items could be in.
// - a dock drop of files and folders from the Desktop into a desktop's folder, on one file
//   system and, where a second one exists, across file systems;
// - across file systems only: a drain of a temporary desktop into a desktop whose folder lies on
//   the other file system and already holds a folder of that name (a big file and many small
//   ones), and a restore from an archive on the other file system.
// A second file system is /dev/shm when it lies on another device than the temporary folder.
// Prints for each the points covered and the items lost, duplicated or truncated and the
// leftovers of unfinished copies (the bar is 0 for each).
#include "Controller/DropMove.h"
#include "Desktop/Archiver.h"
#include "FileStateStore.h"
#include "Files/LinuxFileOperations.h"
#include "Paths.h"

#include <QCoreApplication>
#include <QDir>
#include <QDirIterator>
#include <QFile>
#include <QLoggingCategory>
#include <QTemporaryDir>

#include <sys/stat.h>
#include <sys/wait.h>
#include <unistd.h>

#include <cstdio>
#include <functional>
#include <map>

using namespace quorvane;

namespace {

// Every file laid out, by its (unique) content → where it was.
using Originals = std::map<QByteArray, QString>;

void write(const QString &path, const QByteArray &content, Originals &originals)
{
    QDir().mkpath(QFileInfo(path).path());
    QFile file(path);
    file.open(QIODevice::WriteOnly);
    file.write(content);
    originals[content] = path;
}

QByteArray contentFor(const QString &label, qsizetype size)
{
    QByteArray content = label.toUtf8() + '\n';
    while (content.size() < size)
        content += content.left(std::min<qsizetype>(content.size(), size - content.size()));
    return content;
}

struct Figures {
    int points = 0;
    int runs = 0;
    int lost = 0;
    int duplicated = 0;
    int truncated = 0;
    int leftovers = 0;
    int failedRetries = 0;

    void add(const Figures &other)
    {
        runs += other.runs;
        lost += other.lost;
        duplicated += other.duplicated;
        truncated += other.truncated;
        leftovers += other.leftovers;
        failedRetries += other.failedRetries;
    }
    bool clean() const { return lost + duplicated + truncated + leftovers + failedRetries == 0; }
};

// Every file under the folders: each original whole exactly once, nothing else under a real
// name, nothing left of an unfinished copy.
void count(const QStringList &folders, const Originals &originals, Figures &figures)
{
    std::map<QByteArray, int> seen;
    for (const QString &folder : folders) {
        QDirIterator it(folder, QDir::AllEntries | QDir::NoDotAndDotDot | QDir::Hidden | QDir::System,
                        QDirIterator::Subdirectories);
        while (it.hasNext()) {
            const QString path = it.next();
            if (path.contains(QLatin1String("/.quorvane-copy-"))) {
                if (path.count(QLatin1String("/.quorvane-copy-")) == 1 && QFileInfo(path).fileName().startsWith(".quorvane-copy-"))
                    ++figures.leftovers;
                continue;
            }
            // The document and the journal are the application's, not the user's items.
            if (!it.fileInfo().isFile() || path.contains(QLatin1String("/.store/")))
                continue;
            QFile file(path);
            file.open(QIODevice::ReadOnly);
            const QByteArray content = file.readAll();
            if (originals.count(content))
                ++seen[content];
            else
                ++figures.truncated;
        }
    }
    for (const auto &[content, where] : originals) {
        const int times = seen.count(content) ? seen.at(content) : 0;
        if (times == 0)
            std::fprintf(stderr, "lost: %s\n", qPrintable(where));
        if (times > 1)
            std::fprintf(stderr, "duplicated: %s\n", qPrintable(where));
        figures.lost += times == 0;
        figures.duplicated += times > 1;
    }
}

// Runs `operation` in a child that dies at point `dieAt` (0: never); answers how many points an
// uninterrupted run passed (-1 when the child failed otherwise).
int inChild(int dieAt, const std::function<void(const std::function<void()> &point)> &operation)
{
    int report[2];
    if (pipe(report) != 0)
        return -1;
    const pid_t child = fork();
    if (child == 0) {
        close(report[0]);
        int passed = 0;
        const auto point = [&] {
            if (++passed == dieAt)
                _exit(2);
        };
        try {
            operation(point);
        } catch (...) {
            _exit(1);
        }
        _exit(::write(report[1], &passed, sizeof passed) == ssize_t(sizeof passed) ? 0 : 1);
    }
    close(report[1]);
    int passed = -1;
    if (::read(report[0], &passed, sizeof passed) != ssize_t(sizeof passed))
        passed = -1;
    close(report[0]);
    int status = 0;
    waitpid(child, &status, 0);
    return WIFEXITED(status) && WEXITSTATUS(status) == 0 ? passed : -1;
}

// A scenario laid out afresh for each run: lays out its items, runs the operation (with the
// points), and then, as the next start, settles and retries.
struct Scenario {
    const char *name;
    std::function<void(const QString &base, Originals &originals)> layOut;
    std::function<void(const QString &base, const std::function<void()> &point)> operate;
    std::function<bool(const QString &base)> restart; // false: the retry failed
    std::function<QStringList(const QString &base)> folders;
};

Figures run(const Scenario &scenario, const QString &local, const QString &other)
{
    Figures figures;
    for (int dieAt = 0;; ++dieAt) {
        const QString base = local + '/' + QString::number(dieAt);
        const QString far = other + '/' + QString::number(dieAt);
        QDir().mkpath(base);
        QDir().mkpath(far);
        // The other file system is reached through "far" inside the base.
        QFile::link(far, base + "/far");
        Originals originals;
        scenario.layOut(base, originals);
        const int passed = inChild(dieAt, [&](const std::function<void()> &point) { scenario.operate(base, point); });
        if (dieAt == 0)
            figures.points = passed;
        ++figures.runs;
        if (!scenario.restart(base))
            ++figures.failedRetries;
        count(scenario.folders(base), originals, figures);
        QDir(base).removeRecursively();
        QDir(far).removeRecursively();
        if (dieAt >= figures.points)
            break;
    }
    return figures;
}

// --- the dock drop ------------------------------------------------------------------------------

const QStringList dropped{"notes.txt", "photo.jpg", "project", "empty folder"};

// Where the copies of a run are recorded.
QString recordsIn(const QString &base)
{
    return base + "/store/copies";
}

Scenario dropScenario(bool across)
{
    Scenario s;
    s.name = across ? "drop, across file systems" : "drop, one file system";
    const auto rootOf = [across](const QString &base) { return across ? base + "/far/Desktops" : base + "/Desktops"; };
    s.layOut = [rootOf](const QString &base, Originals &o) {
        write(base + "/Desktop/notes.txt", contentFor("notes", 4096), o);
        write(base + "/Desktop/photo.jpg", contentFor("photo", 65536), o);
        write(base + "/Desktop/project/readme.md", contentFor("read me", 7), o);
        write(base + "/Desktop/project/src/main.c", contentFor("main", 8192), o);
        write(base + "/Desktop/empty folder/.keep", contentFor("keep", 4), o);
        QDir().mkpath(rootOf(base) + "/Target");
    };
    s.operate = [rootOf](const QString &base, const std::function<void()> &point) {
        FileSystemSurface files(base + "/Desktop", rootOf(base));
        fileops::CopyHooks hooks{point, point, point};
        for (const QString &name : dropped) {
            point();
            moveDroppedItem(files, name, "Target", recordsIn(base), hooks);
        }
        point();
    };
    // The next start settles the interrupted copies its records name; the drop is the user's to
    // repeat, so what stayed on the Desktop counts as kept.
    s.restart = [](const QString &base) { return fileops::finishInterruptedCopies(QFile::encodeName(recordsIn(base))) == 0; };
    s.folders = [rootOf](const QString &base) { return QStringList{base + "/Desktop", rootOf(base) + "/Target"}; };
    return s;
}

// --- the drain and the restore, through the archiver ----------------------------------------------

// The system's file operations, with a point before every step that changes the disk and every
// copy across file systems stepped through.
class SteppingFiles final : public FileOperations {
public:
    SteppingFiles(const QString &copyRecords, std::function<void()> point)
        : m_real(copyRecords)
        , m_records(QFile::encodeName(copyRecords))
        , m_point(std::move(point))
    {
    }
    int makeFolders(const QString &path) override
    {
        return step([&] { return real().makeFolders(path); });
    }
    int moveItem(const QString &from, const QString &to) override
    {
        return moveItem(QFile::encodeName(from), QFile::encodeName(to));
    }
    int moveItem(const QByteArray &from, const QByteArray &to) override
    {
        return step([&] {
            const int code = fileops::renameNoReplace(from, to);
            return code == EXDEV ? fileops::copyThenRemove(from, to, m_records, {m_point, m_point, m_point}) : code;
        });
    }
    TrashResult moveToTrash(const QString &path) override
    {
        m_point();
        return real().moveToTrash(path);
    }
    int copyExclusive(const QString &from, const QString &to) override
    {
        return step([&] { return real().copyExclusive(from, to); });
    }
    int finishInterruptedCopies() override
    {
        return step([&] { return real().finishInterruptedCopies(); });
    }
    int remove(const QString &path) override
    {
        return step([&] { return real().remove(path); });
    }
    int remove(const QByteArray &path) override
    {
        return step([&] { return real().remove(path); });
    }
    bool exists(const QString &path) override { return real().exists(path); }
    bool exists(const QByteArray &path) override { return real().exists(path); }
    int list(const QByteArray &folder, std::vector<Entry> &entries) override { return real().list(folder, entries); }
    std::optional<std::uint64_t> volumeId(const QString &path) override { return real().volumeId(path); }
    QString errorText(int code) override { return real().errorText(code); }

private:
    LinuxFileOperations &real() { return m_real; }
    template <typename Run>
    int step(Run run)
    {
        m_point();
        const int code = run();
        m_point();
        return code;
    }
    LinuxFileOperations m_real;
    QByteArray m_records;
    std::function<void()> m_point;
};

Paths pathsIn(const QString &base)
{
    return Paths::forHome(base + "/home");
}

void saveDocument(const QString &base, const std::function<void(Config &)> &edit)
{
    const Paths paths = pathsIn(base);
    QDir().mkpath(paths.store());
    Config config = Config::defaultDocument();
    edit(config);
    FileStateStore(paths.config(), paths.journal()).saveConfig(config);
}

// What the start does for the archiver, then the operation again when its record still asks.
bool restartArchiver(const QString &base, const std::function<void(Archiver &, const Config &)> &retry)
{
    const Paths paths = pathsIn(base);
    FileStateStore store(paths.config(), paths.journal());
    Archiver archiver(store, paths);
    try {
        archiver.finishInterrupted();
        retry(archiver, store.loadConfig());
        return true;
    } catch (...) {
        return false;
    }
}

Scenario drainScenario()
{
    Scenario s;
    s.name = "drain, across file systems";
    s.layOut = [](const QString &base, Originals &o) {
        const QString root = pathsIn(base).workspaces();
        QDir().mkpath(root);
        // Home's folder lies on the other file system and already has a folder named "Temp".
        QDir().mkpath(base + "/far/Home/Temp");
        QFile::link(base + "/far/Home", root + "/Home");
        write(base + "/far/Home/Temp/already there.txt", contentFor("already there", 100), o);
        write(root + "/Temp/aaa-big.bin", contentFor("big", 8 << 20), o);
        for (int i = 0; i < 30; ++i)
            write(root + QStringLiteral("/Temp/small %1.txt").arg(i), contentFor(QStringLiteral("small %1").arg(i), 100), o);
        write(root + "/Temp/folder/inner.txt", contentFor("inner", 300), o);
        saveDocument(base, [](Config &c) {
            Workspace home = Workspace::make("Home");
            Workspace temp = Workspace::make("Temp");
            temp.type = WorkspaceType::temporary;
            c.workspaces = {home, temp, Workspace::make(Config::blankWorkspaceName)};
            c.activeWorkspace = "Home";
        });
    };
    s.operate = [](const QString &base, const std::function<void()> &point) {
        const Paths paths = pathsIn(base);
        FileStateStore store(paths.config(), paths.journal());
        SteppingFiles files(paths.copyRecords(), point);
        Archiver(store, paths, dateNow, &files).drain("Temp", "Home");
    };
    s.restart = [](const QString &base) {
        return restartArchiver(base, [](Archiver &archiver, const Config &config) {
            if (config.workspace("Temp"))
                archiver.drain("Temp", "Home");
        });
    };
    s.folders = [](const QString &base) { return QStringList{pathsIn(base).workspaces() + "/Temp", base + "/far/Home"}; };
    return s;
}

Scenario restoreScenario()
{
    Scenario s;
    s.name = "restore, across file systems";
    s.layOut = [](const QString &base, Originals &o) {
        const QString archived = base + "/far/Archive/Old-2026-01-05";
        write(archived + "/aaa-big.bin", contentFor("big", 8 << 20), o);
        for (int i = 0; i < 30; ++i)
            write(archived + QStringLiteral("/small %1.txt").arg(i), contentFor(QStringLiteral("small %1").arg(i), 100), o);
        write(archived + "/folder/inner.txt", contentFor("inner", 300), o);
        QDir().mkpath(pathsIn(base).workspaces() + "/Home");
        saveDocument(base, [&](Config &c) {
            Workspace old = Workspace::make("Old");
            old.state = WorkspaceState::archivedUnsorted;
            old.archiveLocation = QFileInfo(archived).canonicalFilePath();
            c.workspaces = {Workspace::make("Home"), old, Workspace::make(Config::blankWorkspaceName)};
            c.activeWorkspace = "Home";
            c.settings.archiveRoot = QFileInfo(base + "/far/Archive").canonicalFilePath();
        });
    };
    s.operate = [](const QString &base, const std::function<void()> &point) {
        const Paths paths = pathsIn(base);
        FileStateStore store(paths.config(), paths.journal());
        SteppingFiles files(paths.copyRecords(), point);
        Archiver(store, paths, dateNow, &files).restore("Old");
    };
    s.restart = [](const QString &base) {
        return restartArchiver(base, [](Archiver &archiver, const Config &config) {
            if (config.workspace("Old")->state != WorkspaceState::active)
                archiver.restore("Old");
        });
    };
    s.folders = [](const QString &base) { return QStringList{pathsIn(base).workspaces(), base + "/far/Archive"}; };
    return s;
}

void print(const char *name, const Figures &f)
{
    std::printf("%-30s %4d points (%3d runs): %d lost, %d duplicated, %d truncated, %d unfinished copies left, %d "
                "failed retries\n",
                name, f.points, f.runs, f.lost, f.duplicated, f.truncated, f.leftovers, f.failedRetries);
}

} // namespace

int main(int argc, char **argv)
{
    QCoreApplication app(argc, argv);
    QLoggingCategory::setFilterRules(QStringLiteral("*.info=false"));
    QTemporaryDir local;
    Figures total;
    const Figures same = run(dropScenario(false), local.path() + "/same", local.path() + "/same-far");
    print("drop, one file system", same);
    total.add(same);
    struct stat a {
    }, b{};
    if (stat(QFile::encodeName(local.path()).constData(), &a) == 0 && stat("/dev/shm", &b) == 0 && a.st_dev != b.st_dev
        && access("/dev/shm", W_OK) == 0) {
        QTemporaryDir other(QStringLiteral("/dev/shm/quorvane-drop-XXXXXX"));
        for (const Scenario &scenario : {dropScenario(true), drainScenario(), restoreScenario()}) {
            const Figures across = run(scenario, local.path() + "/across", other.path());
            print(scenario.name, across);
            total.add(across);
        }
    } else {
        std::printf("across file systems: no second file system here\n");
    }
    return total.clean() ? 0 : 1;
}
