// The screenshot sweep, the name rules and the pinned items.
#include "Settings/SettingsModel.h"

#include "Files/FileOperations.h"
#include "Location.h"
#include "NoReplaceMove.h"
#include "Settings/SettingsModelSupport.h"

namespace quorvane {

namespace {

// The desktop this part creates for a sweep: permanent, live, reminded, coloured by its name.
Workspace sweepDesktop(const QString &name, Date now)
{
    Workspace record = Workspace::make(name);
    record.createdAt = now;
    record.createsCleanupTask = true;
    return record;
}

void editFilter(Config &config, const QUuid &id, const std::function<void(CustomFilter &)> &edit)
{
    for (CustomFilter &rule : config.settings.customFilters) {
        if (rule.id == id) {
            edit(rule);
            return;
        }
    }
}

} // namespace

void SettingsModel::setFilterScreenshots(bool on)
{
    if (!on) {
        setSetting([](AppSettings &s) {
            s.filterScreenshots = false;
            s.screenshotFilteringPaused = false;
        });
        return;
    }
    const auto &chosen = m_config.settings.screenshotsWorkspace;
    const QString name = chosen && m_config.workspace(*chosen) ? *chosen
                                                               : uniqueWorkspaceName(Config::defaultScreenshotsWorkspaceName);
    if (!m_config.workspace(name)) {
        if (!documentIsWritable())
            return;
        if (const int code = m_files.makeFolders(folderOf(name))) {
            refuse(tr("Couldn't create the Screenshots desktop: %1").arg(fileops::errorTextFor(code, name)));
            return;
        }
    }
    const Date now = currentDate();
    apply([&](Config &config) {
        if (!config.workspace(name))
            settings::addBeforeBlank(config, sweepDesktop(name, now));
        config.settings.screenshotsWorkspace = name;
        config.settings.filterScreenshots = true;
        config.settings.screenshotFilteringPaused = false;
    });
}

void SettingsModel::addCustomFilter()
{
    apply([](Config &config) {
        CustomFilter rule;
        rule.id = QUuid::createUuid();
        config.settings.customFilters.push_back(rule);
    });
}

void SettingsModel::removeCustomFilter(const QUuid &id)
{
    apply([&](Config &config) { std::erase_if(config.settings.customFilters, [&](const CustomFilter &r) { return r.id == id; }); });
}

void SettingsModel::setCustomFilterEnabled(const QUuid &id, bool enabled)
{
    apply([&](Config &config) { editFilter(config, id, [&](CustomFilter &r) { r.enabled = enabled; }); });
}

void SettingsModel::setCustomFilterPattern(const QUuid &id, const QString &pattern)
{
    apply([&](Config &config) { editFilter(config, id, [&](CustomFilter &r) { r.pattern = pattern; }); });
}

void SettingsModel::setCustomFilterCollection(const QUuid &id, const QString &typed)
{
    const QString name = trimmedName(typed);
    if (name.isEmpty()) {
        apply([&](Config &config) { editFilter(config, id, [](CustomFilter &r) { r.collection.clear(); }); });
        return;
    }
    if (name.startsWith(QLatin1Char('_'))) {
        refuse(tr("Names can't start with “_” (reserved)."));
        return;
    }
    // An existing desktop of any name is a fine target; a desktop made here must be one the
    // desktops folder can hold, never its store, its stash or its archive.
    const bool exists = m_config.workspace(name) != nullptr;
    if (!exists) {
        if (!nameIsAllowed(name) || !documentIsWritable())
            return;
        if (const int code = m_files.makeFolders(folderOf(name))) {
            refuse(tr("Couldn't create the desktop folder: %1").arg(fileops::errorTextFor(code, name)));
            return;
        }
    }
    const Date now = currentDate();
    apply([&](Config &config) {
        if (!config.workspace(name)) {
            if (exists)
                throw Refusal(tr("“%1” no longer exists.").arg(name));
            settings::addBeforeBlank(config, sweepDesktop(name, now));
        }
        editFilter(config, id, [&](CustomFilter &r) { r.collection = name; });
    });
}

void SettingsModel::addPinnedFolder(const QString &typed)
{
    const QString name = trimmedName(typed);
    if (name.isEmpty() || name == QLatin1String(".") || name == QLatin1String(".."))
        return;
    if (!Location::isSafeName(name)) {
        refuse(tr("Names can't contain “/”."));
        return;
    }
    if (m_config.settings.pinnedFolders.contains(name))
        return;
    apply([&](Config &config) { config.settings.pinnedFolders.append(name); });
}

void SettingsModel::removePinnedFolder(const QString &name)
{
    apply([&](Config &config) { config.settings.pinnedFolders.removeAll(name); });
}

bool SettingsModel::pinnedFolderIsOnDesktop(const QString &name) const
{
    if (!Location::isSafeName(name))
        return false;
    return m_files.exists(m_paths.desktop() + QLatin1Char('/') + name)
        || m_files.exists(m_paths.pinnedStash() + QLatin1Char('/') + name);
}

} // namespace quorvane
