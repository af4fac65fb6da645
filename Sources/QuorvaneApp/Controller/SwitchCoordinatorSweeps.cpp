// A switch's sweeps of the Desktop: screenshots and the custom filters, in the order the
// settings give, into live desktops only.
#include "Controller/SwitchCoordinator.h"

#include "Controller/AppController.h"
#include "Desktop/ScreenshotFilter.h"
#include "ScreenshotSweeper.h"
#include "Settings/SettingsModel.h"
#include "Shared/Log.h"
#include "StoreError.h"

#include <QGuiApplication>
#include <QScreen>

namespace quorvane {

namespace {

QSet<QString> pinnedSet(const Config &config)
{
    const QStringList &pinned = config.settings.pinnedFolders;
    return QSet<QString>(pinned.begin(), pinned.end());
}

// A sweep may only fill a desktop whose folder is in the desktops folder: an archived one's
// folder lies in the archive, and a new folder of its name would block its restore.
bool isLiveTarget(const Config &config, const QString &name)
{
    const Workspace *workspace = config.workspace(name);
    return workspace && workspace->state == WorkspaceState::active;
}

} // namespace

void SwitchCoordinator::sweepInOverruleOrder(const Config &config)
{
    // The sweep that runs second finds what the first left; the overruling one goes first.
    if (config.settings.screenshotsOverruleCustom) {
        sweepScreenshots(config);
        sweepCustomFilters(config);
    } else {
        sweepCustomFilters(config);
        sweepScreenshots(config);
    }
}

void SwitchCoordinator::sweepScreenshots(const Config &config)
{
    AppController &c = m_controller;
    const AppSettings &settings = config.settings;
    if (!settings.filterScreenshots || settings.screenshotFilteringPaused || !settings.screenshotsWorkspace)
        return;
    const QString target = *settings.screenshotsWorkspace;
    if (!isLiveTarget(config, target))
        return;
    const ScreenshotNames names = ScreenshotNames::of(settings.screenshotNamePrefix);
    const QString desktop = c.environment().paths.desktop();
    const auto [width, height] = desktopCanvas();
    ScreenshotSweeper sweeper(c.surface(), c.store(), width, height, [desktop, names](const QString &name) {
        return ScreenshotFilter::isScreenshot(desktop + QLatin1Char('/') + name, names);
    });
    try {
        const QStringList moved = sweeper.sweep(target, config.activeWorkspace, pinnedSet(config));
        if (!moved.isEmpty())
            qCInfo(Log::sweep()).noquote()
                << QStringLiteral("swept %1 screenshot(s) into %2").arg(QString::number(moved.size()), target);
    } catch (const std::exception &error) {
        qCCritical(Log::error()).noquote() << QStringLiteral("screenshot sweep failed: %1").arg(describe(error));
    }
}

void SwitchCoordinator::sweepCustomFilters(const Config &config)
{
    AppController &c = m_controller;
    const AppSettings &settings = config.settings;
    if (!settings.customFiltersEnabled)
        return;
    const auto [width, height] = desktopCanvas();
    for (const CustomFilter &rule : settings.customFilters) {
        if (!rule.enabled || rule.pattern.isEmpty() || !isLiveTarget(config, rule.collection))
            continue;
        ScreenshotSweeper sweeper(c.surface(), c.store(), width, height,
                                  [rule](const QString &name) { return rule.matches(name); });
        try {
            const QStringList moved = sweeper.sweep(rule.collection, config.activeWorkspace, pinnedSet(config));
            if (!moved.isEmpty())
                qCInfo(Log::sweep()).noquote() << QStringLiteral("filter \u201C%1\u201D swept %2 file(s) into %3")
                                                      .arg(rule.pattern, QString::number(moved.size()), rule.collection);
        } catch (const std::exception &error) {
            qCCritical(Log::error()).noquote() << QStringLiteral("custom-filter sweep failed: %1").arg(describe(error));
        }
    }
}

void SwitchCoordinator::sweepActiveDesktopNow()
{
    AppController &c = m_controller;
    // A read-only session cannot record what a sweep moves: it moves nothing.
    if (c.readOnly() || c.desktopIsUnsafe() || !c.sessionState().dataLock().acquire())
        return;
    const Config config = c.document();
    sweepInOverruleOrder(config);
    c.rebuildMenu();
    if (c.settingsModel())
        c.settingsModel()->reload();
}

std::pair<std::int64_t, std::int64_t> SwitchCoordinator::desktopCanvas()
{
    if (const QScreen *screen = QGuiApplication::primaryScreen()) {
        const QRect frame = screen->geometry();
        return {frame.width(), frame.height()};
    }
    return {1440, 900};
}

} // namespace quorvane
