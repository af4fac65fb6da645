#include "RegularFile.h"
#include "Session/AppearanceSwitch.h"
#include "Session/GSettingsTool.h"
#include "Session/LxsessionThemeSetting.h"
#include "Session/XfconfChannel.h"
#include "Work/ToolProcess.h"

#include <QDir>
#include <QFile>
#include <QSet>

namespace quorvane {

namespace {

// Theme names: the dark variant of a theme, and back.

bool namesDark(const QString &theme)
{
    return theme.contains(QLatin1String("dark"), Qt::CaseInsensitive);
}

// Themes GTK 3 carries within itself.
const QStringList builtInThemes{QStringLiteral("Adwaita"), QStringLiteral("Adwaita-dark")};

bool installed(const QString &theme, const QStringList &folders)
{
    if (builtInThemes.contains(theme))
        return true;
    for (const QString &folder : folders) {
        if (QFileInfo(QDir(folder).filePath(theme)).isDir())
            return true;
    }
    return false;
}

std::optional<QString> darkTheme(const QString &theme, const QStringList &folders)
{
    if (theme.isEmpty())
        return std::nullopt;
    if (namesDark(theme))
        return theme;
    QString base = theme;
    for (const QLatin1String light : {QLatin1String("-light"), QLatin1String("-Light")}) {
        if (base.endsWith(light))
            base.chop(light.size());
    }
    for (const QString &candidate : {base + QStringLiteral("-dark"), base + QStringLiteral("-Dark")}) {
        if (installed(candidate, folders))
            return candidate;
    }
    return std::nullopt;
}

std::optional<QString> lightTheme(const QString &theme, const QStringList &folders)
{
    for (const QLatin1String dark : {QLatin1String("-dark"), QLatin1String("-Dark")}) {
        if (theme.endsWith(dark)) {
            const QString base = theme.left(theme.size() - dark.size());
            if (installed(base, folders))
                return base;
        }
    }
    return std::nullopt;
}

// GNOME's colour scheme.
class ColorSchemeSetting final : public LookSetting {
public:
    QString name() const override { return QStringLiteral("color-scheme"); }
    std::optional<QString> get(QString &error) const override
    {
        const auto result = gsettings::run({QStringLiteral("get"), QLatin1String(gsettings::interfaceSchema),
                                            QLatin1String(gsettings::colorSchemeKey)});
        if (!result.ok) {
            error = result.error;
            return std::nullopt;
        }
        return result.output;
    }
    std::optional<QString> set(const QString &value) override
    {
        const auto result = gsettings::run({QStringLiteral("set"), QLatin1String(gsettings::interfaceSchema),
                                            QLatin1String(gsettings::colorSchemeKey), value});
        return result.ok ? std::nullopt : std::optional<QString>(result.error);
    }
    std::optional<QString> darkValue(const QString &) const override { return QStringLiteral("'prefer-dark'"); }
    std::optional<QString> lightValue(const QString &) const override { return QStringLiteral("'default'"); }
    bool isDark(const QString &value) const override { return value == QLatin1String("'prefer-dark'"); }
};

// A GTK theme held in a GSettings key.
class GSettingsThemeSetting final : public LookSetting {
public:
    GSettingsThemeSetting(QString schema, QStringList folders)
        : m_schema(std::move(schema))
        , m_folders(std::move(folders))
    {
    }
    QString name() const override { return m_schema + QStringLiteral(" gtk-theme"); }
    std::optional<QString> get(QString &error) const override
    {
        const auto result = gsettings::run({QStringLiteral("get"), m_schema, QStringLiteral("gtk-theme")});
        if (!result.ok) {
            error = result.error;
            return std::nullopt;
        }
        return result.output;
    }
    std::optional<QString> set(const QString &value) override
    {
        const auto result = gsettings::run({QStringLiteral("set"), m_schema, QStringLiteral("gtk-theme"), value});
        return result.ok ? std::nullopt : std::optional<QString>(result.error);
    }
    std::optional<QString> darkValue(const QString &current) const override
    {
        const auto theme = gsettings::unquoted(current);
        const auto dark = theme ? darkTheme(*theme, m_folders) : std::nullopt;
        return dark ? std::optional<QString>(gsettings::quoted(*dark)) : std::nullopt;
    }
    std::optional<QString> lightValue(const QString &current) const override
    {
        const auto theme = gsettings::unquoted(current);
        const auto light = theme ? lightTheme(*theme, m_folders) : std::nullopt;
        return light ? std::optional<QString>(gsettings::quoted(*light)) : std::nullopt;
    }
    bool isDark(const QString &value) const override { return namesDark(value); }

private:
    QString m_schema;
    QStringList m_folders;
};

// XFCE's XSETTINGS theme.
class XsettingsThemeSetting final : public LookSetting {
public:
    XsettingsThemeSetting(const QDBusConnection &bus, QStringList folders)
        : m_channel(QStringLiteral("xsettings"), bus)
        , m_folders(std::move(folders))
    {
    }
    QString name() const override { return QStringLiteral("/Net/ThemeName"); }
    std::optional<QString> get(QString &error) const override
    {
        const auto value = m_channel.property(name(), error);
        if (!value) {
            if (error.isEmpty())
                error = QStringLiteral("/Net/ThemeName is not set");
            return std::nullopt;
        }
        return value->toString();
    }
    std::optional<QString> set(const QString &value) override { return m_channel.setProperty(name(), value); }
    std::optional<QString> darkValue(const QString &current) const override { return darkTheme(current, m_folders); }
    std::optional<QString> lightValue(const QString &current) const override { return lightTheme(current, m_folders); }
    bool isDark(const QString &value) const override { return namesDark(value); }

private:
    XfconfChannel m_channel;
    QStringList m_folders;
};

// KDE Plasma's colour scheme: read from kdeglobals, set with its own tool.
class PlasmaColorSchemeSetting final : public LookSetting {
public:
    QString name() const override { return QStringLiteral("Plasma colour scheme"); }
    std::optional<QString> get(QString &) const override
    {
        QString configHome = qEnvironmentVariable("XDG_CONFIG_HOME");
        if (configHome.isEmpty())
            configHome = QDir::homePath() + QStringLiteral("/.config");
        const auto text = RegularFile::readOrWarn(configHome + QStringLiteral("/kdeglobals"), 1024 * 1024, RegularFile::Links::followed);
        bool inGeneral = false;
        if (text) {
            for (const QString &line : QString::fromUtf8(*text).split(QLatin1Char('\n'))) {
                if (line.startsWith(QLatin1Char('[')))
                    inGeneral = line.trimmed() == QLatin1String("[General]");
                else if (inGeneral && line.startsWith(QLatin1String("ColorScheme=")))
                    return line.mid(12).trimmed();
            }
        }
        return QStringLiteral("BreezeLight"); // Plasma's own default
    }
    std::optional<QString> set(const QString &value) override
    {
        const auto result = runTool(QStringLiteral("plasma-apply-colorscheme"), {value});
        return result.ok ? std::nullopt : std::optional<QString>(result.error);
    }
    std::optional<QString> darkValue(const QString &current) const override
    {
        return namesDark(current) ? current : QStringLiteral("BreezeDark");
    }
    std::optional<QString> lightValue(const QString &) const override { return QStringLiteral("BreezeLight"); }
    bool isDark(const QString &value) const override { return namesDark(value); }
};

} // namespace

LinuxAppearanceSwitch::Desktop LinuxAppearanceSwitch::sessionDesktop()
{
    for (const QString &name : qEnvironmentVariable("XDG_CURRENT_DESKTOP").toUpper().split(QLatin1Char(':'))) {
        if (name == QLatin1String("XFCE"))
            return Desktop::xfce;
        if (name == QLatin1String("KDE"))
            return Desktop::kde;
        if (name == QLatin1String("X-CINNAMON") || name == QLatin1String("CINNAMON"))
            return Desktop::cinnamon;
        if (name == QLatin1String("MATE"))
            return Desktop::mate;
        if (name == QLatin1String("LXDE"))
            return Desktop::lxde;
        if (name == QLatin1String("GNOME"))
            return Desktop::gnome;
    }
    return Desktop::gnome;
}

QStringList LinuxAppearanceSwitch::standardThemeFolders()
{
    QStringList folders{QDir::homePath() + QStringLiteral("/.themes")};
    QString dataHome = qEnvironmentVariable("XDG_DATA_HOME");
    if (dataHome.isEmpty())
        dataHome = QDir::homePath() + QStringLiteral("/.local/share");
    folders.append(dataHome + QStringLiteral("/themes"));
    QString dataDirs = qEnvironmentVariable("XDG_DATA_DIRS");
    if (dataDirs.isEmpty())
        dataDirs = QStringLiteral("/usr/local/share:/usr/share");
    for (const QString &dir : dataDirs.split(QLatin1Char(':'), Qt::SkipEmptyParts))
        folders.append(dir + QStringLiteral("/themes"));
    return folders;
}

std::vector<std::unique_ptr<LookSetting>> LinuxAppearanceSwitch::settingsFor(Desktop desktop,
                                                                             const QStringList &themeFolders,
                                                                             const QDBusConnection &bus)
{
    std::vector<std::unique_ptr<LookSetting>> settings;
    switch (desktop) {
    case Desktop::gnome:
        settings.push_back(std::make_unique<ColorSchemeSetting>());
        settings.push_back(
            std::make_unique<GSettingsThemeSetting>(QLatin1String(gsettings::interfaceSchema), themeFolders));
        break;
    case Desktop::xfce:
        settings.push_back(std::make_unique<XsettingsThemeSetting>(bus, themeFolders));
        break;
    case Desktop::kde:
        settings.push_back(std::make_unique<PlasmaColorSchemeSetting>());
        break;
    case Desktop::cinnamon:
        settings.push_back(
            std::make_unique<GSettingsThemeSetting>(QStringLiteral("org.cinnamon.desktop.interface"), themeFolders));
        break;
    case Desktop::mate:
        settings.push_back(std::make_unique<GSettingsThemeSetting>(QStringLiteral("org.mate.interface"), themeFolders));
        break;
    case Desktop::lxde:
        settings.push_back(std::make_unique<LxsessionThemeSetting>(
            LxsessionThemeSetting::sessionUserFile(), LxsessionThemeSetting::sessionSystemFiles(),
            [themeFolders](const QString &theme) { return darkTheme(theme, themeFolders); },
            [themeFolders](const QString &theme) { return lightTheme(theme, themeFolders); }, namesDark));
        break;
    }
    return settings;
}

LinuxAppearanceSwitch::LinuxAppearanceSwitch(SettingsLedger ledger, Desktop desktop, QStringList themeFolders,
                                             const QDBusConnection &bus)
    : m_ledger(std::move(ledger))
    , m_settings(settingsFor(desktop, themeFolders, bus))
{
}

LinuxAppearanceSwitch::LinuxAppearanceSwitch(SettingsLedger ledger, std::vector<std::unique_ptr<LookSetting>> settings)
    : m_ledger(std::move(ledger))
    , m_settings(std::move(settings))
{
}

namespace {

// Every failure once, in the order met.
struct Failures {
    QStringList texts;
    void add(const QString &text)
    {
        if (!texts.contains(text))
            texts.append(text);
    }
    std::optional<QString> result() const
    {
        return texts.isEmpty() ? std::nullopt : std::optional<QString>(texts.join(QStringLiteral("; ")));
    }
};

const SettingsLedger::Entry *entryOf(const std::vector<SettingsLedger::Entry> &entries, const QString &setting)
{
    for (const auto &entry : entries) {
        if (entry.setting == setting)
            return &entry;
    }
    return nullptr;
}

} // namespace

std::optional<QString> LinuxAppearanceSwitch::setDark(bool dark)
{
    const auto kept = m_ledger.entries(facility);
    if (!kept)
        return QStringLiteral("the ledger %1 cannot be read; the look stays as it is").arg(m_ledger.file());
    Failures failures;
    for (const auto &setting : m_settings) {
        QString error;
        const auto current = setting->get(error);
        if (!current) {
            failures.add(error);
            continue;
        }
        const SettingsLedger::Entry *entry = entryOf(*kept, setting->name());
        // A value that no longer holds what was written is the user's own new one.
        const bool ours = entry && entry->holdsOurs(*current);
        const QString user = ours ? entry->user.toString() : *current;
        std::optional<QString> wanted;
        if (dark) {
            wanted = setting->darkValue(user);
            if (!wanted)
                failures.add(setting->name() + QStringLiteral(": no dark variant of ") + user);
        } else if (setting->isDark(user)) {
            wanted = setting->lightValue(user);
        }
        if (!wanted || *wanted == user) {
            // Nothing to borrow: the user's own value, given back where it was replaced.
            if (ours && *current != user) {
                if (const auto failure = setting->set(user)) {
                    failures.add(*failure);
                    continue;
                }
            }
            if (entry) {
                if (const auto failure = m_ledger.forget(facility, setting->name()))
                    failures.add(*failure);
            }
            continue;
        }
        // Kept before it changes: a crash in between loses nothing of the user's.
        if (!ours || entry->written.toString() != *wanted) {
            // What was written before stays known as ours, should the session show it late.
            SettingsLedger::Entry kept = entry ? *entry : SettingsLedger::Entry{facility, setting->name(), user, user};
            kept.user = user;
            if (const auto failure = m_ledger.keep(kept.writing(*wanted))) {
                failures.add(*failure);
                continue;
            }
        }
        if (*current == *wanted)
            continue;
        if (const auto failure = setting->set(*wanted))
            failures.add(*failure);
    }
    return failures.result();
}

bool LinuxAppearanceSwitch::borrowing() const
{
    const auto kept = m_ledger.entries(facility);
    if (!kept)
        return true; // unreadable: putBack says so
    for (const auto &setting : m_settings) {
        if (entryOf(*kept, setting->name()))
            return true;
    }
    return false;
}

std::optional<QString> LinuxAppearanceSwitch::putBack()
{
    const auto kept = m_ledger.entries(facility);
    if (!kept)
        return QStringLiteral("the ledger %1 cannot be read; what it holds stays there").arg(m_ledger.file());
    Failures failures;
    // Settings of another desktop's session stay kept until that session runs.
    for (const auto &setting : m_settings) {
        const SettingsLedger::Entry *entry = entryOf(*kept, setting->name());
        if (!entry)
            continue;
        QString error;
        const auto current = setting->get(error);
        if (!current) {
            failures.add(error);
            continue;
        }
        const QString user = entry->user.toString();
        if (entry->holdsOurs(*current) && *current != user) {
            if (const auto failure = setting->set(user)) {
                failures.add(*failure);
                continue;
            }
        }
        if (const auto failure = m_ledger.forget(facility, setting->name()))
            failures.add(*failure);
    }
    return failures.result();
}

namespace {

bool looksDark(const std::vector<std::unique_ptr<LookSetting>> &settings)
{
    for (const auto &setting : settings) {
        QString error;
        if (const auto value = setting->get(error))
            return setting->isDark(*value);
    }
    return false;
}

} // namespace

std::optional<QString> LinuxAppearanceSwitch::themeWithoutDarkVariant() const
{
    const auto kept = m_ledger.entries(facility);
    for (const auto &setting : m_settings) {
        QString error;
        const auto current = setting->get(error);
        if (!current)
            continue;
        // The user's own value, where one of ours stands in for it.
        const SettingsLedger::Entry *entry = kept ? entryOf(*kept, setting->name()) : nullptr;
        const QString user = entry && entry->holdsOurs(*current) ? entry->user.toString() : *current;
        if (!setting->isDark(user) && !setting->darkValue(user))
            return gsettings::unquoted(user).value_or(user);
    }
    return std::nullopt;
}

bool LinuxAppearanceSwitch::hasDarkSwitch() const
{
    for (const auto &setting : m_settings) {
        QString error;
        if (setting->get(error))
            return true;
    }
    return false;
}

bool LinuxAppearanceSwitch::isDark() const
{
    return looksDark(m_settings);
}

bool LinuxAppearanceSwitch::sessionLooksDark()
{
    return looksDark(settingsFor(sessionDesktop(), standardThemeFolders(), QDBusConnection::sessionBus()));
}

} // namespace quorvane
