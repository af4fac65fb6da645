// Interrupts a dock drop at every point where it changes the disk, as a process death would:
// the drop runs in a child process that ends itself at the chosen point; the parent then looks
// afresh at the Desktop and the target desktop's folder. Items are files and folders (with
// content); where a second file system exists (/dev/shm on another device than the temporary
// folder), a second round drops across file systems. Prints the points covered and the items
// lost (the bar is 0): an item counts as kept when it lies whole on the Desktop or in the
// desktop's folder.
#include "Controller/DropMove.h"

#include <QCoreApplication>
#include <QDir>
#include <QFile>
#include <QTemporaryDir>

#include <sys/stat.h>
#include <sys/wait.h>
#include <unistd.h>

#include <cstdio>
#include <functional>
#include <map>

using namespace quorvane;

namespace {

// Every item as relative path → content ("/" for a folder).
using Tree = std::map<QString, QByteArray>;

void survey(const QString &base, const QString &relative, Tree &tree)
{
    const QDir dir(base + '/' + relative);
    for (const QFileInfo &entry : dir.entryInfoList(QDir::AllEntries | QDir::NoDotAndDotDot | QDir::Hidden, QDir::Name)) {
        const QString path = relative.isEmpty() ? entry.fileName() : relative + '/' + entry.fileName();
        if (entry.isDir()) {
            tree[path] = "/";
            survey(base, path, tree);
        } else {
            QFile file(entry.filePath());
            file.open(QIODevice::ReadOnly);
            tree[path] = file.readAll();
        }
    }
}

void write(const QString &path, const QByteArray &content)
{
    QDir().mkpath(QFileInfo(path).path());
    QFile file(path);
    file.open(QIODevice::WriteOnly);
    file.write(content);
}

// The Desktop's items: two files and two folders, one of them nested.
void layOut(const QString &desktop)
{
    write(desktop + "/notes.txt", QByteArray(4096, 'n'));
    write(desktop + "/photo.jpg", QByteArray(65536, 'p'));
    write(desktop + "/project/readme.md", "read me");
    write(desktop + "/project/src/main.c", QByteArray(8192, 'c'));
    write(desktop + "/empty folder/.keep", "");
}

const QStringList items{"notes.txt", "photo.jpg", "project", "empty folder"};

struct Round {
    int points = 0;
    int lost = 0;
    int runs = 0;
};

// One drop of every item into "Target"; the child dies at point `dieAt` (0: never) and
// reports through its exit status how many points it passed.
int dropInChild(const QString &desktop, const QString &root, int dieAt)
{
    const pid_t child = fork();
    if (child == 0) {
        int passed = 0;
        const auto point = [&] {
            if (++passed == dieAt)
                _exit(100);
        };
        FileSystemSurface files(desktop, root);
        fileops::CopyHooks hooks{point, point};
        for (const QString &name : items) {
            point();
            moveDroppedItem(files, name, "Target", hooks);
        }
        point();
        _exit(passed > 99 ? 99 : passed);
    }
    int status = 0;
    waitpid(child, &status, 0);
    return WIFEXITED(status) ? WEXITSTATUS(status) : -1;
}

Round run(const QString &desktopBase, const QString &rootBase)
{
    Round round;
    // A first uninterrupted run counts the points.
    for (int dieAt = 0;; ++dieAt) {
        const QString desktop = desktopBase + "/Desktop-" + QString::number(dieAt);
        const QString root = rootBase + "/Desktops-" + QString::number(dieAt);
        layOut(desktop);
        QDir().mkpath(root + "/Target");
        Tree before;
        survey(desktop, QString(), before);
        const int code = dropInChild(desktop, root, dieAt);
        if (dieAt == 0)
            round.points = code;
        ++round.runs;
        // Afresh: every item whole on the Desktop or in the folder.
        Tree onDesktop, inFolder;
        survey(desktop, QString(), onDesktop);
        survey(root + "/Target", QString(), inFolder);
        for (const QString &item : items) {
            bool kept = false;
            for (const Tree *where : {&onDesktop, &inFolder}) {
                bool whole = true;
                for (const auto &[path, content] : before) {
                    if (path != item && !path.startsWith(item + '/'))
                        continue;
                    const auto it = where->find(path);
                    whole = whole && it != where->end() && it->second == content;
                }
                kept = kept || whole;
            }
            round.lost += kept ? 0 : 1;
        }
        if (dieAt >= round.points)
            break;
    }
    return round;
}

} // namespace

int main(int argc, char **argv)
{
    QCoreApplication app(argc, argv);
    QTemporaryDir local;
    Round same = run(local.path(), local.path());
    std::printf("drop, one file system: %d interruption points covered (%d runs), %d items lost\n", same.points,
                same.runs, same.lost);
    struct stat a {}, b {};
    if (stat(QFile::encodeName(local.path()).constData(), &a) == 0 && stat("/dev/shm", &b) == 0 && a.st_dev != b.st_dev
        && access("/dev/shm", W_OK) == 0) {
        QTemporaryDir other(QStringLiteral("/dev/shm/quorvane-drop-XXXXXX"));
        Round across = run(local.path() + "/x", other.path());
        std::printf("drop, across file systems: %d interruption points covered (%d runs), %d items lost\n",
                    across.points, across.runs, across.lost);
        return same.lost + across.lost == 0 ? 0 : 1;
    }
    std::printf("drop, across file systems: no second file system here\n");
    return same.lost == 0 ? 0 : 1;
}
