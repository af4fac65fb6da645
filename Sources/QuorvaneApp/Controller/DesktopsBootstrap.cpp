#include "Controller/DesktopsBootstrap.h"

#include "Desktop/FinderSurface.h"
#include "IoError.h"
#include "Location.h"
#include "NoReplaceMove.h"
#include "RegularFile.h"
#include "Shared/DocumentService.h"
#include "Shared/Log.h"

#include <QFileInfo>
#include <QPointer>

#include <optional>

namespace quorvane {

namespace {

const QString defaultWorkspaceName = QStringLiteral("Default");
const QString legacyBlankName = QStringLiteral("_blank");

// Marks a name of the folder hidden for file managers: one line of the folder's ".hidden".
void hideInFolder(const QString &folder, const QString &name)
{
    const QString path = folder + QStringLiteral("/.hidden");
    // One name a line: a list of hidden names far past this size is not the file managers'.
    const RegularFile::Content existing = RegularFile::read(path, 1024 * 1024);
    if (!existing.bytes && !existing.missing()) {
        qCWarning(Log::app()) << "not marked hidden:" << name << existing.reason;
        return;
    }
    QByteArray contents = existing.bytes.value_or(QByteArray());
    const QByteArray line = name.toUtf8();
    if (contents.split('\n').contains(line))
        return;
    if (!contents.isEmpty() && !contents.endsWith('\n'))
        contents += '\n';
    contents += line + '\n';
    if (const auto failure = RegularFile::write(path, contents))
        qCWarning(Log::app()) << "not marked hidden:" << name << *failure;
}

void makeFolderOrThrow(const QString &path)
{
    if (const int error = fileops::makeFolders(path))
        throw IoError(error, QStringLiteral("create the folder ") + path);
}

} // namespace

DesktopsBootstrap::DesktopsBootstrap(const Paths &paths, DocumentService &store, FinderSurface &surface)
    : m_paths(paths)
    , m_store(store)
    , m_surface(surface)
{
}

void DesktopsBootstrap::run(QObject *lifetime, std::function<void(std::exception_ptr)> then)
{
    std::optional<QStringList> firstItems;
    try {
        makeFolderOrThrow(m_paths.workspaces());
        // The store writes into its folder but never creates it.
        makeFolderOrThrow(m_paths.store());
        if (m_store.loadConfig().workspaces.empty())
            firstItems = m_surface.files().items(Location::desktop());
        else
            finish();
    } catch (...) {
        then(std::current_exception());
        return;
    }
    if (!firstItems) {
        then(nullptr);
        return;
    }
    m_surface.readPositionsLater(*firstItems, [self = *this, guard = QPointer<QObject>(lifetime), items = *firstItems, then](const IconPositions &positions) mutable {
        if (!guard)
            return;
        std::exception_ptr failure;
        try {
            self.makeFirstDesktop(items, positions);
            self.finish();
        } catch (...) {
            failure = std::current_exception();
        }
        then(failure);
    });
}

void DesktopsBootstrap::makeFirstDesktop(const QStringList &items, const IconPositions &positions)
{
    Config config = m_store.loadConfig();
    if (!config.workspaces.empty())
        return;
    Workspace first = Workspace::make(defaultWorkspaceName);
    first.files = items;
    for (const auto &[name, position] : positions)
        first.positions.insert(name, position);
    // The records join the loaded document: whatever else it holds (the settings above all) is
    // kept, and a document of a newer version is refused by the store, not replaced.
    config.activeWorkspace = defaultWorkspaceName;
    config.workspaces = {first, Workspace::make(Config::blankWorkspaceName)};
    m_store.saveConfig(config);
}

void DesktopsBootstrap::finish()
{
    Config config = m_store.loadConfig();
    migrateBlankWorkspaceName(config);

    // Only desktops whose folder lives here: an archived desktop's folder is in the archive,
    // and an empty one of its name would block its restore.
    const QString root = m_paths.workspaces();
    for (const Workspace &workspace : config.workspaces) {
        if (workspace.state != WorkspaceState::active || !Location::isSafeName(workspace.name))
            continue;
        makeFolderOrThrow(root + QLatin1Char('/') + workspace.name);
    }
    hideInFolder(root, Config::blankWorkspaceName);
}

void DesktopsBootstrap::migrateBlankWorkspaceName(Config &config)
{
    const QString blank = Config::blankWorkspaceName;
    if (!config.hasWorkspace(legacyBlankName) || config.hasWorkspace(blank))
        return;
    const QString root = m_paths.workspaces();
    const QString legacyFolder = root + QLatin1Char('/') + legacyBlankName;
    const QString currentFolder = root + QLatin1Char('/') + blank;
    if (QFileInfo(legacyFolder).isDir() && !fileops::exists(currentFolder))
        fileops::moveItem(legacyFolder, currentFolder, m_paths.copyRecords());
    config.updateWorkspace(legacyBlankName, [&](Workspace &workspace) { workspace.name = blank; });
    if (config.activeWorkspace == legacyBlankName)
        config.activeWorkspace = blank;
    if (config.lastExpandedWorkspace == legacyBlankName)
        config.lastExpandedWorkspace = blank;
    m_store.saveConfig(config);
}

} // namespace quorvane
