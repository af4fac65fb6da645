#include "Shared/DocumentService.h"

#include "Shared/Log.h"

#include <QFileInfo>

#include <exception>
#include <utility>

namespace quorvane {

namespace {

// A burst of events (a temporary file, its rename, the folder's flush) settles into one read.
constexpr int settleMs = 50;

} // namespace

DocumentService::DocumentService(const QString &configPath, const QString &journalPath, QObject *parent)
    : QObject(parent)
    , m_files(configPath, journalPath)
{
    m_settle.setSingleShot(true);
    m_settle.setInterval(settleMs);
    connect(&m_settle, &QTimer::timeout, this, &DocumentService::reload);
    connect(&m_watcher, &QFileSystemWatcher::directoryChanged, this, &DocumentService::diskChanged);
    connect(&m_watcher, &QFileSystemWatcher::fileChanged, this, &DocumentService::diskChanged);
}

const Config &DocumentService::document()
{
    reload();
    return m_document;
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

Config DocumentService::loadConfig()
{
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
