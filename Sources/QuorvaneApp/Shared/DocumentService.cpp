#include "Shared/DocumentService.h"

#include "Shared/DocumentMerge.h"
#include "Shared/Log.h"

#include <QFileInfo>

#include <exception>
#include <utility>

namespace quorvane {

namespace {

// A burst of events (a temporary file, its rename, the folder's flush) settles into one read.
constexpr int settleMs = 50;

} // namespace

// The engine's way to the files: each call under the service's lock, nothing announced. The
// document on disk is the engine's while it runs, but not only the engine writes it: a change
// found there that the engine neither wrote nor read (a hand edit, another program) is kept and
// merged into every later save of the engine, record by record, against the document as the
// switch began. Where both changed one value, the engine's stays: it records where the items lie.
class DocumentService::EngineStore final : public StateStore {
public:
    EngineStore(FileStateStore &files, std::mutex &mutex)
        : m_files(files)
        , m_mutex(mutex)
    {
    }
    // A switch begins from base, the document the file holds now.
    void begin(const Config &base)
    {
        const std::lock_guard lock(m_mutex);
        m_base = base;
        m_seen = base;
        m_own.reset();
        m_outside.reset();
        m_conflicts.clear();
    }
    Config loadConfig() override
    {
        const std::lock_guard lock(m_mutex);
        Config loaded = m_files.loadConfig();
        if (loaded != m_seen) {
            // Read as it is: the engine's document holds the change from now on.
            m_outside = loaded;
            m_seen = loaded;
        }
        return loaded;
    }
    void saveConfig(const Config &config) override
    {
        const std::lock_guard lock(m_mutex);
        noticeOutsideChange();
        m_own = config;
        write();
    }
    std::optional<Journal> loadJournal() override
    {
        const std::lock_guard lock(m_mutex);
        return m_files.loadJournal();
    }
    void saveJournal(const std::optional<Journal> &journal) override
    {
        const std::lock_guard lock(m_mutex);
        m_files.saveJournal(journal);
    }

    // Once the engine is done (on the GUI thread): a change made on disk after its last save
    // is merged into that save now. Answers whether a change from outside was merged during
    // the switch, and gives the parts where the engine's value was kept over it.
    bool finish(QList<MergeConflict> &conflicts)
    {
        const std::lock_guard lock(m_mutex);
        std::exception_ptr failure;
        try {
            if (m_own && noticeOutsideChange())
                write();
        } catch (...) {
            failure = std::current_exception();
        }
        conflicts = std::exchange(m_conflicts, {});
        m_own.reset();
        const bool merged = std::exchange(m_outside, std::nullopt).has_value();
        if (failure)
            std::rethrow_exception(failure);
        return merged;
    }

private:
    // Whether the file holds a document the engine neither wrote nor read; if so it is kept.
    bool noticeOutsideChange()
    {
        const Config onDisk = m_files.loadConfig();
        if (onDisk == m_seen)
            return false;
        m_outside = onDisk;
        m_seen = onDisk;
        return true;
    }
    void write()
    {
        Config document = *m_own;
        if (m_outside) {
            QList<MergeConflict> conflicts;
            try {
                document = mergeDocuments(m_base, *m_own, *m_outside, &conflicts);
                m_conflicts = conflicts;
            } catch (const std::exception &error) {
                // A merge that does not decode leaves the engine's own document: said at the end.
                m_conflicts = {MergeConflict{QStringLiteral("the whole document (%1)").arg(QString::fromUtf8(error.what())),
                                             QJsonValue(QStringLiteral("the switch's")),
                                             QJsonValue(QStringLiteral("the edit"))}};
            }
        }
        m_files.saveConfig(document);
        m_seen = m_files.loadConfig();
    }

