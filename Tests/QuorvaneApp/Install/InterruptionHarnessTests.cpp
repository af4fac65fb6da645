// Stops the uninstall and the move into the per-user install before each of their moves and
// after the last, as a process death would, then starts afresh on the same home and checks
// that nothing was lost, doubled or changed and that finishing the job gives what an
// uninterrupted run gives.

#include "Controller/ControllerHarness.h"
#include "Fakes/FakeLoginItem.h"
#include "Install/InstallLocation.h"
#include "Install/Uninstaller.h"

#include <QDirIterator>
#include <QStandardPaths>

#include <iostream>
#include <map>

using namespace quorvane;
using quorvane::test::readFile;
using quorvane::test::writeFile;

namespace {

struct Stop : std::runtime_error {
    Stop()
        : std::runtime_error("stopped")
    {
    }
};

// Counts the moves; the chosen one never happens, and nothing after it.
struct StopPlan {
    int stopAt = 0; // 0: never
    int moves = 0;
    void point()
    {
        if (++moves == stopAt)
            throw Stop();
    }
};

// Every file below the folder (hidden ones too) by its path relative to it, with its bytes.
std::map<QString, QByteArray> tree(const QString &folder)
{
    std::map<QString, QByteArray> files;
    QDirIterator it(folder, QDir::Files | QDir::Hidden | QDir::System, QDirIterator::Subdirectories);
    while (it.hasNext()) {
        const QString path = it.next();
        files[QDir(folder).relativeFilePath(path)] = readFile(path);
    }
    return files;
}

struct Harness : test::ControllerHarness {
    test::FakeLoginItem loginItem;
    int losses = 0;
    std::map<QByteArray, QString> items; // every user item's unique bytes, and its first place
    QString base;                        // the home folder in use

    void SetUp() override
    {
        test::ControllerHarness::SetUp();
        base = home.path();
    }
    QString inHome(const QString &relative) const { return base + '/' + relative; }

    AppEnvironment harnessEnvironment()
    {
        AppEnvironment env = environment();
        env.loginItem = &loginItem;
        return env;
    }
    void item(const QString &path, const QByteArray &contents)
    {
        writeFile(path, contents);
        items[contents] = path;
    }
    // The desktops as the end-to-end road lays them out, the blank desktop active.
    void layOutHome()
    {
        Config config;
        config.activeWorkspace = Config::blankWorkspaceName;
        for (const char *name : {"Work", "Photos", "Quiet", "../Documents"})
            config.workspaces.push_back(Workspace::make(name));
        Workspace old = Workspace::make("Old");
        old.state = WorkspaceState::archivedUnsorted;
        old.archiveLocation = paths().defaultArchiveRoot() + "/Old";
        config.workspaces.push_back(old);
        config.workspaces.push_back(Workspace::make(Config::blankWorkspaceName));
        config.settings.shownFirstSwitchNote = true;
        save(config);
        item(root() + "/Work/report.txt", "report");
        item(root() + "/Work/Project/plan.txt", "plan");
        item(root() + "/Work/.directory", "work directory");
        item(root() + "/Photos/a.jpg", "a.jpg");
        item(root() + "/Quiet/.directory", "quiet directory");
        item(paths().defaultArchiveRoot() + "/Old/old.txt", "old");
        item(inHome("Documents/keep.txt"), "keep");
        item(root() + '/' + Config::blankWorkspaceName + "/left.txt", "left");
        item(paths().pinnedStash() + "/notes.txt", "pinned notes");
        item(paths().pinnedStash() + "/Pinned Folder/inside.txt", "pinned inside");
        item(desktop() + "/desk.txt", "desk");
        item(desktop() + "/Photos/mine.txt", "mine");
        item(desktop() + "/notes.txt", "my notes");
    }
    // Every item once, intact, in one of the places an item may be.
    void checkEveryItemOnce(const QString &where, const QStringList &places)
    {
        std::map<QByteArray, int> seen;
        for (const auto &[path, bytes] : tree(base)) {
            if (items.count(bytes) == 0)
                continue;
            ++seen[bytes];
            const QString absolute = inHome(path);
            const bool allowed = std::any_of(places.begin(), places.end(),
                                             [&](const QString &place) { return absolute.startsWith(place + '/'); });
            if (!allowed) {
                ++losses;
                ADD_FAILURE() << where.toStdString() << ": " << path.toStdString() << " is in no place of its own";
            }
        }
        for (const auto &[bytes, first] : items) {
            if (seen[bytes] != 1) {
                ++losses;
                ADD_FAILURE() << where.toStdString() << ": " << first.toStdString() << " found " << seen[bytes] << " times";
            }
        }
    }
};

} // namespace

