#pragma once

#include "Config.h"
#include "FileStateStore.h"
#include "StateStore.h"

#include <QFileSystemWatcher>
#include <QFlags>
#include <QObject>
#include <QString>
#include <QTimer>

#include <memory>
#include <mutex>
#include <optional>

namespace quorvane {

// The one owner of the loaded document in the running application. Every write goes through it
// (it is the store the swapper, the archiver and the settings model are given), and every change
// it sees, its own writes and a change on disk alike, is announced once through changed(), with
// the parts of the document that differ. A change on disk is noticed by a watch on the store's
// folder, so a document edited by hand reaches the listeners without polling.
//
// Nothing is announced before the first announce() (the launch's, once everything is up), and
// the writes of one operation that writes several times (a switch) are announced once, when its
// Batch ends.
//
// A document that cannot be read, or one of a newer format, is a state of the service, not a
// silent default: listeners get the default document (unreadable) or the newer one (never
// written), and state() says which. Main thread only, but for the engine's store (beginEngine).
class DocumentService final : public QObject, public StateStore {
    Q_OBJECT

public:
    enum class State {
        readable,
        unreadable, // listeners hold the default document; failure() says why
        newer       // a newer format: read, shown, never written
    };
    enum class Change {
        settings = 0x1,
        workspaces = 0x2,
        active = 0x4, // the active desktop or the one a collapse brings back
        cleanupTasks = 0x8,
        state = 0x10,
    };
    Q_DECLARE_FLAGS(Changes, Change)
    static constexpr Changes everything{0x1f};

    DocumentService(const QString &configPath, const QString &journalPath, QObject *parent = nullptr);
    ~DocumentService() override;

    // The document as stored now (the store answers from what it holds while the file is the one
    // it read or wrote). The first read is no change; every later difference is announced.
    const Config &document();
    State state();
    // What made the document unreadable; empty otherwise.
    QString failure() const { return m_failure; }

    // Reads the stored document again and announces it when anything differs.
    void reload();
    // Announces the document to every listener as wholly changed (the launch does once, so each
    // component starts from the document); from then on every change is announced.
    void announce();

    // While one lives, changes are gathered and announced once, as the last one ends.
    class Batch {
    public:
        explicit Batch(DocumentService &service);
        ~Batch();
        Batch(const Batch &) = delete;
        Batch &operator=(const Batch &) = delete;

    private:
        DocumentService &m_service;
    };
    // Watches the store's folder and the document in it from now on; false while the folder is
    // missing (the launch makes it, then asks again).
    bool watch();
    bool watching() const { return !m_watcher.directories().isEmpty(); }

    // While a switch's engine works on a thread of its own, the document on disk is the
    // engine's: beginEngine() gives the store it works with (callable from that thread; it
    // announces nothing), and every write made here meanwhile is held: later reads here see
    // it, and endEngine() lays the held writes, in order, over what the engine saved (a part
    // the engine changed and the writes did not stays the engine's) and saves the result.
    StateStore &beginEngine();
    void endEngine();
    bool engineRunning() const { return m_engineBase.has_value(); }

    // The file store underneath, for what is not a read or a write of the document (setting it
    // aside at an uninstall, its paths, its counters).
    FileStateStore &files() { return m_files; }

    // Every read notices a change on disk; every successful write is announced.
    Config loadConfig() override;
    void saveConfig(const Config &config) override;
    std::optional<Journal> loadJournal() override;
    void saveJournal(const std::optional<Journal> &journal) override;

    // The parts in which two documents differ.
    static Changes difference(const Config &before, const Config &after);

signals:
    void changed(const quorvane::Config &document, quorvane::DocumentService::Changes what);

private:
    void hold(Config document, State state, const QString &failure);
    void emitChanged(Changes what);
    void diskChanged();

    class EngineStore;

    FileStateStore m_files;
    // Held by every use of m_files while the engine may run on its own thread.
    std::mutex m_filesMutex;
    std::unique_ptr<EngineStore> m_engineStore;
    // While the engine runs: the document as it began, and as the writes held since made it.
    std::optional<Config> m_engineBase;
    std::optional<Config> m_held;
    Config m_document = Config::defaultDocument();
    State m_state = State::readable;
    QString m_failure;
    bool m_announcing = false;
    int m_batches = 0;
    Changes m_gathered;
    QFileSystemWatcher m_watcher;
    QTimer m_settle;
};

} // namespace quorvane

Q_DECLARE_OPERATORS_FOR_FLAGS(quorvane::DocumentService::Changes)