    FileStateStore &m_files;
    std::mutex &m_mutex;
    Config m_base;
    // What the file held when the engine last read or wrote it.
    Config m_seen;
    // The engine's own last save, and the last change found on disk that was not the engine's.
    std::optional<Config> m_own;
    std::optional<Config> m_outside;
    QList<MergeConflict> m_conflicts;
};

DocumentService::DocumentService(const QString &configPath, const QString &journalPath, QObject *parent)
    : QObject(parent)
    , m_files(configPath, journalPath)
    , m_engineStore(std::make_unique<EngineStore>(m_files, m_filesMutex))
{
    m_settle.setSingleShot(true);
    m_settle.setInterval(settleMs);
    connect(&m_settle, &QTimer::timeout, this, &DocumentService::reload);
    connect(&m_watcher, &QFileSystemWatcher::directoryChanged, this, &DocumentService::diskChanged);
    connect(&m_watcher, &QFileSystemWatcher::fileChanged, this, &DocumentService::diskChanged);
}

DocumentService::~DocumentService() = default;

const Config &DocumentService::document()
{
    reload();
    return m_held ? *m_held : m_document;
}

DocumentService::State DocumentService::state()
{
    document();
    return m_state;
}

void DocumentService::reload()
{
    try {
        loadConfig();
    } catch (const std::exception &) {
        // held as the unreadable state, and logged there
    }
}

void DocumentService::announce()
{
    document();
    m_announcing = true;
    emitChanged(everything);
}

DocumentService::Batch::Batch(DocumentService &service)
    : m_service(service)
{
    ++m_service.m_batches;
}

DocumentService::Batch::~Batch()
{
    if (--m_service.m_batches > 0 || !m_service.m_gathered)
        return;
    const Changes what = std::exchange(m_service.m_gathered, Changes());
    m_service.emitChanged(what);
}

void DocumentService::emitChanged(Changes what)
{
    if (!m_announcing)
        return;
    if (m_batches > 0) {
        m_gathered |= what;
        return;
    }
    // A copy: a listener may write, and the next listener still sees this change.
    const Config copy = m_document;
    emit changed(copy, what);
}

bool DocumentService::watch()
{
    const QString config = m_files.configPath();
    const QString folder = QFileInfo(config).absolutePath();
    if (!QFileInfo(folder).isDir())
        return false;
    if (!m_watcher.directories().contains(folder))
        m_watcher.addPath(folder);
    // An edit in place changes the file and not the folder; a saved copy renamed over it
    // changes the folder (and ends the watch of the old file, taken up again here).
    if (QFileInfo::exists(config) && !m_watcher.files().contains(config))
        m_watcher.addPath(config);
    return watching();
}

void DocumentService::diskChanged()
{
    watch();
    m_settle.start();
}

StateStore &DocumentService::beginEngine()
{
    reload();
    m_engineBase = m_document;
    m_held = m_document;
    m_engineStore->begin(m_document);
    return *m_engineStore;
}

void DocumentService::endEngine()
{
    if (!m_engineBase)
        return;
    const Config base = *std::exchange(m_engineBase, std::nullopt);
    const Config held = *std::exchange(m_held, std::nullopt);
    QList<MergeConflict> conflicts;
    try {
        if (m_engineStore->finish(conflicts))
            qCInfo(Log::app()) << "config.json was changed on disk during the switch: the change is merged into the switch's record";
    } catch (const std::exception &error) {
        qCWarning(Log::error()).noquote() << "config.json: a change made on disk during the switch not merged:" << error.what();
    }
    for (const MergeConflict &conflict : conflicts) {
        qCWarning(Log::error()).noquote()
            << "config.json: changed on disk and by the switch, the switch's value stays:" << conflict.text();
    }
    if (held != base) {
        QList<MergeConflict> ours;
        try {
            const std::lock_guard lock(m_filesMutex);
            m_files.saveConfig(mergeDocuments(base, held, m_files.loadConfig(), &ours));
        } catch (const std::exception &error) {
            qCWarning(Log::error()).noquote() << "config.json: the changes made during the switch not saved:" << error.what();
        }
        for (const MergeConflict &conflict : ours) {
            qCWarning(Log::error()).noquote()
                << "config.json: changed here and by the switch or on disk, the change made here stays:" << conflict.text();
        }
    }
    reload();
}

std::optional<Journal> DocumentService::loadJournal()
{
    const std::lock_guard lock(m_filesMutex);
    return m_files.loadJournal();
}

void DocumentService::saveJournal(const std::optional<Journal> &journal)
{
    const std::lock_guard lock(m_filesMutex);
    m_files.saveJournal(journal);
}

Config DocumentService::loadConfig()
{
    // The engine's document is not read while it may be half written: the held one stands in.
    if (m_held)
        return *m_held;
    try {
        Config loaded = m_files.loadConfig();
        const State state = loaded.schemaVersion > Config::currentSchemaVersion ? State::newer : State::readable;
        hold(loaded, state, QString());
        return loaded;
    } catch (const std::exception &error) {
        hold(Config::defaultDocument(), State::unreadable, QString::fromUtf8(error.what()));
        throw;
    }
}

void DocumentService::saveConfig(const Config &config)
{
    if (m_held) {
        const Changes what = difference(*m_held, config);
        m_held = config;
        if (what)
            emitChanged(what);
        return;
    }
    m_files.saveConfig(config);
    // The document as a later read decodes it (the store keeps what it wrote: no read here).
    Config written = config;
    try {
        written = m_files.loadConfig();
    } catch (const std::exception &error) {
        qCWarning(Log::app()).noquote() << "the document just written reads back as unreadable:" << error.what();
    }
    hold(written, State::readable, QString());
}

void DocumentService::hold(Config document, State state, const QString &failure)
{
    Changes what = difference(m_document, document);
    if (state != m_state)
        what |= Change::state;
    if (state == State::unreadable && (m_state != State::unreadable || failure != m_failure))
        qCWarning(Log::error()).noquote() << "config.json can't be read, the defaults stand in:" << failure;
    m_document = std::move(document);
    m_state = state;
    m_failure = failure;
    if (what)
        emitChanged(what);
}

DocumentService::Changes DocumentService::difference(const Config &before, const Config &after)
{
    Changes what;
    if (before.settings != after.settings)
        what |= Change::settings;
    if (before.workspaces != after.workspaces)
        what |= Change::workspaces;
    if (before.activeWorkspace != after.activeWorkspace || before.lastExpandedWorkspace != after.lastExpandedWorkspace)
        what |= Change::active;
    if (before.cleanupTasks != after.cleanupTasks)
        what |= Change::cleanupTasks;
    if (before.schemaVersion != after.schemaVersion)
        what |= Change::state;
    return what;
}

} // namespace quorvane