TEST_F(Harness, AnUninstallStoppedAtAnyMoveLosesNothingAndASecondOneFinishesIt)
{
    // The uninterrupted run, for the count of moves and the Desktop it leaves.
    layOutHome();
    StopPlan counting;
    FileStateStore first = store();
    Uninstaller(paths(), first, [&](const QByteArray &from, const QByteArray &to) {
        counting.point();
        return fileops::renameNoReplace(from, to);
    }).restoreDesksToDesktop();
    const std::map<QString, QByteArray> expected = tree(desktop());
    const int moves = counting.moves;
    ASSERT_EQ(moves, 5); // two pins, Work, Photos and the blank desktop

    int points = 0;
    for (int stopAt = 1; stopAt <= moves + 1; ++stopAt) {
        test::TempHome fresh;
        base = fresh.path();
        pathsOverride = Paths::forHome(base);
        items.clear();
        layOutHome();
        const QByteArray before = configBytes();
        const QString where = QStringLiteral("stopped before move %1").arg(stopAt);

        StopPlan plan{stopAt};
        FileStateStore doc = store();
        try {
            Uninstaller(paths(), doc, [&](const QByteArray &from, const QByteArray &to) {
                plan.point();
                return fileops::renameNoReplace(from, to);
            }).restoreDesksToDesktop();
        } catch (const Stop &) {
        }
        ++points;
        if (configBytes() != before) {
            ++losses;
            ADD_FAILURE() << where.toStdString() << ": the document was written";
        }

        // A fresh start on the same home, then the uninstall again, to the end.
        {
            AppController controller(harnessEnvironment());
            controller.applicationDidFinishLaunching();
            EXPECT_NO_THROW(load()) << where.toStdString();
            const QStringList places = {desktop(), root(), inHome("Documents")};
            checkEveryItemOnce(where, places);
            alerts.answers = {0};
            controller.quitAndUninstall().appMovedToTrash();
            EXPECT_EQ(terminations, 1);
            terminations = 0;
        }
        if (tree(desktop()) != expected) {
            ++losses;
            ADD_FAILURE() << where.toStdString() << ": the Desktop differs from an uninterrupted uninstall";
        }
        checkEveryItemOnce(where + " and finished", {desktop(), root(), inHome("Documents")});
    }
    pathsOverride.reset();
    std::cout << "[ harness  ] uninstall: " << points << " interruption points, " << losses << " losses" << std::endl;
    EXPECT_EQ(losses, 0);
}

TEST_F(Harness, AMoveIntoTheUserInstallStoppedAtAnyStepLeavesEachFileAtOneEnd)
{
    const QString trash = QStandardPaths::writableLocation(QStandardPaths::GenericDataLocation) + "/Trash";
    int points = 0;
    for (int stopAt = 1; stopAt <= 5; ++stopAt) {
        test::TempHome fresh;
        const QString from = fresh.filePath("Downloads/quorvane-1.0");
        const QString to = fresh.filePath(".local");
        const QString exe = "/bin/quorvane";
        const QString entry = "/share/applications/app.quorvane.Quorvane.desktop";
        const QByteArray tag = QByteArray::number(stopAt);
        writeFile(from + exe, "new executable " + tag);
        writeFile(from + entry, "new entry " + tag);
        writeFile(to + exe, "old executable " + tag);
        writeFile(to + entry, "old entry " + tag);

        StopPlan plan{stopAt};
        InstallLocation::Operations operations = InstallLocation::Operations::standard(Paths::forHome(fresh.path()).copyRecords());
        const InstallLocation::Operations standard = InstallLocation::Operations::standard(Paths::forHome(fresh.path()).copyRecords());
        operations.trash = [&](const QString &path) {
            plan.point();
            standard.trash(path);
        };
        operations.move = [&](const QString &a, const QString &b) {
            plan.point();
            return standard.move(a, b);
        };
        bool finished = false;
        try {
            InstallLocation::moveToApplications(AppInfo::installed(from + exe, from + entry), fresh.path(), &loginItem,
                                                operations);
            finished = true;
        } catch (const Stop &) {
        }
        ++points;
        EXPECT_EQ(finished, stopAt == 5);
        // Each file at its source, its destination or (the old ones) in the Trash, once.
        const auto count = [&](const QString &folder, const QByteArray &bytes) {
            int n = 0;
            for (const auto &[path, contents] : tree(folder))
                n += contents == bytes;
            return n;
        };
        for (const QByteArray kind : {"executable ", "entry "}) {
            const int newOnes = count(fresh.path(), "new " + kind + tag);
            const int oldOnes = count(fresh.path(), "old " + kind + tag) + count(trash, "old " + kind + tag);
            if (newOnes != 1 || oldOnes != 1) {
                ++losses;
                ADD_FAILURE() << "stopped at " << stopAt << ": " << kind.constData() << newOnes << " new, " << oldOnes << " old";
            }
        }
        // A fresh start finds the application where it now is.
        const QString running = QFileInfo::exists(to + exe) && readFile(to + exe).startsWith("new") ? to + exe : from + exe;
        EXPECT_TRUE(QFileInfo::exists(running)) << stopAt;
    }
    std::cout << "[ harness  ] relocation: " << points << " interruption points, " << losses << " losses" << std::endl;
    EXPECT_EQ(losses, 0);
}
