#include "Files/XdgTrash.h"

#include "NoReplaceMove.h"

#include <QCoreApplication>
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
    return QCoreApplication::translate("XdgTrash", "the Trash can't be used: %1").arg(why);
}

// A Trash folder (or its `files`/`info`): created private when missing, else it must be a real
// folder (not a link) of this user that the user can write. Empty answer: usable.
QString ensureFolder(const QByteArray &path, const QString &shownAs)
{
    if (::mkdir(path.constData(), 0700) != 0 && errno != EEXIST)
        return QCoreApplication::translate("XdgTrash", "“%1” can't be created (%2).").arg(shownAs, fileops::errorText(errno));
    struct stat st {};
    if (::lstat(path.constData(), &st) != 0)
        return QCoreApplication::translate("XdgTrash", "“%1” can't be read (%2).").arg(shownAs, fileops::errorText(errno));
    if (!S_ISDIR(st.st_mode))
        return QCoreApplication::translate("XdgTrash", "“%1” isn't a folder.").arg(shownAs);
    if (st.st_uid != ::getuid())
        return QCoreApplication::translate("XdgTrash", "“%1” belongs to another user.").arg(shownAs);
    if (::access(path.constData(), W_OK | X_OK) != 0)
        return QCoreApplication::translate("XdgTrash", "“%1” can't be written (%2).").arg(shownAs, fileops::errorText(errno));
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

std::optional<dev_t> statDevice(const QByteArray &path)
{
    struct stat st {};
    if (::stat(path.constData(), &st) != 0)
        return std::nullopt;
    return st.st_dev;
}

// The top folder of the file system the item lies on.
QByteArray topOf(const QByteArray &item, dev_t device, const XdgTrash::DeviceOf &deviceOf)
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

// A Trash at the top of a volume, usable only when its files lie on that volume.
QString ensureVolumeTrash(const QByteArray &trash, dev_t device, const XdgTrash::DeviceOf &deviceOf)
{
    const QString shown = QFile::decodeName(trash);
    QString why = ensureTrash(trash, shown);
    if (why.isEmpty() && deviceOf(trash + "/files") != device)
        why = QCoreApplication::translate("XdgTrash", "“%1/files” is a disk of its own.").arg(shown);
    return why;
}

Chosen chooseTrash(const QByteArray &item, const QString &dataHome, const XdgTrash::DeviceOf &deviceOf)
{
    struct stat st {};
    if (::lstat(item.constData(), &st) != 0)
        return {{}, {}, fileops::errorText(errno)};
    const QByteArray home = QFile::encodeName(dataHome);
    if (dataHome.isEmpty() || !QDir::isAbsolutePath(dataHome))
        return {{}, {}, unusable(QCoreApplication::translate("XdgTrash", "there is no data folder to keep it in."))};
    if (const int code = fileops::makeFolders(home))
        return {{}, {}, unusable(QCoreApplication::translate("XdgTrash", "“%1” can't be created (%2).").arg(dataHome, fileops::errorText(code)))};
    const QByteArray itemParent = item.left(std::max<qsizetype>(item.lastIndexOf('/'), 1));
    const auto device = deviceOf(itemParent);
    if (!device)
        return {{}, {}, fileops::errorText(errno)};
    const QString itemName = QFile::decodeName(item.mid(item.lastIndexOf('/') + 1));
    // Set when the home Trash would serve but is a disk of its own (a mount point): the item
    // would have to be copied there, which a Trash never does.
    QString homeTrashElsewhere;
    if (deviceOf(home) == device) {
        const QByteArray trash = home + "/Trash";
        const QString why = ensureTrash(trash, QFile::decodeName(trash));
        if (!why.isEmpty())
            return {{}, {}, unusable(why)};
        if (deviceOf(trash + "/files") == device)
            return {trash, {}, {}};
        homeTrashElsewhere = QFile::decodeName(trash);
    }
    const QByteArray top = topOf(itemParent, *device, deviceOf);
    const QByteArray uid = QByteArray::number(qulonglong(::getuid()));
    // The administrator's shared `.Trash`, when sticky and not a link.
    struct stat shared {};
    const QByteArray sharedTrash = (top == "/" ? QByteArray() : top) + "/.Trash";
    if (::lstat(sharedTrash.constData(), &shared) == 0 && S_ISDIR(shared.st_mode) && (shared.st_mode & S_ISVTX)) {
        const QByteArray trash = sharedTrash + '/' + uid;
        if (ensureVolumeTrash(trash, *device, deviceOf).isEmpty())
            return {trash, top, {}};
    }
    const QByteArray trash = (top == "/" ? QByteArray() : top) + "/.Trash-" + uid;
    const QString why = ensureVolumeTrash(trash, *device, deviceOf);
    if (why.isEmpty())
        return {trash, top, {}};
    if (!homeTrashElsewhere.isEmpty())
        return {{}, {}, unusable(QCoreApplication::translate("XdgTrash", "your Trash (“%1”) is on another disk than “%2”, and that disk has no Trash "
                                                                         "of its own: %3")
                                     .arg(homeTrashElsewhere, itemName, why))};
    return {{}, {}, unusable(why)};
}

// The first bytes of a name, at most `bytes` of them, not cutting a UTF-8 character in two.
QByteArray leadingBytes(const QByteArray &name, qsizetype bytes)
{
    if (name.size() <= bytes)
        return name;
    qsizetype end = std::max<qsizetype>(bytes, 0);
    while (end > 0 && (static_cast<unsigned char>(name[end]) & 0xC0) == 0x80)
        --end;
    return name.left(end);
}

// The n-th name tried in the Trash: the item's own, then "name 2.ext", "name 3.ext", ...; the
// stem shortened so that the record's name still fits the file system.
QByteArray candidate(const QByteArray &name, int n)
{
    const qsizetype dot = name.lastIndexOf('.');
    bool hasExtension = dot > 0 && dot < name.size() - 1;
    const QByteArray suffix = n == 1 ? QByteArray() : ' ' + QByteArray::number(n);
    QByteArray extension = hasExtension ? name.mid(dot) : QByteArray();
    QByteArray stem = hasExtension ? name.left(dot) : name;
    // An extension that leaves no room for a stem is part of the stem.
    if (extension.size() + suffix.size() >= XdgTrash::maximumNameBytes / 2) {
        stem = name;
        extension.clear();
    }
    const qsizetype room = XdgTrash::maximumNameBytes - suffix.size() - extension.size();
    return leadingBytes(stem, room) + suffix + extension;
}

// Why the record of an item could not be written, naming the item and the Trash.
QString recordFailure(const QByteArray &name, const QByteArray &trash, int code)
{
    return QCoreApplication::translate("XdgTrash", "the record of “%1” can't be written in “%2” (%3).")
        .arg(QFile::decodeName(name), QFile::decodeName(trash + "/info"), fileops::errorText(code));
}

} // namespace

