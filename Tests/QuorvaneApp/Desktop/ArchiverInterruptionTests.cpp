// Kills a drain into a desktop whose folder lies on another file system at every step it takes
// (every call on the disk and every step of each copy), in a child process as a process death
// would, then starts afresh as the application does (the archiver settles what was interrupted,
// nothing is retried) and checks every item: whole exactly once, nothing of an unfinished copy
// left anywhere, no record left in the store, and the user's folders that merely bear the name
// of a copy in progress untouched.
#include "Desktop/Archiver.h"
#include "Fakes/FakeFileOperations.h"
#include "FileStateStore.h"
#include "NoReplaceMove.h"
#include "Paths.h"
#include "TestEnvironment.h"

#include <QDir>
#include <QDirIterator>
#include <QFile>
#include <QTemporaryDir>
#include <gtest/gtest.h>

#include <cstdio>
#include <filesystem>
#include <map>
#include <memory>

#include <sys/stat.h>
#include <sys/wait.h>
#include <unistd.h>

using namespace quorvane;
using quorvane::test::readFile;
using quorvane::test::TempHome;
using quorvane::test::writeFile;

namespace {

// A folder on another file system than `near`, or none.
std::unique_ptr<QTemporaryDir> otherFileSystem(const QString &near)
{
    auto other = std::make_unique<QTemporaryDir>(QStringLiteral("/dev/shm/quorvane-drain-XXXXXX"));
    struct stat a {
    }, b{};
    if (!other->isValid() || ::stat(QFile::encodeName(near).constData(), &a) != 0
        || ::stat(QFile::encodeName(other->path()).constData(), &b) != 0 || a.st_dev == b.st_dev)
        return nullptr;
    return other;
}

void removeTree(const QString &path)
{
    std::error_code ignored;
    for (const auto &entry : std::filesystem::recursive_directory_iterator(
             path.toStdString(), std::filesystem::directory_options::skip_permission_denied, ignored)) {
        if (entry.is_directory() && !entry.is_symlink())
            std::filesystem::permissions(entry.path(), std::filesystem::perms::owner_all,
                                         std::filesystem::perm_options::add, ignored);
    }
    std::filesystem::remove_all(path.toStdString(), ignored);
}

// Runs the body in a child and answers its exit code; -1 when it did not end normally.
int inChild(const std::function<int()> &body)
{
    const pid_t child = ::fork();
    if (child < 0)
        return -1;
    if (child == 0) {
        ::alarm(20);
        ::_exit(body());
    }
    int status = 0;
    if (::waitpid(child, &status, 0) != child || !WIFEXITED(status))
        return -1;
    return WEXITSTATUS(status);
}

struct Figures {
    int runs = 0;
    int lost = 0;
    int duplicated = 0;
    int truncated = 0;
    int leftovers = 0;
    int records = 0;
};

// The parameter: whether the drain merges into a "Temp" the other desktop already holds (each
// mode a test of its own, so that the two run side by side).
class DrainInterruption : public testing::TestWithParam<bool> {
protected:
    TempHome home;
    Paths paths = Paths::forHome(home.path());
    std::unique_ptr<QTemporaryDir> far = otherFileSystem(home.path());
    std::map<QByteArray, QString> items; // unique contents → where it was laid out
    QStringList lookAlikes;              // the user's folders named like a copy in progress

    void item(const QString &path)
    {
        const QByteArray contents = "item " + path.toUtf8();
        writeFile(path, contents);
        items[contents] = path;
    }

    // Temp drains into Into, whose folder lies on the other file system (and, to merge, already
    // holds a "Temp").
    void layOut(bool merge)
    {
        removeTree(paths.workspaces());
        removeTree(far->path() + "/Into");
        items.clear();
        QDir().mkpath(paths.store());
        QDir().mkpath(far->path() + "/Into");
        ASSERT_TRUE(QFile::link(far->path() + "/Into", paths.workspaces() + "/Into"));
        if (merge)
            item(far->path() + "/Into/Temp/a.txt");
        for (const char *name : {"a.txt", "b/b1.txt", ".hidden", ".quorvane-copy-thesis/one.txt"})
            item(paths.workspaces() + "/Temp/" + name);
        for (const QString &folder : {paths.workspaces() + "/.quorvane-copy-stray", far->path() + "/Into/.quorvane-copy-mine"})
            item(folder + "/notes.txt");
        ::chmod(QFile::encodeName(far->path() + "/Into/.quorvane-copy-mine").constData(), 0555);
        lookAlikes = {".quorvane-copy-mine", ".quorvane-copy-stray", ".quorvane-copy-thesis"};
        Config config = Config::defaultDocument();
        config.activeWorkspace = QStringLiteral("Home");
        Workspace temp = Workspace::make(QStringLiteral("Temp"));
        temp.type = WorkspaceType::temporary;
        config.workspaces = {Workspace::make(QStringLiteral("Home")), Workspace::make(QStringLiteral("Into")), temp,
                             Workspace::make(Config::blankWorkspaceName)};
        QDir().mkpath(paths.workspaces() + "/Home");
        FileStateStore(paths.config(), paths.journal()).saveConfig(config);
    }

