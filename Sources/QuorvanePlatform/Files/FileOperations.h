#pragma once

#include <QByteArray>
#include <QString>

#include <cstdint>
#include <optional>
#include <vector>

namespace quorvane {

// Every step the settings model and the archiver take on disk, one call each, so that a test
// can stop or fail either of them at any step. Paths are absolute. Calls that change the disk
// answer 0 or the errno of the failure and never throw; nothing here ever replaces an item.
class FileOperations {
public:
    struct Entry {
        QByteArray name;       // as stored on disk, possibly not UTF-8
        bool isFolder = false; // a real folder (a link to one is not)
    };

    struct TrashResult {
        std::optional<QString> trashedPath; // where the item now lies; none: it was not trashed
        QString reason;                     // why it was not, when it was not
    };

    virtual ~FileOperations() = default;

    // mkdir -p; an existing folder is no error.
    virtual int makeFolders(const QString &path) = 0;
    // Moves an item (a whole folder included) without ever replacing one at `to`.
    virtual int moveItem(const QString &from, const QString &to) = 0;
    virtual int moveItem(const QByteArray &from, const QByteArray &to) = 0;
    // Moves the item to the user's Trash and answers the absolute path it got there. Only a
    // Trash checked before anything moves is used: when none can be had, nothing moves.
    virtual TrashResult moveToTrash(const QString &path) = 0;
    // Copies a regular file with its permissions to `to`, which must not exist yet; the copy
    // appears under `to` only complete, and a failed copy leaves nothing.
    virtual int copyExclusive(const QString &from, const QString &to) = 0;
    // Settles what interrupted copies across file systems left, wherever they copied to, as the
    // records of the application's own store name it: an unfinished copy goes (its source is
    // whole), a placed one has the rest of its source removed. An item merely bearing the name
    // of a copy in progress is never touched.
    virtual int finishInterruptedCopies() = 0;
    // Removes one file, link or empty folder; never a folder's contents.
    virtual int remove(const QString &path) = 0;
    virtual int remove(const QByteArray &path) = 0;
    // Whether anything (a dangling link included) stands at the path.
    virtual bool exists(const QString &path) = 0;
    virtual bool exists(const QByteArray &path) = 0;
    // The folder's entries other than "." and "..", hidden ones included, sorted by bytes.
    virtual int list(const QByteArray &folder, std::vector<Entry> &entries) = 0;
    // The identity of the disk the item is on; none when it cannot be read.
    virtual std::optional<std::uint64_t> volumeId(const QString &path) = 0;
    // The system's text for an errno.
    virtual QString errorText(int code) = 0;
};

} // namespace quorvane
