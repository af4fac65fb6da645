#include "SettingsViews/SettingsSection.h"

namespace quorvane {

namespace {

struct SectionInfo {
    const char *raw;
    const char *title;
    const char *symbol;
};

constexpr SectionInfo infos[] = {
    {"general", "General", "gearshape"},
    {"workspaces", "Desktops", "square.grid.2x2"},
    {"pinnedFolders", "Pinned items", "pin"},
    {"organisation", "Organize", "tray.and.arrow.down"},
    {"appearance", "Appearance", "paintpalette"},
    {"floatingDock", "Floating dock", "menubar.dock.rectangle"},
    {"shortcuts", "Shortcuts", "command"},
    {"advanced", "Advanced", "slider.horizontal.3"},
    {"experimental", "Experimental", "testtube.2"},
};

const SectionInfo &info(SettingsSection section) { return infos[static_cast<int>(section)]; }

} // namespace

QString rawValue(SettingsSection section) { return QString::fromLatin1(info(section).raw); }
QString title(SettingsSection section) { return QString::fromUtf8(info(section).title); }
QString symbol(SettingsSection section) { return QString::fromLatin1(info(section).symbol); }

std::optional<SettingsSection> settingsSectionFromRaw(const QString &raw)
{
    for (SettingsSection section : allSettingsSections) {
        if (rawValue(section) == raw)
            return section;
    }
    return std::nullopt;
}

} // namespace quorvane
