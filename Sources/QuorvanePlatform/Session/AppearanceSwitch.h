#pragma once

#include "SettingsLedger.h"

#include <QDBusConnection>
#include <QString>
#include <QStringList>

#include <memory>
#include <optional>
#include <vector>

namespace quorvane {

// Switches the desktop's light or dark mode.
class AppearanceSwitch {
public:
    virtual ~AppearanceSwitch() = default;
    // Turns the desktop to the mode a desktop asks for. None on success, else a description of
    // the failure.
    virtual std::optional<QString> setDark(bool dark) = 0;
    // Whether anything the switch changed still waits to go back.
    virtual bool borrowing() const = 0;
    // Gives the user's own values back, where they still hold what was written (no desktop
    // asks for a mode any more). None on success, else the failure.
    virtual std::optional<QString> putBack() = 0;
    // The user's theme, named as the desktop names it, when it has no dark variant (asking for
    // dark changes nothing then); none otherwise, and where the desktop has no such theme.
    virtual std::optional<QString> themeWithoutDarkVariant() const { return std::nullopt; }
    // Whether the desktop has a light or dark look this switch can turn at all (LXDE without
    // lxsession's settings has none).
    virtual bool hasDarkSwitch() const { return true; }
};

// One setting of the desktop that holds its light or dark look, its value as the desktop
// stores it (a printed GSettings value keeps its quotes).
class LookSetting {
public:
    virtual ~LookSetting() = default;
    virtual QString name() const = 0;
    // None when it cannot be read; error then says why.
    virtual std::optional<QString> get(QString &error) const = 0;
    // None on success, else the failure.
    virtual std::optional<QString> set(const QString &value) = 0;
    // The dark value that goes with the current one (the current one when it is dark
    // already); none when the desktop has none (a theme without a dark variant).
    virtual std::optional<QString> darkValue(const QString &current) const = 0;
    // The light value for a dark one that this process did not write; none: it stays.
    virtual std::optional<QString> lightValue(const QString &current) const = 0;
    virtual bool isDark(const QString &value) const = 0;
};

// The running desktop's own dark mode, chosen by XDG_CURRENT_DESKTOP:
//   GNOME (and any other)  "color-scheme" 'prefer-dark', and "gtk-theme" to the dark variant
//                          of the current theme (org.gnome.desktop.interface), so that GTK 3
//                          applications follow;
//   XFCE                   the XSETTINGS theme (/Net/ThemeName of the xsettings channel) to
//                          its dark variant;
//   KDE                    the colour scheme through plasma-apply-colorscheme (BreezeDark);
//   Cinnamon, MATE         the GTK theme of org.cinnamon.desktop.interface, org.mate.interface;
//   LXDE                   lxsession's own XSETTINGS theme (LxsessionThemeSetting).
// A theme's dark variant is the theme's name with "-dark" (or "-Dark") when a theme folder of
// that name is installed (the theme folders of the home and the data folders); Adwaita's is
// built in. Every value it changes is kept first in the store's ledger (facility "appearance",
// one entry per setting, with the user's value), so that the user's value comes back whichever
// process asks: turning the other mode again, or putBack(), gives each setting the user's value,
// unless the user has changed it since (it no longer holds what was written): then the user's
// new value stays. A setting whose value cannot be kept in the ledger is not changed. A failure
// of one setting does not stop the others; every failure (a missing tool or schema, no dark
// variant, a ledger that cannot be written) is told in the one description returned.
class LinuxAppearanceSwitch final : public AppearanceSwitch {
public:
    enum class Desktop {
        gnome,
        xfce,
        kde,
        cinnamon,
        mate,
        lxde
    };

    // Desktop of this session: XDG_CURRENT_DESKTOP's first known name, else GNOME's settings.
    static Desktop sessionDesktop();
    // Where themes are installed: ~/.themes, the themes folder of XDG_DATA_HOME and of each of
    // XDG_DATA_DIRS.
    static QStringList standardThemeFolders();
    // The settings of a desktop that make it light or dark.
    static std::vector<std::unique_ptr<LookSetting>> settingsFor(Desktop desktop, const QStringList &themeFolders,
                                                                 const QDBusConnection &bus);

    static inline const QString facility = QStringLiteral("appearance");

    explicit LinuxAppearanceSwitch(SettingsLedger ledger, Desktop desktop = sessionDesktop(),
                                   QStringList themeFolders = standardThemeFolders(),
                                   const QDBusConnection &bus = QDBusConnection::sessionBus());
    // Tests give settings of their own.
    LinuxAppearanceSwitch(SettingsLedger ledger, std::vector<std::unique_ptr<LookSetting>> settings);

    std::optional<QString> setDark(bool dark) override;
    bool borrowing() const override;
    std::optional<QString> putBack() override;
    std::optional<QString> themeWithoutDarkVariant() const override;
    // True when one of its settings can be read.
    bool hasDarkSwitch() const override;
    // Whether the desktop looks dark now: its first setting that can be read says.
    bool isDark() const;
    // The same for this session's desktop.
    static bool sessionLooksDark();

private:
    SettingsLedger m_ledger;
    std::vector<std::unique_ptr<LookSetting>> m_settings;
};

} // namespace quorvane
