#include "DesktopHosts/LinuxDesktopIconHosts.h"

#include "DesktopHosts/GioMetadataIconHost.h"
#include "DesktopHosts/IconKeyFile.h"
#include "RegularFile.h"
#include "Work/ToolProcess.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QProcess>

namespace quorvane {

namespace {

// A host keeps an entry for every icon it ever placed on that screen: tens of thousands fit.
constexpr qint64 maxStoreBytes = 4 * 1024 * 1024;

// Only xfdesktop's "latest" store is a link by design; the file it leads to is checked all the
// same. Every other store is read only where it lies.
RegularFile::Links linksOf(const QString &path)
{
    return QFileInfo(path).fileName() == QLatin1String("icons.screen.latest.rc") ? RegularFile::Links::followed
                                                                                 : RegularFile::Links::refused;
}

// The whole text of a store, or IconStoreError: a store that is missing, unreadable, larger than
// a store grows, or not a regular file (a FIFO, a device) is not served.
QString readStore(const QString &path)
{
    if (path.isEmpty())
        throw IconStoreError(QStringLiteral("no position store"));
    const RegularFile::Content content = RegularFile::read(path, maxStoreBytes, linksOf(path));
    if (content.missing())
        throw IconStoreError(QStringLiteral("no position store at ") + path);
    if (!content.bytes)
        throw IconStoreError(content.reason);
    return QString::fromUtf8(*content.bytes);
}

// Replaces the store in one step (the file a "latest" link leads to, never through the link),
// keeping the host's other settings; only when the text changed.
bool replaceStore(const QString &path, const QString &before, const QString &after)
{
    if (before == after)
        return false;
    const QFileInfo info(path);
    const QString target = info.isSymLink() && linksOf(path) == RegularFile::Links::followed ? info.canonicalFilePath() : path;
    if (target.isEmpty())
        throw IconStoreError(path + QStringLiteral(": the link leads nowhere"));
    if (const auto failure = RegularFile::write(target, after.toUtf8()))
        throw IconStoreError(*failure);
    return true;
}

// The edited text of a key-file store: `set` written with the two keys, `forget` removed.
QString edited(IconKeyFile &keys, const std::function<QString(const QString &)> &group, const QString &xKey,
               const QString &yKey, const IconPositions &set, const QStringList &forget)
{
    for (const QString &name : forget) {
        if (keys.canHold(group(name)))
            keys.removeGroup(group(name));
    }
    for (const auto &[name, position] : set) {
        if (keys.canHold(group(name)))
            keys.setIntegers(group(name), {{xKey, position.x}, {yKey, position.y}});
    }
    return keys.text();
}

IconPositions entries(const IconKeyFile &keys, const std::function<QString(const QString &)> &group, const QString &xKey,
                      const QString &yKey, const QStringList &names)
{
    IconPositions out;
    for (const QString &name : names) {
        const QString at = group(name);
        if (!keys.canHold(at))
            continue;
        const auto x = keys.integer(at, xKey);
        const auto y = keys.integer(at, yKey);
        if (x && y)
            out.insert_or_assign(name, IconPosition{*x, *y});
    }
    return out;
}

const QString xfdesktopFormat = QStringLiteral("xfdesktop-version-4.10.3+-rcfile_format");

} // namespace

// xfdesktop

XfdesktopIconHost::XfdesktopIconHost(const QString &configHome, const QString &desktopFolder)
    : m_configHome(configHome)
    , m_desktop(QDir::cleanPath(desktopFolder))
{
}

QString XfdesktopIconHost::storeFile() const
{
    const QString folder = m_configHome + QStringLiteral("/xfce4/desktop/");
    const QFileInfo latest(folder + QStringLiteral("icons.screen.latest.rc"));
    if (latest.isSymLink() && QFileInfo::exists(latest.symLinkTarget()))
        return latest.filePath();
    // Without the link, the screen's file written last.
    const QFileInfoList files = QDir(folder).entryInfoList({QStringLiteral("icons.screen0-*.rc")}, QDir::Files, QDir::Time);
    return files.isEmpty() ? QString() : files.first().filePath();
}

namespace {

void requireXfdesktopFormat(const IconKeyFile &keys, const QString &path)
{
    // Older stores are keyed by bare names, which no longer say which folder an item lies in.
    if (keys.firstGroup() != xfdesktopFormat)
        throw IconStoreError(path + QStringLiteral(": not a store format this application knows"));
}

} // namespace

IconPositions XfdesktopIconHost::read(const QStringList &names)
{
    const QString path = storeFile();
    IconKeyFile keys(false);
    keys.parse(readStore(path));
    requireXfdesktopFormat(keys, path);
    return entries(
        keys, [this](const QString &name) { return m_desktop + QLatin1Char('/') + name; },
        QStringLiteral("col"), QStringLiteral("row"), names);
}

bool XfdesktopIconHost::write(const IconPositions &set, const QStringList &forget)
{
    if (set.empty() && forget.isEmpty())
        return false;
    const QString path = storeFile();
    const QString before = readStore(path);
    IconKeyFile keys(false);
    keys.parse(before);
    requireXfdesktopFormat(keys, path);
    const QString after = edited(
        keys, [this](const QString &name) { return m_desktop + QLatin1Char('/') + name; },
        QStringLiteral("col"), QStringLiteral("row"), set, forget);
    return replaceStore(path, before, after);
}

// pcmanfm

PcmanfmIconHost::PcmanfmIconHost(const QString &configHome, DesktopHostProcess process)
    : m_configHome(configHome)
    , m_process(std::move(process))
{
}

QString PcmanfmIconHost::storeFile() const
{
    return m_configHome + QStringLiteral("/pcmanfm/") + m_process.profile + QStringLiteral("/desktop-items-0.conf");
}

namespace {

QString sameName(const QString &name)
{
    return name;
}

} // namespace

IconPositions PcmanfmIconHost::read(const QStringList &names)
{
    IconKeyFile keys(true);
    keys.parse(readStore(storeFile()));
    return entries(keys, sameName, QStringLiteral("x"), QStringLiteral("y"), names);
}

bool PcmanfmIconHost::write(const IconPositions &set, const QStringList &forget)
{
    if (set.empty() && forget.isEmpty())
        return false;
    const QString before = readStore(storeFile());
    IconKeyFile keys(true);
    keys.parse(before);
    return replaceStore(storeFile(), before, edited(keys, sameName, QStringLiteral("x"), QStringLiteral("y"), set, forget));
}

bool PcmanfmIconHost::writeAndReload(const IconPositions &set, const QStringList &forget)
{
    // Entries to forget change nothing on the screen: an arriving item without one is laid
    // out by the desktop anyway. Entries to set are drawn only by a desktop that starts, even
    // when the file already holds them (the desktop lays arriving items out by itself).
    if (set.empty())
        return write(set, forget);
    readStore(storeFile()); // a store that cannot be served leaves the desktop undisturbed
    const QString profile = QStringLiteral("--profile=") + m_process.profile;
    const ToolResult off = runTool(QStringLiteral("pcmanfm"), {profile, QStringLiteral("--desktop-off")});
    if (!off.ok)
        throw IconStoreError(QStringLiteral("pcmanfm --desktop-off: ") + off.error);
    // The process saves its icons and ends, unless windows of its own keep it.
    const bool ended = waitForProcessEnd(m_process.pid, 1500);
    bool changed = false;
    QString failure;
    try {
        changed = write(set, forget);
    } catch (const IconStoreError &error) {
        failure = QString::fromStdString(error.what());
    }
    // The desktop comes back whatever the write did: started as it was, or, in a process that
    // stays for windows of its own, turned on again (a command it passes to that process). Not
    // a child of ours: it outlives this application.
    QProcess start;
    QStringList arguments;
    if (!ended || m_process.arguments.isEmpty()) {
        start.setProgram(QStringLiteral("pcmanfm"));
        arguments = {profile, QStringLiteral("--desktop")};
    } else {
        start.setProgram(QString::fromLocal8Bit(m_process.arguments.first()));
        for (qsizetype i = 1; i < m_process.arguments.size(); ++i)
            arguments << QString::fromLocal8Bit(m_process.arguments[i]);
    }
    start.setArguments(arguments);
    start.setWorkingDirectory(QDir::homePath());
    start.setStandardInputFile(QProcess::nullDevice());
    start.setStandardOutputFile(QProcess::nullDevice());
    start.setStandardErrorFile(QProcess::nullDevice());
    qint64 pid = 0;
    if (!start.startDetached(&pid))
        throw IconStoreError(QStringLiteral("pcmanfm's desktop could not be started again"));
    // A desktop started anew is the host from now on, followed without a look for it.
    if (ended && pid > 0) {
        QByteArrayList command{QFile::encodeName(start.program())};
        for (const QString &argument : arguments)
            command.append(argument.toLocal8Bit());
        followDesktopHost(DesktopHostProcess{QStringLiteral("pcmanfm"), m_process.profile, pid, command});
    }
    if (!failure.isEmpty())
        throw IconStoreError(failure);
    return changed;
}

std::shared_ptr<DesktopIconHost> findDesktopIconHost(const QString &desktopFolder)
{
    const auto process = runningDesktopHost();
    if (!process)
        return nullptr;
    if (process->name == QLatin1String("xfdesktop"))
        return std::make_shared<XfdesktopIconHost>(configHome(), desktopFolder);
    if (process->name == QLatin1String("pcmanfm"))
        return std::make_shared<PcmanfmIconHost>(configHome(), *process);
    if (process->name == QLatin1String("nemo-desktop"))
        return std::make_shared<GioMetadataIconHost>(QStringLiteral("nemo"), QStringLiteral("nemo-icon-position"), desktopFolder);
    if (process->name == QLatin1String("caja"))
        return std::make_shared<GioMetadataIconHost>(QStringLiteral("caja"), QStringLiteral("caja-icon-position"), desktopFolder);
    // The desktop-icons extension keeps the key of the file manager it was written beside.
    return std::make_shared<GioMetadataIconHost>(QStringLiteral("ding"), QStringLiteral("nautilus-icon-position"), desktopFolder);
}

} // namespace quorvane
