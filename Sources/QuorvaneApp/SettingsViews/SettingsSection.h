#pragma once

#include <QString>

#include <array>
#include <optional>

namespace quorvane {

// The sections of the settings window, in the sidebar's order.
enum class SettingsSection {
    general,
    workspaces,
    pinnedFolders,
    organisation,
    appearance,
    floatingDock,
    shortcuts,
    advanced,
    experimental,
};

inline constexpr std::array<SettingsSection, 9> allSettingsSections{
    SettingsSection::general,
    SettingsSection::workspaces,
    SettingsSection::pinnedFolders,
    SettingsSection::organisation,
    SettingsSection::appearance,
    SettingsSection::floatingDock,
    SettingsSection::shortcuts,
    SettingsSection::advanced,
    SettingsSection::experimental,
};

// The case's name ("pinnedFolders").
QString rawValue(SettingsSection section);
// None for a text that names no section.
std::optional<SettingsSection> settingsSectionFromRaw(const QString &raw);
// Shown in the sidebar and as the detail title.
QString title(SettingsSection section);
QString symbol(SettingsSection section);

} // namespace quorvane
