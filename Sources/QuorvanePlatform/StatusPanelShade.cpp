#include "StatusPanelShade.h"

#include "GSettingsTool.h"
#include "ToolProcess.h"

#include <QGuiApplication>
#include <QPalette>
#include <QProcess>
#include <QStandardPaths>

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
        const auto read = [](const char *key) {
            const gsettings::Result result = gsettings::run({QStringLiteral("get"), QString::fromLatin1(gsettings::interfaceSchema), QString::fromLatin1(key)});
            return result.ok ? result.output : QString();
        };
        hints.colorScheme = read(gsettings::colorSchemeKey);
        hints.themeName = read("gtk-theme");
    }
    if (qGuiApp)
        hints.applicationPaletteDark = QGuiApplication::palette().color(QPalette::Window).lightness() < 128;
    return hints;
}

bool statusPanelIsDark(const StatusPanelHints &hints)
{
    if (desktopIs(hints.currentDesktop, "XFCE") && hints.xfcePanelDark.value_or(false))
        return true;
    if (desktopIs(hints.currentDesktop, "GNOME") || desktopIs(hints.currentDesktop, "Unity"))
        return true;
    if (hints.colorScheme.contains(QLatin1String("prefer-dark")))
        return true;
    if (hints.themeName.contains(QLatin1String("dark"), Qt::CaseInsensitive))
        return true;
    return hints.themeName.isEmpty() && hints.colorScheme.isEmpty() && hints.applicationPaletteDark;
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

} // namespace quorvane
