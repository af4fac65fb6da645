#pragma once

#include <QString>

#include <optional>

namespace quorvane {

// Whether the application starts when the user logs in.
class LoginItem {
public:
    virtual ~LoginItem() = default;
    virtual bool enabled() const = 0;
    // None on success, else a description of the failure.
    virtual std::optional<QString> enable() = 0;
    virtual std::optional<QString> disable() = 0;
};

// The XDG autostart entry <autostart folder>/<identifier>.desktop. It is enabled when the file
// is there and does not say Hidden=true. Without an identifier or an executable (the bare
// executable) there is no entry: never enabled, enabling fails, disabling does nothing.
class XdgAutostartLoginItem final : public LoginItem {
public:
    XdgAutostartLoginItem(const QString &identifier, const QString &executablePath,
                          const QString &autostartFolder = standardAutostartFolder());

    // $XDG_CONFIG_HOME/autostart (~/.config/autostart when the variable is unset or relative).
    static QString standardAutostartFolder();
    // The Exec value that runs the program at that absolute path with no arguments: the path
    // in double quotes, escaped as the desktop-entry format asks.
    static QString execValue(const QString &executablePath);

    QString entryPath() const;

    bool enabled() const override;
    // Writes the entry atomically, replacing one that was there.
    std::optional<QString> enable() override;
    // Removes the entry; one that is not there is no failure.
    std::optional<QString> disable() override;

private:
    QString m_identifier;
    QString m_executable;
    QString m_folder;
};

} // namespace quorvane
