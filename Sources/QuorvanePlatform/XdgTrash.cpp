#include "XdgTrash.h"

#include "NoReplaceMove.h"

#include <QDateTime>
#include <QDir>
#include <QFile>

#include <algorithm>
#include <cerrno>
#include <optional>

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

namespace quorvane {

namespace {

QString unusable(const QString &why)
{
    return QStringLiteral("the Trash can't be used: ") + why;
}

// A Trash folder (or its `files`/`info`): created private when missing, else it must be a real
// folder (not a link) of this user that the user can write. Empty answer: usable.
QString ensureFolder(const QByteArray &path, const QString &shownAs)
{
    if (::mkdir(path.constData(), 0700) != 0 && errno != EEXIST)
        return QStringLiteral("“%1” can't be created (%2).").arg(shownAs, fileops::errorText(errno));
    struct stat st {};
    if (::lstat(path.constData(), &st) != 0)
        return QStringLiteral("“%1” can't be read (%2).").arg(shownAs, fileops::errorText(errno));
    if (!S_ISDIR(st.st_mode))
        return QStringLiteral("“%1” isn't a folder.").arg(shownAs);
    if (st.st_uid != ::getuid())
        return QStringLiteral("“%1” belongs to another user.").arg(shownAs);
    if (::access(path.constData(), W_OK | X_OK) != 0)
        return QStringLiteral("“%1” can't be written (%2).").arg(shownAs, fileops::errorText(errno));
    return {};
}

QString ensureTrash(const QByteArray &trash, const QString &shownAs)
{
    QString why = ensureFolder(trash, shownAs);
    for (const char *inner : {"files", "info"}) {
        if (why.isEmpty())
            why = ensureFolder(trash + '/' + inner, shownAs + QLatin1Char('/') + QLatin1String(inner));
    }
    return why;
}

std::optional<dev_t> deviceOf(const QByteArray &path)
{
    struct stat st {};
    if (::stat(path.constData(), &st) != 0)
        return std::nullopt;
    return st.st_dev;
}

// The top folder of the file system the item lies on.
QByteArray topOf(const QByteArray &item, dev_t device)
{
    QByteArray top = item;
    for (;;) {
        const qsizetype slash = top.lastIndexOf('/');
        const QByteArray parent = slash <= 0 ? QByteArrayLiteral("/") : top.left(slash);
        const auto parentDevice = deviceOf(parent);
        if (parent == top || !parentDevice || *parentDevice != device)
            return top;
        top = parent;
    }
}

struct Chosen {
    QByteArray trash;
    QByteArray infoPathBase; // what the .trashinfo's Path is relative to; empty: absolute
    QString why;
};

Chosen chooseTrash(const QByteArray &item, const QString &dataHome)
{
    struct stat st {};
    if (::lstat(item.constData(), &st) != 0)
        return {{}, {}, fileops::errorText(errno)};
    const QByteArray home = QFile::encodeName(dataHome);
    if (dataHome.isEmpty() || !QDir::isAbsolutePath(dataHome))
        return {{}, {}, unusable(QStringLiteral("there is no data folder to keep it in."))};
    if (const int code = fileops::makeFolders(home))
        return {{}, {}, unusable(QStringLiteral("“%1” can't be created (%2).").arg(dataHome, fileops::errorText(code)))};
    const QByteArray itemParent = item.left(std::max<qsizetype>(item.lastIndexOf('/'), 1));
    const auto device = deviceOf(itemParent);
    if (!device)
        return {{}, {}, fileops::errorText(errno)};
    if (deviceOf(home) == device) {
        const QByteArray trash = home + "/Trash";
        const QString why = ensureTrash(trash, QFile::decodeName(trash));
        return {why.isEmpty() ? trash : QByteArray(), {}, why.isEmpty() ? QString() : unusable(why)};
    }
    const QByteArray top = topOf(itemParent, *device);
    const QByteArray uid = QByteArray::number(qulonglong(::getuid()));
    // The administrator's shared `.Trash`, when sticky and not a link.
    struct stat shared {};
    const QByteArray sharedTrash = (top == "/" ? QByteArray() : top) + "/.Trash";
    if (::lstat(sharedTrash.constData(), &shared) == 0 && S_ISDIR(shared.st_mode) && (shared.st_mode & S_ISVTX)) {
        const QByteArray trash = sharedTrash + '/' + uid;
        if (ensureTrash(trash, QFile::decodeName(trash)).isEmpty())
            return {trash, top, {}};
    }
    const QByteArray trash = (top == "/" ? QByteArray() : top) + "/.Trash-" + uid;
    const QString why = ensureTrash(trash, QFile::decodeName(trash));
    return {why.isEmpty() ? trash : QByteArray(), top, why.isEmpty() ? QString() : unusable(why)};
}

// The n-th name tried in the Trash: the item's own, then "name 2.ext", "name 3.ext", ...
QByteArray candidate(const QByteArray &name, int n)
{
    if (n == 1)
        return name;
    const qsizetype dot = name.lastIndexOf('.');
    const bool hasExtension = dot > 0 && dot < name.size() - 1;
    const QByteArray stem = hasExtension ? name.left(dot) : name;
    return stem + ' ' + QByteArray::number(n) + (hasExtension ? name.mid(dot) : QByteArray());
}

} // namespace

XdgTrash::XdgTrash(QString dataHome)
    : m_dataHome(std::move(dataHome))
{
}

FileOperations::TrashResult XdgTrash::moveToTrash(const QString &path) const
{
    if (!QDir::isAbsolutePath(path))
        return {std::nullopt, QStringLiteral("Only an absolute path can be moved to the Trash.")};
    const QByteArray item = QFile::encodeName(QDir::cleanPath(path));
    const Chosen chosen = chooseTrash(item, m_dataHome);
    if (chosen.trash.isEmpty())
        return {std::nullopt, chosen.why};

    QByteArray recorded = item;
    if (!chosen.infoPathBase.isEmpty() && chosen.infoPathBase != "/")
        recorded = item.mid(chosen.infoPathBase.size() + 1);
    const QByteArray info = "[Trash Info]\nPath=" + recorded.toPercentEncoding("/")
                            + "\nDeletionDate="
                            + QDateTime::currentDateTime().toString(QStringLiteral("yyyy-MM-ddTHH:mm:ss")).toLatin1() + '\n';
    const QByteArray name = item.mid(item.lastIndexOf('/') + 1);
    for (int n = 1; n < 10000; ++n) {
        const QByteArray trashName = candidate(name, n);
        const QByteArray infoPath = chosen.trash + "/info/" + trashName + ".trashinfo";
        const int fd = ::open(infoPath.constData(), O_WRONLY | O_CREAT | O_EXCL | O_NOFOLLOW | O_CLOEXEC, 0600);
        if (fd < 0) {
            if (errno == EEXIST)
                continue;
            return {std::nullopt, unusable(fileops::errorText(errno))};
        }
        const bool written = ::write(fd, info.constData(), size_t(info.size())) == ssize_t(info.size()) && ::fsync(fd) == 0;
        ::close(fd);
        if (!written) {
            const int code = errno;
            ::unlink(infoPath.constData());
            return {std::nullopt, unusable(fileops::errorText(code ? code : EIO))};
        }
        const QByteArray target = chosen.trash + "/files/" + trashName;
        const int code = fileops::renameNoReplace(item, target);
        if (code == 0)
            return {QFile::decodeName(target), QString()};
        ::unlink(infoPath.constData());
        if (code != EEXIST)
            return {std::nullopt, fileops::errorText(code)};
    }
    return {std::nullopt, unusable(QStringLiteral("it has no free name left."))};
}

} // namespace quorvane
