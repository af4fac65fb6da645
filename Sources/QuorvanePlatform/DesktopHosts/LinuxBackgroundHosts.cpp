#include "DesktopHosts/LinuxBackgroundHosts.h"

#include "DesktopHosts/DesktopHostProcess.h"
#include "DesktopHosts/PlasmaBackgroundHost.h"
#include "RegularFile.h"
#include "Session/GSettingsTool.h"
#include "Work/ToolProcess.h"

#include <QColor>
#include <QDBusConnectionInterface>
#include <QDeadlineTimer>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QGuiApplication>
#include <QRegularExpression>
#include <QScreen>
#include <QSet>
#include <QThread>
#include <QUrl>

#include <algorithm>

#include <unistd.h>

namespace quorvane {

// xfdesktop

namespace {

const QRegularExpression &xfdesktopKey()
{
    static const QRegularExpression key(
        QStringLiteral("^(/backdrop/screen0/monitor[^/]+/workspace[0-9]+)/(last-image|image-style|color-style|rgba1)$"));
    return key;
}

QStringList screenNames()
{
    QStringList names;
    for (const QScreen *screen : QGuiApplication::screens())
        names.append(screen->name());
    return names;
}

} // namespace

XfdesktopBackgroundHost::XfdesktopBackgroundHost(const QDBusConnection &bus, QStringList monitors)
    : m_channel(QStringLiteral("xfce4-desktop"), bus)
    , m_monitors(std::move(monitors))
{
}

std::optional<QVariantMap> XfdesktopBackgroundHost::read(QString &error)
{
    const auto all = m_channel.properties(QStringLiteral("/backdrop"), error);
    if (!all)
        return std::nullopt;
    QVariantMap values;
    for (auto it = all->cbegin(); it != all->cend(); ++it) {
        if (xfdesktopKey().match(it.key()).hasMatch())
            values.insert(it.key(), it.value());
    }
    return values;
}

std::optional<QString> XfdesktopBackgroundHost::write(const QVariantMap &values)
{
    for (auto it = values.cbegin(); it != values.cend(); ++it) {
        const auto failure = it.value().isValid() ? m_channel.setProperty(it.key(), it.value())
                                                  : m_channel.resetProperty(it.key());
        if (failure)
            return it.key() + QStringLiteral(": ") + *failure;
    }
    return std::nullopt;
}

QVariantMap XfdesktopBackgroundHost::cueValues(const BackgroundFill &fill, const QVariantMap &current) const
{
    QSet<QString> prefixes;
    for (auto it = current.cbegin(); it != current.cend(); ++it)
        prefixes.insert(xfdesktopKey().match(it.key()).captured(1));
    if (prefixes.isEmpty()) {
        for (const QString &monitor : m_monitors.isEmpty() ? screenNames() : m_monitors)
            prefixes.insert(QStringLiteral("/backdrop/screen0/monitor") + monitor + QStringLiteral("/workspace0"));
    }
    QVariantMap values;
    for (const QString &prefix : prefixes) {
        if (fill.kind == BackgroundFill::Kind::color) {
            const QColor color(fill.color);
            values.insert(prefix + QStringLiteral("/image-style"), 0); // no picture
            values.insert(prefix + QStringLiteral("/color-style"), 0); // one solid colour
            values.insert(prefix + QStringLiteral("/rgba1"),
                          QVariantList{color.red() / 255.0, color.green() / 255.0, color.blue() / 255.0, 1.0});
        } else {
            values.insert(prefix + QStringLiteral("/image-style"), 3); // stretched over the screen
            values.insert(prefix + QStringLiteral("/last-image"), fill.image);
        }
    }
    return values;
}

std::optional<BackgroundFill> XfdesktopBackgroundHost::shownBy(const QVariantMap &values) const
{
    // The first monitor and workspace the channel holds a background for.
    QStringList prefixes;
    for (auto it = values.cbegin(); it != values.cend(); ++it)
        prefixes << xfdesktopKey().match(it.key()).captured(1);
    prefixes.removeAll(QString());
    if (prefixes.isEmpty())
        return std::nullopt;
    std::sort(prefixes.begin(), prefixes.end());
    const QString prefix = prefixes.front();
    const QString image = values.value(prefix + QStringLiteral("/last-image")).toString();
    if (values.value(prefix + QStringLiteral("/image-style"), 1).toInt() != 0 && !image.isEmpty())
        return BackgroundFill{BackgroundFill::Kind::image, {}, image};
    const QVariantList rgba = values.value(prefix + QStringLiteral("/rgba1")).toList();
    if (rgba.size() < 3)
        return std::nullopt;
    const QColor color = QColor::fromRgbF(float(rgba[0].toDouble()), float(rgba[1].toDouble()), float(rgba[2].toDouble()));
    return BackgroundFill{BackgroundFill::Kind::color, color.name().toUpper(), {}};
}

// pcmanfm

namespace {
const QString wallpaperKey = QStringLiteral("wallpaper");
const QString modeKey = QStringLiteral("wallpaper_mode");
} // namespace

PcmanfmBackgroundHost::PcmanfmBackgroundHost(const QString &configHome, const QString &profile, int saveTimeoutMs)
    : m_configHome(configHome)
    , m_profile(profile)
    , m_saveTimeoutMs(saveTimeoutMs)
{
}

QString PcmanfmBackgroundHost::configFile() const
{
    return m_configHome + QStringLiteral("/pcmanfm/") + m_profile + QStringLiteral("/desktop-items-0.conf");
}

std::optional<QVariantMap> PcmanfmBackgroundHost::read(QString &error)
{
    QVariantMap values;
    // Read where a link leads (a configuration kept elsewhere), but only a regular file.
    const RegularFile::Content content = RegularFile::read(configFile(), 4 * 1024 * 1024, RegularFile::Links::followed);
    if (content.missing())
        return values; // the desktop's defaults, nothing of the user's yet
    if (!content.bytes) {
        error = content.reason;
        return std::nullopt;
    }
    bool inMain = false;
    const QStringList lines = QString::fromUtf8(*content.bytes).split(QLatin1Char('\n'));
    for (const QString &line : lines) {
        if (line.startsWith(QLatin1Char('['))) {
            inMain = line.trimmed() == QLatin1String("[*]");
            continue;
        }
        const qsizetype equals = line.indexOf(QLatin1Char('='));
        if (!inMain || equals < 0)
            continue;
        const QString key = line.left(equals).trimmed();
        if (key == wallpaperKey || key == modeKey)
            values.insert(key, line.mid(equals + 1));
    }
    return values;
}

std::optional<QString> PcmanfmBackgroundHost::write(const QVariantMap &values)
{
    QStringList arguments{QStringLiteral("--profile"), m_profile};
    // The desktop forgets no setting through its command line: one it did not hold stays.
    const QString wallpaper = values.value(wallpaperKey).toString();
    if (!wallpaper.isEmpty())
        arguments << QStringLiteral("--set-wallpaper=") + wallpaper;
    const QString mode = values.value(modeKey).toString();
    if (!mode.isEmpty())
        arguments << QStringLiteral("--wallpaper-mode=") + mode;
    if (arguments.size() == 2)
        return std::nullopt;
    const ToolResult result = runTool(QStringLiteral("pcmanfm"), arguments);
    if (!result.ok)
        return result.error;
    // The desktop saves its profile a moment after it took the command: until then its file
    // still names the picture before. Done once the file says so, so that what is read next is
    // what the desktop shows (never an earlier picture of ours taken for the user's).
    const auto saved = [&](const QVariantMap &now) {
        for (auto it = values.cbegin(); it != values.cend(); ++it) {
            if (!it.value().toString().isEmpty() && now.value(it.key()).toString() != it.value().toString())
                return false;
        }
        return true;
    };
    QDeadlineTimer deadline(m_saveTimeoutMs);
    for (;;) {
        QString error;
        if (const auto now = read(error); now && saved(*now))
            return std::nullopt;
        if (deadline.hasExpired())
            return QStringLiteral("pcmanfm took the wallpaper but did not save it in %1").arg(configFile());
        QThread::msleep(20);
    }
}

QVariantMap PcmanfmBackgroundHost::cueValues(const BackgroundFill &fill, const QVariantMap &) const
{
    return {{wallpaperKey, fill.image}, {modeKey, QStringLiteral("stretch")}};
}

std::optional<BackgroundFill> PcmanfmBackgroundHost::shownBy(const QVariantMap &values) const
{
    // A desktop in colour mode keeps its colour elsewhere: nothing this host reads.
    const QString image = values.value(wallpaperKey).toString();
    if (image.isEmpty() || values.value(modeKey).toString() == QLatin1String("color"))
        return std::nullopt;
    return BackgroundFill{BackgroundFill::Kind::image, {}, image};
}

// GSettings

namespace {

QStringList backgroundKeys(const QString &schema)
{
    if (schema == QLatin1String("org.mate.background"))
        return {QStringLiteral("picture-filename"), QStringLiteral("picture-options"), QStringLiteral("primary-color"),
                QStringLiteral("color-shading-type")};
    return {QStringLiteral("picture-uri"), QStringLiteral("picture-uri-dark"), QStringLiteral("picture-options"),
            QStringLiteral("primary-color"), QStringLiteral("color-shading-type")};
}

} // namespace

GSettingsBackgroundHost::GSettingsBackgroundHost(const QString &schema)
    : m_schema(schema)
{
}

std::optional<QVariantMap> GSettingsBackgroundHost::read(QString &error)
{
    // The whole schema in one run: "schema key value" a line.
    const auto result = gsettings::run({QStringLiteral("list-recursively"), m_schema});
    if (!result.ok) {
        error = result.error;
        return std::nullopt;
    }
    const QStringList keys = backgroundKeys(m_schema);
    QVariantMap values;
    for (const QString &line : result.output.split(QLatin1Char('\n'))) {
        const qsizetype keyStart = line.indexOf(QLatin1Char(' '));
        const qsizetype valueStart = line.indexOf(QLatin1Char(' '), keyStart + 1);
        if (keyStart < 0 || valueStart < 0 || line.left(keyStart) != m_schema)
            continue;
        const QString key = line.mid(keyStart + 1, valueStart - keyStart - 1);
        if (keys.contains(key))
            values.insert(key, line.mid(valueStart + 1));
    }
    return values;
}

std::optional<QStringList> GSettingsBackgroundHost::choices(const QString &key) const
{
    // "enum" and then one accepted value a line; "type s" and the others take any value.
    const auto result = gsettings::run({QStringLiteral("range"), m_schema, key});
    if (!result.ok)
        return std::nullopt;
    QStringList lines = result.output.split(QLatin1Char('\n'), Qt::SkipEmptyParts);
    if (lines.isEmpty() || lines.takeFirst().trimmed() != QLatin1String("enum"))
        return std::nullopt;
    for (QString &line : lines)
        line = line.trimmed();
    return lines;
}

std::optional<QString> GSettingsBackgroundHost::write(const QVariantMap &values)
{
    if (values.isEmpty())
        return std::nullopt;
    // A value outside its key's range is refused before anything is written.
    for (auto it = values.cbegin(); it != values.cend(); ++it) {
        if (!it.value().isValid())
            continue;
        const auto accepted = choices(it.key());
        if (accepted && !accepted->contains(it.value().toString()))
            return it.key() + QStringLiteral(": ") + it.value().toString() + QStringLiteral(" is outside the key's range");
    }
    QString error;
    const auto before = read(error);
    if (!before)
        return error;
    QStringList written;
    for (auto it = values.cbegin(); it != values.cend(); ++it) {
        const auto result = it.value().isValid()
            ? gsettings::run({QStringLiteral("set"), m_schema, it.key(), it.value().toString()})
            : gsettings::run({QStringLiteral("reset"), m_schema, it.key()});
        if (!result.ok) {
            // All of the change or none of it: what was written already goes back.
            for (const QString &key : written) {
                if (before->contains(key))
                    gsettings::run({QStringLiteral("set"), m_schema, key, before->value(key).toString()});
                else
                    gsettings::run({QStringLiteral("reset"), m_schema, key});
            }
            return it.key() + QStringLiteral(": ") + result.error;
        }
        written << it.key();
    }
    return std::nullopt;
}

QVariantMap GSettingsBackgroundHost::cueValues(const BackgroundFill &fill, const QVariantMap &current) const
{
    QVariantMap values;
    const auto put = [&](const QString &key, const QString &value) {
        if (current.contains(key))
            values.insert(key, value);
    };
    const QString options = QStringLiteral("picture-options");
    const auto accepted = choices(options);
    const auto accepts = [&](const QString &value) { return !accepted || accepted->contains(value); };
    const auto showPicture = [&](const QString &image) {
        const QString uri = gsettings::quoted(QUrl::fromLocalFile(image).toString(QUrl::FullyEncoded));
        put(QStringLiteral("picture-uri"), uri);
        put(QStringLiteral("picture-uri-dark"), uri);
        put(QStringLiteral("picture-filename"), gsettings::quoted(image));
        put(options, QStringLiteral("'stretched'"));
    };
    if (fill.kind == BackgroundFill::Kind::color) {
        put(QStringLiteral("primary-color"), gsettings::quoted(fill.color));
        put(QStringLiteral("color-shading-type"), QStringLiteral("'solid'"));
        if (accepts(QStringLiteral("'none'"))) {
            put(options, QStringLiteral("'none'"));
        } else if (current.contains(QStringLiteral("picture-filename"))) {
            // A schema without 'none' (MATE's) shows its colour where no picture is named.
            put(QStringLiteral("picture-filename"), QStringLiteral("''"));
        } else if (!fill.image.isEmpty()) {
            showPicture(fill.image);
        }
    } else {
        showPicture(fill.image);
    }
    if (values.contains(options) && !accepts(values.value(options).toString()))
        values.remove(options);
    return values;
}

std::optional<BackgroundFill> GSettingsBackgroundHost::shownBy(const QVariantMap &values) const
{
    const auto text = [&](const char *key) { return gsettings::unquoted(values.value(QLatin1String(key)).toString()); };
    if (text("picture-options") != QStringLiteral("none")) {
        if (const auto uri = text("picture-uri"); uri && QUrl(*uri).isLocalFile())
            return BackgroundFill{BackgroundFill::Kind::image, {}, QUrl(*uri).toLocalFile()};
        if (const auto file = text("picture-filename"); file && !file->isEmpty())
            return BackgroundFill{BackgroundFill::Kind::image, {}, *file};
    }
    if (const auto color = text("primary-color"); color && QColor(*color).isValid())
        return BackgroundFill{BackgroundFill::Kind::color, QColor(*color).name().toUpper(), {}};
    return std::nullopt;
}

// The session's host

namespace {

bool plasmaShellRuns()
{
    const QDBusConnectionInterface *bus = QDBusConnection::sessionBus().interface();
    return bus && bus->isServiceRegistered(QStringLiteral("org.kde.plasmashell")).value();
}

} // namespace

std::shared_ptr<BackgroundHost> findBackgroundHost()
{
    if (const auto desktop = runningDesktopHost()) {
        if (desktop->name == QLatin1String("xfdesktop"))
            return std::make_shared<XfdesktopBackgroundHost>();
        if (desktop->name == QLatin1String("pcmanfm"))
            return std::make_shared<PcmanfmBackgroundHost>(configHome(), desktop->profile);
    }
    const QStringList session = qEnvironmentVariable("XDG_CURRENT_DESKTOP").toUpper().split(QLatin1Char(':'));
    if (session.contains(QLatin1String("X-CINNAMON")) || session.contains(QLatin1String("CINNAMON")))
        return std::make_shared<GSettingsBackgroundHost>(QStringLiteral("org.cinnamon.desktop.background"));
    if (session.contains(QLatin1String("MATE")))
        return std::make_shared<GSettingsBackgroundHost>(QStringLiteral("org.mate.background"));
    if (session.contains(QLatin1String("GNOME")))
        return std::make_shared<GSettingsBackgroundHost>(QStringLiteral("org.gnome.desktop.background"));
    if (session.contains(QLatin1String("KDE")) && plasmaShellRuns())
        return std::make_shared<PlasmaBackgroundHost>();
    return nullptr;
}

bool desktopIconWindowRuns()
{
    return runningDesktopHost().has_value() || plasmaShellRuns();
}

} // namespace quorvane
