#include "FileStateStore.h"

#include "IoError.h"
#include "JsonCoding.h"
#include "NoReplaceMove.h"
#include "RegularFile.h"
#include "StoreError.h"

#include <QFile>
#include <QFileInfo>
#include <QJsonDocument>
#include <QJsonParseError>

#include <algorithm>
#include <cerrno>
#include <ctime>
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

namespace quorvane {

namespace {

// The document and the journal hold a few thousand records at most; a file far past that is
// none of this store's.
constexpr qint64 maxStoreBytes = 64 * 1024 * 1024;

// The whole file, or none when it does not exist. Every other failure is thrown: a FIFO, a
// device or a folder in the file's place, or a file past the bound, is never read. A linked
// document is read where its link leads.
std::optional<QByteArray> readWhole(const QString &path)
{
    RegularFile::Content content = RegularFile::read(path, maxStoreBytes, RegularFile::Links::followed);
    if (content.missing())
        return std::nullopt;
    if (!content.bytes)
        throw IoError(content.error, QStringLiteral("cannot read %1").arg(path));
    return std::move(content.bytes);
}

QJsonObject parseObject(const QByteArray &bytes, const char *what)
{
    QJsonParseError error{};
    const QJsonDocument doc = QJsonDocument::fromJson(bytes, &error);
    if (error.error != QJsonParseError::NoError)
        throw DecodeError(QStringLiteral("The data couldn’t be read because it isn’t in the correct format (%1: %2).")
                              .arg(QLatin1StringView(what), error.errorString()));
    if (!doc.isObject())
        throw DecodeError(QStringLiteral("Expected to decode Dictionary but found another type (%1).").arg(QLatin1StringView(what)));
    return doc.object();
}

void writeAll(int fd, const QByteArray &bytes, const QString &path)
{
    qsizetype done = 0;
    while (done < bytes.size()) {
        const ssize_t n = ::write(fd, bytes.constData() + done, size_t(bytes.size() - done));
        if (n < 0) {
            if (errno == EINTR)
                continue;
            throw IoError(errno, QStringLiteral("cannot write %1").arg(path));
        }
        done += n;
    }
}

} // namespace

FileStateStore::FileStateStore(const QString &configPath, const QString &journalPath)
    : m_configPath(configPath)
    , m_journalPath(journalPath)
{
}

bool FileStateStore::FileIdentity::operator==(const FileIdentity &other) const
{
    return device == other.device && inode == other.inode && size == other.size
        && modified.tv_sec == other.modified.tv_sec && modified.tv_nsec == other.modified.tv_nsec
        && changed.tv_sec == other.changed.tv_sec && changed.tv_nsec == other.changed.tv_nsec;
}

std::optional<FileStateStore::FileIdentity> FileStateStore::identify(const QString &path)
{
    struct stat st {};
    if (::stat(QFile::encodeName(path).constData(), &st) != 0 || !S_ISREG(st.st_mode))
        return std::nullopt;
    return FileIdentity{st.st_dev, st.st_ino, st.st_size, st.st_mtim, st.st_ctim};
}

namespace {

constexpr long long settledNs = 100'000'000; // well past the file system's timestamp granularity

long long nanoseconds(const timespec &t)
{
    return static_cast<long long>(t.tv_sec) * 1'000'000'000LL + t.tv_nsec;
}

// When the file last changed: its status change time, which every write moves on and no
// writer can set back, unless its modification time is later still.
long long lastChange(const timespec &modified, const timespec &changed)
{
    return std::max(nanoseconds(modified), nanoseconds(changed));
}

timespec now()
{
    timespec t{};
    ::clock_gettime(CLOCK_REALTIME, &t);
    return t;
}

} // namespace

void FileStateStore::keep(const Config &config, const QByteArray &bytes, const FileIdentity &identity,
                          const timespec &identifiedAt)
{
    m_kept = config;
    m_keptBytes = bytes;
    m_keptIdentity = identity;
    m_keptAt = identifiedAt;
    m_keptWritten = false;
}

Config FileStateStore::loadConfig()
{
    // Identified before it is read: a file replaced in between is kept under the old identity,
    // so the next load reads it again rather than trusting it.
    const timespec identifiedAt = now();
    const auto identity = identify(m_configPath);
    const bool same = identity && m_kept && *identity == m_keptIdentity;
    if (same && (m_keptWritten || nanoseconds(m_keptAt) - lastChange(identity->modified, identity->changed) > settledNs))
        return *m_kept;
    const auto bytes = readWhole(m_configPath);
    if (!bytes) {
        m_kept.reset();
        return Config::defaultDocument();
    }
    ++m_configReads;
    if (same && *bytes == m_keptBytes) {
        m_keptAt = identifiedAt; // unchanged since then: trusted once its times have settled
        return *m_kept;
    }
    m_kept.reset();
    ++m_configDecodes;
    Config config = Config::fromJson(parseObject(*bytes, "config.json"));
    if (identity)
        keep(config, *bytes, *identity, identifiedAt);
    return config;
}

void FileStateStore::saveConfig(const Config &config)
{
    if (m_retired)
        throw IoError(EROFS, QStringLiteral("the document was set aside by the uninstall; not writing %1").arg(m_configPath));
    if (config.schemaVersion > Config::currentSchemaVersion)
        throw StoreError::configNewerThanApp(config.schemaVersion);
    Config copy = config;
    copy.schemaVersion = Config::currentSchemaVersion;
    const QJsonObject written = copy.toJson();
    const QByteArray bytes = QJsonDocument(written).toJson(QJsonDocument::Compact);
    m_kept.reset();
    atomicWrite(m_configPath, bytes);
    // What a load would read back: the document as it decodes from what was written.
    const timespec identifiedAt = now();
    if (const auto identity = identify(m_configPath)) {
        keep(Config::fromJson(written), bytes, *identity, identifiedAt);
        // This store put that file in place: the file is ours until its identity changes.
        m_keptWritten = true;
    }
}

std::optional<Journal> FileStateStore::loadJournal()
{
    // Only a missing journal is no journal: one that exists but cannot be read still names a
    // switch in progress, and the next switch must not start as if there were none.
    const auto bytes = readWhole(m_journalPath);
    if (!bytes || bytes->isEmpty())
        return std::nullopt;
    return Journal::fromJson(parseObject(*bytes, "journal.json"));
}

void FileStateStore::saveJournal(const std::optional<Journal> &journal)
{
    if (journal) {
        if (m_retired)
            throw IoError(EROFS, QStringLiteral("the document was set aside by the uninstall; not writing %1").arg(m_journalPath));
        atomicWrite(m_journalPath, QJsonDocument(journal->toJson()).toJson(QJsonDocument::Compact));
        return;
    }
    // A journal that stays would keep the system busy forever: only its absence is fine.
    if (::unlink(QFile::encodeName(m_journalPath).constData()) != 0 && errno != ENOENT && errno != ENOTDIR)
        throw IoError(errno, QStringLiteral("cannot remove %1").arg(m_journalPath));
}

namespace {

// "config.json" set aside as "config.uninstalled-<stamp>.json", the n-th try with "-n" added.
QString retiredPath(const QString &path, const QString &stamp, int n)
{
    const QFileInfo info(path);
    QString name = info.completeBaseName() + QStringLiteral(".uninstalled-") + stamp;
    if (n > 1)
        name += QLatin1Char('-') + QString::number(n);
    return info.path() + QLatin1Char('/') + name + QLatin1Char('.') + info.suffix();
}

} // namespace

QStringList FileStateStore::retire(const QDateTime &when)
{
    // From here on nothing writes a document or a journal, not even a save racing the quit.
    m_retired = true;
    m_kept.reset();
    const QString stamp = when.toUTC().toString(QStringLiteral("yyyy-MM-dd-HHmmss"));
    QStringList retired;
    // The journal first: a switch record outliving its document would be replayed against the
    // fresh one the next start makes.
    for (const QString &path : {m_journalPath, m_configPath}) {
        const QByteArray from = QFile::encodeName(path);
        if (!fileops::exists(from))
            continue;
        int code = EEXIST;
        QString to;
        for (int n = 1; code == EEXIST && n < 1000; ++n) {
            to = retiredPath(path, stamp, n);
            code = fileops::renameNoReplace(from, QFile::encodeName(to));
        }
        if (code != 0)
            throw IoError(code, QStringLiteral("cannot set %1 aside").arg(path));
        retired << QFileInfo(to).fileName();
    }
    return retired;
}

namespace {

// The file a write at the path lands in: a symbolic link is followed (to its target, even one
// that does not exist yet), so the link itself stays a link.
QString writeTarget(const QString &path)
{
    QString current = path;
    for (int hops = 0; hops < 40; ++hops) {
        const QFileInfo info(current);
        if (!info.isSymLink())
            return current;
        const QString link = info.symLinkTarget();
        if (link.isEmpty())
            return current;
        current = link;
    }
    return current;
}

} // namespace

void FileStateStore::atomicWrite(const QString &linkOrPath, const QByteArray &bytes)
{
    const QString path = writeTarget(linkOrPath);
    const QFileInfo info(path);
    const QByteArray folder = QFile::encodeName(info.absolutePath());
    QByteArray temp = folder + "/." + QFile::encodeName(info.fileName()) + ".XXXXXX";
    const int fd = ::mkstemp(temp.data());
    if (fd < 0)
        throw IoError(errno, QStringLiteral("cannot write %1").arg(path));
    bool closed = false;
    try {
        ::fchmod(fd, 0644);
        writeAll(fd, bytes, path);
        // A file that did not reach the device does not replace the document.
        if (::fsync(fd) != 0)
            throw IoError(errno, QStringLiteral("cannot flush %1").arg(path));
        closed = true;
        if (::close(fd) != 0)
            throw IoError(errno, QStringLiteral("cannot write %1").arg(path));
    } catch (...) {
        if (!closed)
            ::close(fd);
        ::unlink(temp.constData());
        throw;
    }
    if (::rename(temp.constData(), QFile::encodeName(path).constData()) != 0) {
        const int err = errno;
        ::unlink(temp.constData());
        throw IoError(err, QStringLiteral("cannot replace %1").arg(path));
    }
    // The rename reaches the device with the folder; the new file is already whole.
    const int dirFd = ::open(folder.constData(), O_RDONLY | O_DIRECTORY | O_CLOEXEC);
    if (dirFd >= 0) {
        ::fsync(dirFd);
        ::close(dirFd);
    }
}

} // namespace quorvane
