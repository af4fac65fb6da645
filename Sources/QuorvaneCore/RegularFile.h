#pragma once

#include <QByteArray>
#include <QString>

#include <optional>

namespace quorvane {

// The files the application reads and writes for itself (its positions, records and settings,
// a desktop host's store, a session's configuration), as opposed to a user's items, which it
// only moves. It reads only a regular file: a FIFO, a device or a socket in its place is never
// opened for reading (so nothing can make a read wait), and a file larger than the bound the
// caller sets is not read at all. It writes only by replacing a regular file, or creating one,
// in one step: a link or any other kind of item in the file's place is left as it is, and
// nothing is ever written through a link.
class RegularFile {
public:
    // Whether a link in the file's place is followed on reading; the file it leads to must be a
    // regular file all the same.
    enum class Links {
        refused,
        followed,
    };

    struct Content {
        std::optional<QByteArray> bytes; // the whole file, or none with `error` and `reason`
        int error = 0;                   // errno: ENOENT for no file, ELOOP for a link, EISDIR, EINVAL for another kind, EFBIG
        QString reason;                  // what kept it from being read, said for a log line

        bool missing() const;
    };

    // The whole file at `path`, at most `maxBytes` long.
    static Content read(const QString &path, qint64 maxBytes, Links links = Links::refused);
    // The same for a native path (bytes, as the file system holds them).
    static Content read(const QByteArray &nativePath, qint64 maxBytes, Links links = Links::refused);
    // The same, for a file whose absence or failure only means its defaults: none when it cannot
    // be read, with one warning unless it is simply missing.
    static std::optional<QByteArray> readOrWarn(const QString &path, qint64 maxBytes, Links links = Links::refused);

    // Replaces the regular file at `path` (keeping its permissions) or creates it (0644) with
    // `bytes` in one step, flushed to the device: written beside it and renamed over it. An
    // item of another kind at `path` stays untouched. Returns what failed, or none.
    static std::optional<QString> write(const QString &path, const QByteArray &bytes);
};

} // namespace quorvane