    // Every file under the desktops folder and the other file system, the store left out.
    void count(Figures &figures, const QString &where)
    {
        std::map<QByteArray, int> seen;
        QStringList hiddenCopies;
        for (const QString &top : {paths.workspaces(), far->path()}) {
            QDirIterator it(top, QDir::AllEntries | QDir::NoDotAndDotDot | QDir::Hidden | QDir::System,
                            QDirIterator::Subdirectories);
            while (it.hasNext()) {
                const QString path = it.next();
                if (path.startsWith(paths.store()) || path.startsWith(paths.workspaces() + "/Into/"))
                    continue;
                if (it.fileName().startsWith(".quorvane-copy-"))
                    hiddenCopies.append(it.fileName());
                if (!it.fileInfo().isFile() || it.fileInfo().isSymLink())
                    continue;
                const QByteArray contents = readFile(path);
                if (items.count(contents)) {
                    ++seen[contents];
                } else {
                    ++figures.truncated;
                    ADD_FAILURE() << where.toStdString() << ": not an item: " << path.toStdString();
                }
            }
        }
        for (const auto &[contents, origin] : items) {
            const int times = seen.count(contents) ? seen.at(contents) : 0;
            if (times != 1)
                ADD_FAILURE() << where.toStdString() << ": " << origin.toStdString() << " found " << times << " times";
            figures.lost += times == 0;
            figures.duplicated += times > 1;
        }
        hiddenCopies.sort();
        if (hiddenCopies != lookAlikes) {
            ++figures.leftovers;
            ADD_FAILURE() << where.toStdString() << ": hidden copies " << hiddenCopies.join(", ").toStdString();
        }
        std::vector<QByteArray> records;
        fileops::listEntries(QFile::encodeName(paths.copyRecords()), records);
        figures.records += int(records.size());
        EXPECT_TRUE(records.empty()) << where.toStdString() << ": records left";
    }
};

} // namespace

TEST_P(DrainInterruption, KilledAtEveryStepNothingIsDuplicatedOrLeftOverAfterTheNextStart)
{
    if (!far)
        GTEST_SKIP() << "no second file system to drain across";
    Figures figures;
    int steps = 0;
    const bool merge = GetParam();
    for (int dieAt = 1;; ++dieAt) {
        layOut(merge);
        const int passed = inChild([&] {
            int step = 0;
            const auto point = [&] {
                if (++step == dieAt)
                    ::_exit(200);
            };
            test::FakeFileOperations files(paths.copyRecords());
            files.beforeStep = [&](const QString &, const QString &) { point(); };
            files.copyHooks = fileops::CopyHooks{point, point, point};
            FileStateStore store(paths.config(), paths.journal());
            try {
                Archiver(store, paths, dateNow, &files).drain("Temp", "Into");
            } catch (...) {
                return 100;
            }
            return std::min(step, 199);
        });
        ASSERT_NE(passed, -1);
        ASSERT_NE(passed, 100) << "the uninterrupted drain failed";
        // The next start: only what the archiver settles at start-up, no retry.
        FileStateStore store(paths.config(), paths.journal());
        Archiver(store, paths).finishInterrupted();
        ++figures.runs;
        count(figures, QStringLiteral("%1, killed at step %2").arg(merge ? "merge" : "whole folder").arg(dieAt));
        if (passed != 200) {
            steps += passed;
            break;
        }
    }
    ::chmod(QFile::encodeName(far->path() + "/Into/.quorvane-copy-mine").constData(), 0755);
    std::printf("the drain across file systems (%s) killed at every step with nothing duplicated or left over after "
                "the next start: %d runs over %d steps, %d lost, %d duplicated, %d truncated, %d unfinished copies "
                "left, %d records left\n",
                merge ? "merge" : "whole folder", figures.runs, steps, figures.lost, figures.duplicated,
                figures.truncated, figures.leftovers, figures.records);
    EXPECT_GT(steps, 10);
    EXPECT_EQ(figures.lost + figures.duplicated + figures.truncated + figures.leftovers + figures.records, 0);
}

INSTANTIATE_TEST_SUITE_P(Drain, DrainInterruption, testing::Bool(),
                         [](const testing::TestParamInfo<bool> &info) { return info.param ? "Merge" : "WholeFolder"; });