XdgTrash::XdgTrash(QString dataHome, DeviceOf deviceOf)
    : m_dataHome(std::move(dataHome))
    , m_deviceOf(deviceOf ? std::move(deviceOf) : DeviceOf(statDevice))
{
}

FileOperations::TrashResult XdgTrash::moveToTrash(const QString &path) const
{
    if (!QDir::isAbsolutePath(path))
        return {std::nullopt, QCoreApplication::translate("XdgTrash", "Only an absolute path can be moved to the Trash.")};
    const QByteArray item = QFile::encodeName(QDir::cleanPath(path));
    const Chosen chosen = chooseTrash(item, m_dataHome, m_deviceOf);
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
            return {std::nullopt, unusable(recordFailure(name, chosen.trash, errno))};
        }
        const bool written = ::write(fd, info.constData(), size_t(info.size())) == ssize_t(info.size()) && ::fsync(fd) == 0;
        ::close(fd);
        if (!written) {
            const int code = errno;
            ::unlink(infoPath.constData());
            return {std::nullopt, unusable(recordFailure(name, chosen.trash, code ? code : EIO))};
        }
        const QByteArray target = chosen.trash + "/files/" + trashName;
        const int code = fileops::renameNoReplace(item, target);
        if (code == 0)
            return {QFile::decodeName(target), QString()};
        ::unlink(infoPath.constData());
        if (code == EXDEV)
            return {std::nullopt, unusable(QCoreApplication::translate("XdgTrash", "it is on another disk than “%1”, and nothing is copied into "
                                                                                   "a Trash.")
                                               .arg(QFile::decodeName(name)))};
        if (code != EEXIST)
            return {std::nullopt, fileops::errorText(code)};
    }
    return {std::nullopt, unusable(QCoreApplication::translate("XdgTrash", "it has no free name left."))};
}

} // namespace quorvane
