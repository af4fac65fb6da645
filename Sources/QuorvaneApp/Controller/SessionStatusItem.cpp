#include "Controller/SessionStatusItem.h"

#include "Controller/MenuBarIconAnimator.h"
#include "Shared/Log.h"
#include "Tray/PanelStatusItem.h"
#include "Tray/StatusNotifierItem.h"
#include "Tray/StatusPanelShade.h"
#include "Tray/TrayStatusItem.h"
#include "Tray/XEmbedTrayWatcher.h"

#include <QDBusServiceWatcher>
#include <QDir>
#include <QFileInfo>
#include <QPointer>
#include <QTimer>

namespace quorvane {

QString statusIconThemePath(const QString &executablePath)
{
    if (executablePath.isEmpty())
        return {};
    const QString themes = QDir::cleanPath(QFileInfo(executablePath).absolutePath() + QStringLiteral("/../share/quorvane/icons"));
    const QString icon = themes + QStringLiteral("/hicolor/scalable/status/") + QString::fromLatin1(statusIconName)
        + QStringLiteral(".svg");
    return QFileInfo::exists(icon) ? themes : QString();
}

bool statusAreaRecoloursSymbolicIcons(const QString &currentDesktop)
{
    const QStringList parts = currentDesktop.split(QLatin1Char(':'), Qt::SkipEmptyParts);
    // Plasma draws a named symbolic icon as it is drawn (it recolours only icons that carry its
    // colour scheme's stylesheet classes): there the glyph goes as pictures shaded from the panel.
    return parts.contains(QLatin1String("GNOME"), Qt::CaseInsensitive);
}

std::shared_ptr<StatusItem> makeSessionStatusItem(const AppInfo &info)
{
    const QString id = info.identifier.isEmpty() ? QStringLiteral("quorvane") : info.identifier;
    const QString themePath = statusAreaRecoloursSymbolicIcons(qEnvironmentVariable("XDG_CURRENT_DESKTOP"))
        ? statusIconThemePath(info.executablePath)
        : QString();
    PanelStatusItem::Sources sources;
    sources.makeNotifierItem = [id, themePath]() -> std::unique_ptr<StatusItem> {
        auto item = std::make_unique<StatusNotifierItem>(id, QStringLiteral("Quorvane"));
        if (!themePath.isEmpty())
            item->setNamedIcon(QString::fromLatin1(statusIconName), themePath,
                               MenuBarIconAnimator::trayImage(MenuBarIconAnimator::restWidths, MenuBarIconAnimator::restRadii));
        qCInfo(Log::app()) << "status item offered to the status area's watcher as" << item->serviceName();
        return item;
    };
    sources.makeTrayItem = []() -> std::unique_ptr<StatusItem> {
        qCInfo(Log::app()) << "status item docked in the embedding tray";
        return std::make_unique<TrayStatusItem>();
    };
    sources.watcherPresent = [] { return StatusNotifierItem::watcherPresent(); };
    sources.trayPresent = [] { return XEmbedTrayWatcher::trayPresent(); };
    sources.themeGlyphColour = [](std::function<void(QColor)> answer) {
        StatusPanelHints::probeLater(
            [answer = std::move(answer)](const StatusPanelHints &hints) { answer(statusGlyphColour(statusPanelIsDark(hints))); });
    };
    // Status areas that come (or come back) later, of both kinds. The watchers live as long as
    // the item; a change is looked at once the item's own watchers have seen it too.
    sources.watchAreas = [](PanelStatusItem &item) {
        auto *watcher = new QDBusServiceWatcher(QString::fromLatin1(StatusNotifierItem::watcherService),
                                                QDBusConnection::sessionBus(), QDBusServiceWatcher::WatchForOwnerChange, &item);
        QObject::connect(watcher, &QDBusServiceWatcher::serviceOwnerChanged, &item, &PanelStatusItem::statusAreasChanged,
                         Qt::QueuedConnection);
        auto *tray = new XEmbedTrayWatcher(&item);
        QObject::connect(tray, &XEmbedTrayWatcher::trayAppeared, &item, &PanelStatusItem::statusAreasChanged,
                         Qt::QueuedConnection);
        // The panel's theme settings changed (a desktop with a look of its own): read the panel
        // again as it redraws itself.
        new StatusPanelShadeWatcher(
            [weak = QPointer<PanelStatusItem>(&item)] {
                if (weak)
                    weak->panelLookChanged();
            },
            QDBusConnection::sessionBus(), &item);
    };
    return std::make_shared<PanelStatusItem>(std::move(sources));
}

} // namespace quorvane
