#pragma once

#include "Files/FileOperations.h"

namespace quorvane {

// The operations on the real file system: non-replacing renames (with an explicit, exclusive
// copy-then-remove across file systems, recorded in `copyRecords`, a folder of the application's
// store: Paths::copyRecords), the XDG Trash, stat for the disk.
class LinuxFileOperations final : public FileOperations {
public:
    explicit LinuxFileOperations(const QString &copyRecords);

    int makeFolders(const QString &path) override;
    int moveItem(const QString &from, const QString &to) override;
    int moveItem(const QByteArray &from, const QByteArray &to) override;
    TrashResult moveToTrash(const QString &path) override;
    int copyExclusive(const QString &from, const QString &to) override;
    int finishInterruptedCopies() override;
    int remove(const QString &path) override;
    int remove(const QByteArray &path) override;
    bool exists(const QString &path) override;
    bool exists(const QByteArray &path) override;
    int list(const QByteArray &folder, std::vector<Entry> &entries) override;
    std::optional<std::uint64_t> volumeId(const QString &path) override;
    QString errorText(int code) override;

private:
    QByteArray m_records;
};

} // namespace quorvane
