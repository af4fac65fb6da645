#pragma once

#include <QByteArray>

#include <optional>
#include <vector>

#include <sys/types.h>

namespace quorvane::fileops {

// The record of one copy across file systems, kept in a folder of the application's own store
// from before the copy starts until it is done or settled. It names what is copied where and
// through which hidden folder, and notes what that folder and the finished copy are on disk, so
// that settling an interrupted copy removes or finishes only what the copy itself made.
struct CopyRecord {
    // A move removes its source once the copy is in place; a copy leaves it.
    enum class Kind {
        move,
        copy
    };
    // copying: the copy is not complete yet, so it is undone. placing: it is complete and
    // checked and takes (or took) its final name, so a move is finished.
    enum class Phase {
        copying,
        placing
    };

    struct FileId {
        dev_t device = 0;
        ino_t inode = 0;
        bool operator==(const FileId &) const = default;
    };

    Kind kind = Kind::move;
    Phase phase = Phase::copying;
    QByteArray token;     // random hex; also the content of the marker inside the hidden folder
    QByteArray source;    // absolute
    QByteArray target;    // absolute: the copy's final name
    QByteArray temporary; // the hidden folder beside the target
    FileId sourceId;      // the source's top item as surveyed
    // The hidden folder once made (its owner is the process's effective user).
    std::optional<FileId> made;
    // The complete copy's top item, noted before it is renamed to the target.
    std::optional<FileId> placed;

    // A fresh record with a random token: the hidden folder goes beside the target.
    static CopyRecord start(Kind kind, const QByteArray &source, const QByteArray &target);

    QByteArray encode() const;
    // None for anything that is not a whole, consistent record: a token of 16 hex digits,
    // absolute paths, and a hidden folder that lies beside the target and is named after the token.
    static std::optional<CopyRecord> decode(const QByteArray &bytes);
};

// The name of the marker file inside a copy's hidden folder; it holds the record's token.
extern const char copyMarkerName[];

// Writes (or replaces) the record in the folder, creating the folder when missing, and flushes
// it: the record is on the device before the caller goes on. 0 or errno.
int saveCopyRecord(const QByteArray &folder, const CopyRecord &record);
// Removes the record from the folder; one already gone is no error. 0 or errno.
int removeCopyRecord(const QByteArray &folder, const QByteArray &token);

// Every record in the folder. A missing folder holds none. The half-written replacement of a
// record that an interruption left is removed; a record that cannot be decoded is removed as
// well, as it names nothing that could be settled. Anything else in the folder is not touched.
int loadCopyRecords(const QByteArray &folder, std::vector<CopyRecord> &records);

} // namespace quorvane::fileops
