#pragma once

#include "StateStore.h"

#include <QByteArray>
#include <QString>

namespace quorvane {

// The store on disk: config.json and journal.json in the store folder. A missing document is a
// fresh start; a document that exists but cannot be read or decoded is an error and is never
// replaced; a document of a newer format is never overwritten. Every write replaces the whole
// file atomically and reaches the device before it counts as done. It never creates folders.
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

private:
    QString m_configPath;
    QString m_journalPath;
};

} // namespace quorvane
