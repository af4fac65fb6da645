#include "Tray/StatusPanelShade.h"

#include "RegularFile.h"
#include "Session/GSettingsTool.h"
#include "Work/HostWork.h"
#include "Work/ToolProcess.h"

#include <QProcess>
#include <QStandardPaths>
#include <algorithm>
#include <array>
#include <cmath>
#include <cstring>
#include <memory>
#include <vector>

namespace quorvane {

namespace {

std::optional<QString> xfconfValue(const QString &channel, const QString &property)
{
    const QString tool = QStandardPaths::findExecutable(QStringLiteral("xfconf-query"));
    if (tool.isEmpty())
        return std::nullopt;
    QProcess process;
    endWithThisProcess(process);
    process.start(tool, {QStringLiteral("-c"), channel, QStringLiteral("-p"), property});
    if (!process.waitForFinished(3000) || process.exitStatus() != QProcess::NormalExit || process.exitCode() != 0) {
        process.kill();
        process.waitForFinished(1000);
        return std::nullopt;
    }
    return QString::fromUtf8(process.readAllStandardOutput()).trimmed();
}

// The ColorScheme of the [General] group of Plasma's kdeglobals; empty without one.
QString plasmaColorScheme()
{
    const QString file = QStandardPaths::locate(QStandardPaths::GenericConfigLocation, QStringLiteral("kdeglobals"));
    const RegularFile::Content content = RegularFile::read(file, 1 << 20, RegularFile::Links::followed);
    if (file.isEmpty() || !content.bytes)
        return {};
    bool general = false;
    for (const QString &line : QString::fromUtf8(*content.bytes).split(QLatin1Char('\n'))) {
        const QString trimmed = line.trimmed();
        if (trimmed.startsWith(QLatin1Char('[')))
            general = trimmed == QLatin1String("[General]");
        else if (general && trimmed.startsWith(QLatin1String("ColorScheme=")))
            return trimmed.mid(int(std::strlen("ColorScheme=")));
    }
    return {};
}

bool desktopIs(const QString &current, const char *name)
{
    const QStringList parts = current.split(QLatin1Char(':'), Qt::SkipEmptyParts);
    return parts.contains(QLatin1String(name), Qt::CaseInsensitive);
}

} // namespace

StatusPanelHints StatusPanelHints::probe()
{
    StatusPanelHints hints;
    hints.currentDesktop = qEnvironmentVariable("XDG_CURRENT_DESKTOP");
    if (desktopIs(hints.currentDesktop, "XFCE")) {
        if (const auto dark = xfconfValue(QStringLiteral("xfce4-panel"), QStringLiteral("/panels/dark-mode")))
            hints.xfcePanelDark = *dark == QLatin1String("true");
        hints.themeName = xfconfValue(QStringLiteral("xsettings"), QStringLiteral("/Net/ThemeName")).value_or(QString());
    } else if (!desktopIs(hints.currentDesktop, "GNOME")) {
        if (desktopIs(hints.currentDesktop, "KDE"))
            hints.kdeColorScheme = plasmaColorScheme();
        if (desktopIs(hints.currentDesktop, "X-Cinnamon") || desktopIs(hints.currentDesktop, "Cinnamon")) {
            const gsettings::Result theme = gsettings::run({QStringLiteral("get"), QStringLiteral("org.cinnamon.theme"), QStringLiteral("name")});
            hints.cinnamonTheme = theme.ok ? gsettings::unquoted(theme.output).value_or(theme.output) : QString();
        }
        const auto read = [](const char *key) {
            const gsettings::Result result = gsettings::run({QStringLiteral("get"), QString::fromLatin1(gsettings::interfaceSchema), QString::fromLatin1(key)});
            return result.ok ? result.output : QString();
        };
        hints.colorScheme = read(gsettings::colorSchemeKey);
        hints.themeName = read("gtk-theme");
    }
    return hints;
}

void StatusPanelHints::probeLater(std::function<void(const StatusPanelHints &)> then)
{
    auto hints = std::make_shared<StatusPanelHints>();
    HostWork::post([hints] { *hints = probe(); }, [hints, then = std::move(then)] { then(*hints); });
}

bool statusPanelIsDark(const StatusPanelHints &hints)
{
    if (desktopIs(hints.currentDesktop, "XFCE") && hints.xfcePanelDark.value_or(false))
        return true;
    if (desktopIs(hints.currentDesktop, "GNOME") || desktopIs(hints.currentDesktop, "Unity"))
        return true;
    if (desktopIs(hints.currentDesktop, "KDE") && !hints.kdeColorScheme.isEmpty())
        return hints.kdeColorScheme.contains(QLatin1String("dark"), Qt::CaseInsensitive);
    if (desktopIs(hints.currentDesktop, "X-Cinnamon") || desktopIs(hints.currentDesktop, "Cinnamon"))
        return !hints.cinnamonTheme.contains(QLatin1String("light"), Qt::CaseInsensitive);
    if (hints.colorScheme.contains(QLatin1String("prefer-dark")))
        return true;
    return hints.themeName.contains(QLatin1String("dark"), Qt::CaseInsensitive);
}

StatusPanelShadeWatcher::StatusPanelShadeWatcher(std::function<void()> changed, QDBusConnection bus, QObject *parent)
    : QObject(parent)
    , m_changed(std::move(changed))
{
    bus.connect(QString(), QStringLiteral("/org/xfce/Xfconf"), QStringLiteral("org.xfce.Xfconf"), QStringLiteral("PropertyChanged"),
                this, SLOT(xfconfPropertyChanged(QString, QString)));
}

void StatusPanelShadeWatcher::xfconfPropertyChanged(const QString &channel, const QString &property)
{
    const bool panel = channel == QLatin1String("xfce4-panel") && property == QLatin1String("/panels/dark-mode");
    const bool theme = channel == QLatin1String("xsettings") && property == QLatin1String("/Net/ThemeName");
    if ((panel || theme) && m_changed)
        m_changed();
}

QColor statusGlyphColour(bool darkPanel)
{
    return darkPanel ? QColor(0xf2, 0xf2, 0xf2) : QColor(0x1e, 0x1e, 0x1e);
}

double contrastRatio(const QColor &a, const QColor &b)
{
    const auto luminance = [](const QColor &colour) {
        const auto channel = [](double c) { return c <= 0.04045 ? c / 12.92 : std::pow((c + 0.055) / 1.055, 2.4); };
        return 0.2126 * channel(colour.redF()) + 0.7152 * channel(colour.greenF()) + 0.0722 * channel(colour.blueF());
    };
    const double la = luminance(a);
    const double lb = luminance(b);
    return (std::max(la, lb) + 0.05) / (std::min(la, lb) + 0.05);
}

QColor statusGlyphColourOn(const QColor &panel)
{
    const QColor light = statusGlyphColour(true);
    const QColor dark = statusGlyphColour(false);
    return contrastRatio(light, panel) > contrastRatio(dark, panel) ? light : dark;
}

QColor dominantColour(const QImage &pixels)
{
    const QImage image = pixels.convertToFormat(QImage::Format_ARGB32);
    std::array<std::vector<int>, 3> channels;
    for (int y = 0; y < image.height(); ++y) {
        const auto *line = reinterpret_cast<const QRgb *>(image.constScanLine(y));
        for (int x = 0; x < image.width(); ++x) {
            if (qAlpha(line[x]) < 255)
                continue;
            channels[0].push_back(qRed(line[x]));
            channels[1].push_back(qGreen(line[x]));
            channels[2].push_back(qBlue(line[x]));
        }
    }
    if (channels[0].empty())
        return {};
    std::array<int, 3> median{};
    for (std::size_t i = 0; i < channels.size(); ++i) {
        auto &values = channels[i];
        std::nth_element(values.begin(), values.begin() + values.size() / 2, values.end());
        median[i] = values[values.size() / 2];
    }
    return QColor(median[0], median[1], median[2]);
}

} // namespace quorvane
