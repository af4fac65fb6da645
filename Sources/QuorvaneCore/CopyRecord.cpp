#include "CopyRecord.h"

#include "NoReplaceMove.h"

#include <QList>
#include <QRandomGenerator>

#include <cerrno>
#include <cstring>

#include <dirent.h>
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

namespace quorvane::fileops {

const char copyMarkerName[] = "token";

namespace {

constexpr char header[] = "quorvane copy record 1";
constexpr char hiddenPrefix[] = ".quorvane-copy-";
constexpr char pendingSuffix[] = ".new";
// Two paths of at most PATH_MAX bytes, percent-encoded, and a little more.
constexpr qsizetype largestRecord = 64 * 1024;
constexpr qsizetype tokenLength = 16;

bool isToken(const QByteArray &name)
{
    if (name.size() != tokenLength)
        return false;
    for (const char c : name) {
        if (!((c >= '0' && c <= '9') || (c >= 'a' && c <= 'f')))
            return false;
    }
    return true;
}

QByteArray parentOf(const QByteArray &path)
{
    const qsizetype slash = path.lastIndexOf('/');
    return slash <= 0 ? QByteArrayLiteral("/") : path.left(slash);
}

QByteArray encodeId(const CopyRecord::FileId &id)
{
    return QByteArray::number(qulonglong(id.device)) + ':' + QByteArray::number(qulonglong(id.inode));
}

std::optional<CopyRecord::FileId> decodeId(const QByteArray &text)
{
    const QList<QByteArray> parts = text.split(':');
    if (parts.size() != 2)
        return std::nullopt;
    bool deviceOk = false;
    bool inodeOk = false;
    CopyRecord::FileId id{dev_t(parts[0].toULongLong(&deviceOk)), ino_t(parts[1].toULongLong(&inodeOk))};
    if (!deviceOk || !inodeOk)
        return std::nullopt;
    return id;
}

// The records folder, created when missing; it must be a real folder (never a link). An open
// descriptor, or -1 with errno set.
int openFolder(const QByteArray &folder, bool create)
{
    if (create) {
        if (const int code = makeFolders(folder)) {
            errno = code;
            return -1;
        }
    }
    return ::open(folder.constData(), O_RDONLY | O_DIRECTORY | O_NOFOLLOW | O_CLOEXEC);
}

// Reads a record file: a regular file of bounded size, opened without following a link and
// without waiting on anything that is not a file. 0 or errno.
int readRecordFile(int folder, const char *name, QByteArray &content)
{
    const int fd = ::openat(folder, name, O_RDONLY | O_NOFOLLOW | O_NONBLOCK | O_CLOEXEC);
    if (fd < 0)
        return errno;
    struct stat st {};
    int code = ::fstat(fd, &st) == 0 ? 0 : errno;
    if (code == 0 && (!S_ISREG(st.st_mode) || st.st_size > largestRecord))
        code = EINVAL;
    content.clear();
    char buffer[4096];
    while (code == 0) {
        const ssize_t n = ::read(fd, buffer, sizeof buffer);
        if (n < 0 && errno == EINTR)
            continue;
        if (n < 0)
            code = errno;
        if (n <= 0)
            break;
        content.append(buffer, n);
        if (content.size() > largestRecord)
            code = EINVAL;
    }
    ::close(fd);
    return code;
}

} // namespace

CopyRecord CopyRecord::start(Kind kind, const QByteArray &source, const QByteArray &target)
{
    CopyRecord record;
    record.kind = kind;
    const quint64 random = QRandomGenerator::system()->generate64();
    record.token = QByteArray::number(random, 16).rightJustified(tokenLength, '0');
    record.source = source;
    record.target = target;
    // The name must stay within NAME_MAX; the full name is in the record.
    const QByteArray name = target.mid(target.lastIndexOf('/') + 1).left(180);
    record.temporary = parentOf(target) + '/' + hiddenPrefix + record.token + '-' + name;
    return record;
}

QByteArray CopyRecord::encode() const
{
    QByteArray out = QByteArray(header) + '\n';
    const auto line = [&](const char *key, const QByteArray &value) { out += QByteArray(key) + ' ' + value + '\n'; };
    line("kind", kind == Kind::move ? "move" : "copy");
    line("phase", phase == Phase::copying ? "copying" : "placing");
    line("token", token);
    line("source", source.toPercentEncoding("/"));
    line("target", target.toPercentEncoding("/"));
    line("temporary", temporary.toPercentEncoding("/"));
    line("source-id", encodeId(sourceId));
    if (made)
        line("made", encodeId(*made));
    if (placed)
        line("placed", encodeId(*placed));
    return out;
}

std::optional<CopyRecord> CopyRecord::decode(const QByteArray &bytes)
{
    QList<QByteArray> lines = bytes.split('\n');
    if (lines.isEmpty() || lines.takeFirst() != header)
        return std::nullopt;
    CopyRecord record;
    bool kind = false, phase = false, sourceId = false;
    for (const QByteArray &line : lines) {
        if (line.isEmpty())
            continue;
        const qsizetype space = line.indexOf(' ');
        if (space <= 0)
            return std::nullopt;
        const QByteArray key = line.left(space);
        const QByteArray value = line.mid(space + 1);
        if (key == "kind" && (value == "move" || value == "copy")) {
            record.kind = value == "move" ? Kind::move : Kind::copy;
            kind = true;
        } else if (key == "phase" && (value == "copying" || value == "placing")) {
            record.phase = value == "copying" ? Phase::copying : Phase::placing;
            phase = true;
        } else if (key == "token") {
            record.token = value;
        } else if (key == "source") {
            record.source = QByteArray::fromPercentEncoding(value);
        } else if (key == "target") {
            record.target = QByteArray::fromPercentEncoding(value);
        } else if (key == "temporary") {
            record.temporary = QByteArray::fromPercentEncoding(value);
        } else if (key == "source-id" || key == "made" || key == "placed") {
            const auto id = decodeId(value);
            if (!id)
                return std::nullopt;
            if (key == "source-id") {
                record.sourceId = *id;
                sourceId = true;
            } else {
                (key == "made" ? record.made : record.placed) = *id;
            }
        } else {
            return std::nullopt;
        }
    }
    const auto absolute = [](const QByteArray &path) {
        return path.startsWith('/') && !path.contains('\0') && !path.endsWith('/');
    };
    if (!kind || !phase || !sourceId || !isToken(record.token) || !absolute(record.source)
        || !absolute(record.target) || !absolute(record.temporary))
        return std::nullopt;
    // The hidden folder is the one this record's own copy made: beside the target, under the token.
    if (parentOf(record.temporary) != parentOf(record.target)
        || !record.temporary.mid(record.temporary.lastIndexOf('/') + 1).startsWith(hiddenPrefix + record.token + '-'))
        return std::nullopt;
    return record;
}

int saveCopyRecord(const QByteArray &folder, const CopyRecord &record)
{
    const int dir = openFolder(folder, true);
    if (dir < 0)
        return errno;
    const QByteArray pending = record.token + pendingSuffix;
    ::unlinkat(dir, pending.constData(), 0);
    const QByteArray encoded = record.encode();
    const int fd = ::openat(dir, pending.constData(), O_WRONLY | O_CREAT | O_EXCL | O_NOFOLLOW | O_CLOEXEC, 0600);
    int code = fd < 0 ? errno : writeAll(fd, encoded.constData(), encoded.size());
    if (code == 0 && ::fsync(fd) != 0)
        code = errno;
    if (fd >= 0 && ::close(fd) != 0 && code == 0)
        code = errno;
    // The new record replaces the earlier one of the same copy in one step.
    if (code == 0 && ::renameat(dir, pending.constData(), dir, record.token.constData()) != 0)
        code = errno;
    if (code == 0 && ::fsync(dir) != 0 && errno != EINVAL)
        code = errno;
    if (code != 0)
        ::unlinkat(dir, pending.constData(), 0);
    ::close(dir);
    return code;
}

int removeCopyRecord(const QByteArray &folder, const QByteArray &token)
{
    if (!isToken(token))
        return EINVAL;
    const int dir = openFolder(folder, false);
    if (dir < 0)
        return errno == ENOENT ? 0 : errno;
    int code = ::unlinkat(dir, token.constData(), 0) == 0 || errno == ENOENT ? 0 : errno;
    if (code == 0 && ::fsync(dir) != 0 && errno != EINVAL)
        code = errno;
    ::close(dir);
    return code;
}

int loadCopyRecords(const QByteArray &folder, std::vector<CopyRecord> &records)
{
    records.clear();
    const int dir = openFolder(folder, false);
    if (dir < 0)
        return errno == ENOENT ? 0 : errno;
    std::vector<QByteArray> names;
    int code = listEntries(folder, names);
    for (const QByteArray &name : names) {
        if (name.endsWith(pendingSuffix) && isToken(name.chopped(qsizetype(std::strlen(pendingSuffix))))) {
            ::unlinkat(dir, name.constData(), 0);
            continue;
        }
        if (!isToken(name))
            continue;
        QByteArray content;
        const int read = readRecordFile(dir, name.constData(), content);
        const auto record = read == 0 ? CopyRecord::decode(content) : std::nullopt;
        if (record && record->token == name) {
            records.push_back(*record);
        } else if (read == 0 || read == EINVAL || read == ELOOP) {
            ::unlinkat(dir, name.constData(), 0);
        } else if (code == 0) {
            code = read;
        }
    }
    ::close(dir);
    return code;
}

} // namespace quorvane::fileops
