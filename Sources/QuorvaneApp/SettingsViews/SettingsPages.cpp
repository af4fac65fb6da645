#include "SettingsViews/SettingsPages.h"

#include "SettingsViews/AdvancedTab.h"
#include "SettingsViews/AppearanceTab.h"
#include "SettingsViews/ExperimentalTab.h"
#include "SettingsViews/FloatingDockTab.h"
#include "SettingsViews/GeneralTab.h"
#include "SettingsViews/OrganisationTab.h"
#include "SettingsViews/PinnedFoldersTab.h"
#include "SettingsViews/ShortcutsTab.h"
#include "SettingsViews/WorkspacesTab.h"

#include <QWidget>

namespace quorvane {

QWidget *makeSettingsPage(SettingsSection section, const SettingsContext &context)
{
    switch (section) {
    case SettingsSection::appearance:
        return new AppearanceTab(context);
    case SettingsSection::pinnedFolders:
        return new PinnedFoldersTab(context);
    case SettingsSection::floatingDock:
        return new FloatingDockTab(context);
    case SettingsSection::shortcuts:
        return new ShortcutsTab(context);
    case SettingsSection::general:
        return new GeneralTab(context);
    case SettingsSection::workspaces:
        return new WorkspacesTab(context);
    case SettingsSection::organisation:
        return new OrganisationTab(context);
    case SettingsSection::advanced:
        return new AdvancedTab(context);
    case SettingsSection::experimental:
        return new ExperimentalTab(context);
    default:
        break;
    }
    auto *page = new QWidget;
    page->setObjectName(rawValue(section));
    return page;
}

} // namespace quorvane
