#pragma once

// The real file operations on a test's temporary folders, with a hook before every call and
// scripted failures: a test can make any one step fail, or stop the caller there as a dying
// process would.
#include "Files/LinuxFileOperations.h"
#include "NoReplaceMove.h"

#include <QFile>

#include <QString>
#include <QStringList>

#include <cerrno>
#include <functional>

namespace quorvane::test {

class FakeFileOperations final : public FileOperations {
public:
    // Copies across file systems are recorded in `copyRecords` (Paths::copyRecords of the test's home).
    explicit FakeFileOperations(const QString &copyRecords)
        : m_real(copyRecords)
        , m_records(QFile::encodeName(copyRecords))
    {
    }

    // Runs before every call with the call's name and first path; may throw to stop the caller.
    std::function<void(const QString &step, const QString &path)> beforeStep;
    // Answers the errno a changing call fails with (0: it runs); none: every call runs.
    std::function<int(const QString &step, const QString &path)> failure;
    // Overrides the disk of a path; none: the real one.
    std::function<std::optional<std::optional<std::uint64_t>>(const QString &path)> volume;
    QStringList steps; // every call, "name path"
    // When set, a move across file systems copies through these hooks (a harness stops it there).
    std::optional<fileops::CopyHooks> copyHooks;

    int makeFolders(const QString &path) override
    {
        return changing("makeFolders", path, [&] { return real().makeFolders(path); });
    }
    int moveItem(const QString &from, const QString &to) override
    {
        return moveItem(QFile::encodeName(from), QFile::encodeName(to));
    }
    int moveItem(const QByteArray &from, const QByteArray &to) override
    {
        return changing("moveItem", QString::fromUtf8(from), [&] {
            if (!copyHooks)
                return real().moveItem(from, to);
            const int code = fileops::renameNoReplace(from, to);
            return code == EXDEV ? fileops::copyThenRemove(from, to, m_records, *copyHooks) : code;
        });
    }
    TrashResult moveToTrash(const QString &path) override
    {
        step("moveToTrash", path);
        if (const int code = failed("moveToTrash", path))
            return {std::nullopt, real().errorText(code)};
        return real().moveToTrash(path);
    }
    int copyExclusive(const QString &from, const QString &to) override
    {
        return changing("copyExclusive", to, [&] { return real().copyExclusive(from, to); });
    }
    int finishInterruptedCopies() override
    {
        return changing("finishInterruptedCopies", QFile::decodeName(m_records), [&] { return real().finishInterruptedCopies(); });
    }
    int remove(const QString &path) override
    {
        return changing("remove", path, [&] { return real().remove(path); });
    }
    int remove(const QByteArray &path) override
    {
        return changing("remove", QString::fromUtf8(path), [&] { return real().remove(path); });
    }
    bool exists(const QString &path) override
    {
        step("exists", path);
        return real().exists(path);
    }
    bool exists(const QByteArray &path) override
    {
        step("exists", QString::fromUtf8(path));
        return real().exists(path);
    }
    int list(const QByteArray &folder, std::vector<Entry> &entries) override
    {
        step("list", QString::fromUtf8(folder));
        if (const int code = failed("list", QString::fromUtf8(folder)))
            return code;
        return real().list(folder, entries);
    }
    std::optional<std::uint64_t> volumeId(const QString &path) override
    {
        step("volumeId", path);
        if (volume) {
            if (const auto scripted = volume(path))
                return *scripted;
        }
        return real().volumeId(path);
    }
    QString errorText(int code) override { return real().errorText(code); }

private:
    LinuxFileOperations &real() { return m_real; }
    LinuxFileOperations m_real;
    QByteArray m_records;
    void step(const char *name, const QString &path)
    {
        steps.append(QString::fromLatin1(name) + QLatin1Char(' ') + path);
        if (beforeStep)
            beforeStep(QString::fromLatin1(name), path);
    }
    int failed(const char *name, const QString &path) const { return failure ? failure(QString::fromLatin1(name), path) : 0; }
    template <typename Run>
    int changing(const char *name, const QString &path, Run run)
    {
        step(name, path);
        if (const int code = failed(name, path))
            return code;
        return run();
    }
};

} // namespace quorvane::test
