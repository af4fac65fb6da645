#pragma once

#include "StateStore.h"

#include <QByteArray>
#include <QDateTime>
#include <QString>
#include <QStringList>

#include <optional>

#include <sys/stat.h>

namespace quorvane {

// The store on disk: config.json and journal.json in the store folder. A missing document is a
// fresh start; a document that exists but cannot be read or decoded is an error and is never
// replaced; a document of a newer format is never overwritten. Every write replaces the whole
// file atomically and reaches the device before it counts as done. It never creates folders.
// The last document read or written is kept with its bytes and the identity of its file (device,
// inode, size and change times): a load whose file is still the one this store wrote, or one
// read here that was last changed well before it was read, is answered without reading it; one
// read so soon after a change that a later change could carry the same times is read again and
// compared with the kept bytes, and decoded only when they differ. When the file last changed
// is its status change time, which no writer can set back (a modification time can be), so a
// change on disk by another writer is seen by the next load.
class FileStateStore final : public StateStore {
public:
    FileStateStore(const QString &configPath, const QString &journalPath);

    Config loadConfig() override;
    void saveConfig(const Config &config) override;
    std::optional<Journal> loadJournal() override;
    void saveJournal(const std::optional<Journal> &journal) override;

    QString configPath() const { return m_configPath; }
    QString journalPath() const { return m_journalPath; }

    // Writes bytes to a temporary file beside path, flushes it to the device, renames it over
    // path and flushes the folder. On any failure before the rename the old file stays whole.
    static void atomicWrite(const QString &path, const QByteArray &bytes);

    // Sets the document and the journal aside for good, as an uninstall does: each is renamed
    // in the store folder to "<name>.uninstalled-<stamp>.json" (then "-2", "-3" ... when that is
    // taken), the journal first; nothing is replaced or deleted, and a linked document stays
    // where its link points (the link is what moves). Afterwards the store saves nothing, so the
    // next start finds no document and begins afresh. Answers the names given; a failure throws
    // IoError and leaves what was set aside so.
    QStringList retire(const QDateTime &when);
    bool isRetired() const { return m_retired; }

    // How often config.json was read from disk, and how often it was decoded, by this store.
    int configReads() const { return m_configReads; }
    int configDecodes() const { return m_configDecodes; }

private:
    struct FileIdentity {
        dev_t device = 0;
        ino_t inode = 0;
        off_t size = 0;
        timespec modified{};
        timespec changed{};
        bool operator==(const FileIdentity &other) const;
    };
    static std::optional<FileIdentity> identify(const QString &path);

    QString m_configPath;
    QString m_journalPath;
    void keep(const Config &config, const QByteArray &bytes, const FileIdentity &identity, const timespec &identifiedAt);

    std::optional<Config> m_kept;
    QByteArray m_keptBytes;
    FileIdentity m_keptIdentity;
    timespec m_keptAt{};
    bool m_keptWritten = false; // kept from this store's own save
    bool m_retired = false;
    int m_configReads = 0;
    int m_configDecodes = 0;
};

} // namespace quorvane
