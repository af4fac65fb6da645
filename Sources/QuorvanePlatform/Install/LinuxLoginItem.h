#pragma once

#include "Install/LoginItem.h"

namespace quorvane {

// The login item as an XDG autostart entry, <autostart folder>/<identifier>.desktop, whose Exec
// line runs the given executable. It is enabled when the file exists without Hidden=true.
class LinuxLoginItem final : public LoginItem {
public:
    // autostartFolder: empty for $XDG_CONFIG_HOME/autostart (~/.config/autostart without it).
    LinuxLoginItem(const QString &identifier, const QString &executable, const QString &autostartFolder = {});

    QString entryPath() const;
    bool isEnabled() const override;
    // Writes the entry whole in one step, creating the folder; a hidden entry is replaced.
    std::optional<QString> registerItem() override;
    std::optional<QString> unregisterItem() override;

    // The executable as one argument of an Exec line: quoted, with the Desktop Entry escapes.
    static QString execArgument(const QString &executable);

private:
    QString m_identifier;
    QString m_executable;
    QString m_folder;
};

} // namespace quorvane
