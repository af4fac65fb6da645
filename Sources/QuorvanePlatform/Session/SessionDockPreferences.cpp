#include "Session/SessionDockPreferences.h"

#include "RegularFile.h"
#include "Session/GSettingsTool.h"
#include "Work/ToolProcess.h"

#include <QDir>
#include <QMap>
#include <QRegularExpression>
#include <QStandardPaths>

#include <map>

namespace quorvane {

namespace {

bool sessionIs(const SessionSources &sources, const char *name)
{
    return sources.currentDesktop.split(QLatin1Char(':')).contains(QLatin1String(name), Qt::CaseInsensitive);
}

// The corner part of a "wvous-<corner>-<suffix>" key; empty for any other key. Read by hand: the
// dock asks for its tile size as the application starts, and a pattern here would load the
// regular-expression library for that one look.
QString cornerOf(const QString &key, const QString &suffix)
{
    const QLatin1String prefix("wvous-");
    if (!key.startsWith(prefix) || key.size() != prefix.size() + 3 + suffix.size() || key.at(prefix.size() + 2) != u'-'
        || !key.endsWith(suffix))
        return {};
    const QString corner = key.mid(prefix.size(), 2);
    for (const char *known : {"tl", "tr", "bl", "br"}) {
        if (corner == QLatin1String(known))
            return corner;
    }
    return {};
}

// The design's corner actions that a Linux corner can stand for.
constexpr int overviewAction = 2;
constexpr int showDesktopAction = 4;
constexpr int launcherAction = 11;
constexpr int lockScreenAction = 13;

// --- GNOME ---------------------------------------------------------------------------------

std::optional<int> gnomeCorner(const SessionSources &sources, const QString &corner)
{
    // GNOME Shell's one hot corner, the top-left, opens the overview.
    if (corner != QLatin1String("tl") || !sessionIs(sources, "GNOME") || !sources.gsetting)
        return std::nullopt;
    const auto on = sources.gsetting(QStringLiteral("org.gnome.desktop.interface"), QStringLiteral("enable-hot-corners"));
    if (on && *on == QLatin1String("true"))
        return overviewAction;
    return std::nullopt;
}

std::optional<QVariant> dashToDock(const SessionSources &sources, const QString &key)
{
    if (!sessionIs(sources, "GNOME") || !sources.gsetting)
        return std::nullopt;
    const auto enabled = sources.gsetting(QStringLiteral("org.gnome.shell"), QStringLiteral("enabled-extensions"));
    if (!enabled || !(enabled->contains(QLatin1String("dash-to-dock")) || enabled->contains(QLatin1String("ubuntu-dock"))))
        return std::nullopt;
    const QString schema = QStringLiteral("org.gnome.shell.extensions.dash-to-dock");
    if (key == QLatin1String("tilesize")) {
        bool number = false;
        const auto size = sources.gsetting(schema, QStringLiteral("dash-max-icon-size"));
        const int points = size ? size->toInt(&number) : 0;
        return number && points > 0 ? std::optional<QVariant>(QVariant(double(points))) : std::nullopt;
    }
    if (key == QLatin1String("orientation")) {
        const auto position = sources.gsetting(schema, QStringLiteral("dock-position"));
        if (position == QLatin1String("'LEFT'"))
            return QVariant(QStringLiteral("left"));
        if (position == QLatin1String("'RIGHT'"))
            return QVariant(QStringLiteral("right"));
        if (position == QLatin1String("'BOTTOM'"))
            return QVariant(QStringLiteral("bottom"));
        return std::nullopt;
    }
    if (key == QLatin1String("autohide")) {
        const auto fixed = sources.gsetting(schema, QStringLiteral("dock-fixed"));
        if (fixed == QLatin1String("true") || fixed == QLatin1String("false"))
            return QVariant(*fixed == QLatin1String("false"));
    }
    return std::nullopt;
}

// --- XFCE ----------------------------------------------------------------------------------

struct XfcePanel {
    int id = 0;
    QMap<QString, QString> values; // property name under /panels/panel-<id>/ → its value
};

// The panels of an xfconf listing, in the order of their numbers.
std::map<int, XfcePanel> xfcePanels(const QString &listing)
{
    static const QRegularExpression line(QStringLiteral("^/panels/panel-(\\d+)/([\\w-]+)\\s+(.*)$"));
    std::map<int, XfcePanel> panels;
    for (const QString &text : listing.split(QLatin1Char('\n'))) {
        const auto match = line.match(text.trimmed());
        if (!match.hasMatch())
            continue;
        const int id = match.captured(1).toInt();
        panels[id].id = id;
        panels[id].values.insert(match.captured(2), match.captured(3).trimmed());
    }
    return panels;
}

// The edge a panel lies along: its snap position ("p=N;…") read with its mode (0 horizontal,
// 1 vertical, 2 deskbar); empty when it floats free.
QString xfceEdge(const XfcePanel &panel)
{
    static const QRegularExpression snap(QStringLiteral("^p=(\\d+)"));
    const auto match = snap.match(panel.values.value(QStringLiteral("position")));
    if (!match.hasMatch())
        return {};
    const int p = match.captured(1).toInt();
    const bool horizontal = panel.values.value(QStringLiteral("mode"), QStringLiteral("0")) == QLatin1String("0");
    // Snap positions: 1-4 along the right edge (E, NE, EC, SE), 5-8 the left (W, NW, WC, SW),
    // 9 and 11 the top (NC, N), 10 and 12 the bottom (SC, S); a corner belongs to the edge the
    // panel's orientation runs along.
    if (horizontal) {
        if (p == 2 || p == 6 || p == 9 || p == 11)
            return QStringLiteral("top");
        if (p == 4 || p == 8 || p == 10 || p == 12)
            return QStringLiteral("bottom");
        return {};
    }
    if (p >= 5 && p <= 8)
        return QStringLiteral("left");
    if (p >= 1 && p <= 4)
        return QStringLiteral("right");
    return {};
}

std::optional<QVariant> xfcePanel(const SessionSources &sources, const QString &key)
{
    if (!sessionIs(sources, "XFCE") || !sources.xfconfListing)
        return std::nullopt;
    const auto listing = sources.xfconfListing(QStringLiteral("xfce4-panel"));
    if (!listing)
        return std::nullopt;
    for (const auto &[id, panel] : xfcePanels(*listing)) {
        const QString edge = xfceEdge(panel);
        if (edge.isEmpty() || edge == QLatin1String("top"))
            continue;
        if (key == QLatin1String("orientation"))
            return QVariant(edge);
        if (key == QLatin1String("autohide"))
            return QVariant(panel.values.value(QStringLiteral("autohide-behavior"), QStringLiteral("0")) != QLatin1String("0"));
        bool number = false;
        const int size = panel.values.value(QStringLiteral("size")).toInt(&number);
        return number && size > 0 ? std::optional<QVariant>(QVariant(double(size))) : std::nullopt;
    }
    return std::nullopt;
}

// --- KDE -----------------------------------------------------------------------------------

// kwinrc's groups and keys (a plain key file; KDE's escapes do not occur in these keys).
QMap<QString, QMap<QString, QString>> keyFile(const QString &path)
{
    QMap<QString, QMap<QString, QString>> groups;
    const auto text = RegularFile::readOrWarn(path, 1024 * 1024, RegularFile::Links::followed);
    if (!text)
        return groups;
    QString group;
    for (const QByteArray &raw : text->split('\n')) {
        const QString line = QString::fromUtf8(raw).trimmed();
        if (line.startsWith(QLatin1Char('[')) && line.endsWith(QLatin1Char(']')))
            group = line.mid(1, line.size() - 2);
        else if (const qsizetype eq = line.indexOf(QLatin1Char('=')); eq > 0 && !line.startsWith(QLatin1Char('#')))
            groups[group].insert(line.left(eq).trimmed(), line.mid(eq + 1).trimmed());
    }
    return groups;
}

std::optional<int> kdeCorner(const SessionSources &sources, const QString &corner)
{
    if (!sessionIs(sources, "KDE"))
        return std::nullopt;
    const auto kwin = keyFile(sources.configHome + QStringLiteral("/kwinrc"));
    static const QMap<QString, QString> names{{QStringLiteral("tl"), QStringLiteral("TopLeft")},
                                              {QStringLiteral("tr"), QStringLiteral("TopRight")},
                                              {QStringLiteral("bl"), QStringLiteral("BottomLeft")},
                                              {QStringLiteral("br"), QStringLiteral("BottomRight")}};
    // KWin's numbers for the corners, as its effects store them.
    static const QMap<QString, QString> numbers{{QStringLiteral("tl"), QStringLiteral("7")},
                                                {QStringLiteral("tr"), QStringLiteral("1")},
                                                {QStringLiteral("bl"), QStringLiteral("5")},
                                                {QStringLiteral("br"), QStringLiteral("3")}};
    const QString builtIn = kwin.value(QStringLiteral("ElectricBorders")).value(names.value(corner));
    if (builtIn == QLatin1String("ShowDesktop"))
        return showDesktopAction;
    if (builtIn == QLatin1String("LockScreen"))
        return lockScreenAction;
    if (builtIn == QLatin1String("ApplicationLauncher") || builtIn == QLatin1String("KRunner"))
        return launcherAction;
    if (builtIn == QLatin1String("ActivityManager"))
        return overviewAction;
    for (const char *effect : {"Effect-overview", "Effect-windowview", "Effect-desktopgrid"}) {
        const auto group = kwin.value(QLatin1String(effect));
        for (const char *setting : {"BorderActivate", "BorderActivateAll"}) {
            if (group.value(QLatin1String(setting)).split(QLatin1Char(',')).contains(numbers.value(corner)))
                return overviewAction;
        }
    }
    // Unchanged, KWin opens its overview from the top-left corner.
    const bool overviewMoved = kwin.value(QStringLiteral("Effect-overview")).contains(QStringLiteral("BorderActivate"));
    if (corner == QLatin1String("tl") && !overviewMoved && builtIn.isEmpty())
        return overviewAction;
    return std::nullopt;
}

} // namespace

SessionSources SessionSources::live()
{
    SessionSources sources;
    sources.currentDesktop = qEnvironmentVariable("XDG_CURRENT_DESKTOP");
    sources.gsetting = [](const QString &schema, const QString &key) -> std::optional<QString> {
        const auto result = gsettings::run({QStringLiteral("get"), schema, key});
        return result.ok ? std::optional<QString>(result.output) : std::nullopt;
    };
    sources.xfconfListing = [](const QString &channel) -> std::optional<QString> {
        const ToolResult listing = runTool(QStringLiteral("xfconf-query"), {QStringLiteral("-c"), channel, QStringLiteral("-lv")});
        return listing.ok ? std::optional<QString>(listing.output) : std::nullopt;
    };
    sources.configHome = QStandardPaths::writableLocation(QStandardPaths::GenericConfigLocation);
    return sources;
}

std::optional<QVariant> sessionDockPreference(const SessionSources &sources, const QString &key)
{
    if (const QString corner = cornerOf(key, QStringLiteral("corner")); !corner.isEmpty()) {
        if (const auto action = gnomeCorner(sources, corner))
            return QVariant(*action);
        if (const auto action = kdeCorner(sources, corner))
            return QVariant(*action);
        return std::nullopt;
    }
    if (const QString corner = cornerOf(key, QStringLiteral("modifier")); !corner.isEmpty()) {
        // The session's corners fire without a modifier key.
        if (gnomeCorner(sources, corner) || kdeCorner(sources, corner))
            return QVariant(0);
        return std::nullopt;
    }
    if (key == QLatin1String("tilesize") || key == QLatin1String("orientation") || key == QLatin1String("autohide")) {
        if (auto value = xfcePanel(sources, key))
            return value;
        return dashToDock(sources, key);
    }
    return std::nullopt;
}

} // namespace quorvane
