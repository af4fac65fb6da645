// The road of one switch: guards, cover, sweeps, cue and appearance, the engine, and the
// bookkeeping afterwards; the two sweeps and the controller's error alert.
#include "Controller/AppController.h"

#include "AlertPresenter.h"
#include "Desktop/DesktopWatcher.h"
#include "Desktop/ScreenshotFilter.h"
#include "DesktopSwapper.h"
#include "Overlays/SystemAppearance.h"
#include "ScreenshotSweeper.h"
#include "Settings/SettingsModel.h"
#include "Shared/Log.h"
#include "StoreError.h"
#include "SurfaceError.h"
#include "SwapError.h"

#include <QElapsedTimer>
#include <QGuiApplication>
#include <QPointer>
#include <QScreen>
#include <QUrl>

#include <algorithm>

namespace quorvane {

namespace {

QString describe(const std::exception &error)
{
    if (const auto *store = dynamic_cast<const StoreError *>(&error))
        return store->description();
    return QString::fromUtf8(error.what());
}

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

void stampActive(Config &config)
{
    config.updateWorkspace(config.activeWorkspace, [](Workspace &workspace) { workspace.lastActiveAt = dateNow(); });
}

// Where one switch's time goes, phase by phase, for a debug line of the swap category (the
// hot-key benchmark reads it).
class SwitchPhases {
public:
    SwitchPhases() { m_clock.start(); }
    void mark(const char *phase)
    {
        const qint64 now = m_clock.nsecsElapsed();
        m_text += QStringLiteral(" %1 %2").arg(QLatin1StringView(phase), QString::number(double(now - m_last) / 1e6, 'f', 1));
        m_last = now;
    }
    QString text() const { return m_text; }

private:
    QElapsedTimer m_clock;
    qint64 m_last = 0;
    QString m_text;
};

} // namespace

void AppController::performSwitch(const QString &target, bool userInitiated)
{
    SwitchPhases phases;
    if (loadOrDefault().activeWorkspace == target)
        return;
    if (storeReadOnly)
        return;
    // The launch has said why: with the Desktop in the home folder nothing is ever moved.
    if (desktopIsUnsafe())
        return;
    // Only the process that holds the desktops folder's lock moves anything in it.
    if (!m_dataLock.acquire())
        return;

    // A switch asked for from inside another one's alert (a nested event loop) must not end
    // the outer switch's busy state: only the outermost switch resumes the watcher.
    const bool outermost = !isSwapping;
    isSwapping = true;
    desktopWatcher().pause();
    struct EndOfSwitch {
        AppController *controller;
        bool outermost;
        ~EndOfSwitch()
        {
            if (!outermost)
                return;
            controller->desktopWatcher().resume();
            controller->isSwapping = false;
        }
    } endOfSwitch{this, outermost};
    // What the switch writes is announced once, as it ends.
    const DocumentService::Batch announceOnce(m_store);

    const Config config = loadOrDefault();
    const AppSettings &settings = config.settings;
    const QString from = config.activeWorkspace;
    phases.mark("guards");

    switch (settings.switchTransition) {
    case SwitchTransition::none:
        break;
    case SwitchTransition::blur:
        m_switchOverlay.cover(SwitchTransition::blur, settings.switchBlurStyle, float(settings.switchBlurOpacity),
                              double(settings.switchFadeInMs) / 1000.0);
        break;
    case SwitchTransition::sweep:
        m_switchOverlay.sweep(settings.switchBlurStyle, float(settings.switchBlurOpacity), settings.sweepBandFraction,
                              double(settings.sweepDurationMs) / 1000.0, double(settings.sweepStartDelayMs) / 1000.0,
                              settings.sweepAngleDegrees);
        break;
    }
    const double coverStart = m_env.scheduler->now();
    phases.mark("cover");

    sweepInOverruleOrder(config);
    phases.mark("sweeps");
    updateCueOverlay(target);
    phases.mark("cue");
    applyAppearance(target, config);
    phases.mark("appearance");

    QStringList skipped;
    QStringList stayed;
    bool completed = false;
    // The visit stamp goes into the engine's last save of the document.
    bool stamped = false;
    try {
        skipped = swapper().switchTo(target, [&stamped](Config &config) {
            stampActive(config);
            stamped = true;
        });
        stayed = swapper().stayedBehind();
        completed = true;
    } catch (...) {
        present(std::current_exception());
        skipped.clear();
    }
    phases.mark("engine");

    rebuildMenu();
    if (m_settingsModel)
        m_settingsModel->reload();
    phases.mark("refresh");
    // Only a switch that happened says so; a failed one has said why in its alert.
    if (completed) {
        const auto elapsedMs = qint64((m_env.scheduler->now() - coverStart) * 1000.0);
        qCInfo(Log::swap()).noquote() << QStringLiteral("switched %1 → %2 in %3ms, %4 pinned-name skips")
                                             .arg(from, target, QString::number(elapsedMs), QString::number(skipped.size()));
    }
    m_menuBarIcon.playSwitch(settings.menuBarAnimation);
    if (userInitiated)
        showFirstSwitchNoteIfNeeded(from, target);
    revealWhenSettled(settings.switchTransition, target, coverStart);

    if (from != target)
        previousWorkspace = from;
    if (!stamped)
        stampActiveVisited();
    spaceFollower().adoptCurrentSpace();
    reloadFloatingDock();
    phases.mark("after");
    qCDebug(Log::swap()).noquote() << QStringLiteral("switch phases (ms):") + phases.text();
    if (!skipped.isEmpty())
        notePinnedSkips(skipped);
    if (!stayed.isEmpty())
        noteStayedBehind(stayed);
}

void AppController::sweepInOverruleOrder(const Config &config)
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

void AppController::sweepScreenshots(const Config &config)
{
    const AppSettings &settings = config.settings;
    if (!settings.filterScreenshots || settings.screenshotFilteringPaused || !settings.screenshotsWorkspace)
        return;
    const QString target = *settings.screenshotsWorkspace;
    if (!isLiveTarget(config, target))
        return;
    const ScreenshotNames names = ScreenshotNames::of(settings.screenshotNamePrefix);
    const QString desktop = m_env.paths.desktop();
    const auto [width, height] = desktopCanvas();
    ScreenshotSweeper sweeper(m_surface, m_store, width, height, [desktop, names](const QString &name) {
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

void AppController::sweepCustomFilters(const Config &config)
{
    const AppSettings &settings = config.settings;
    if (!settings.customFiltersEnabled)
        return;
    const auto [width, height] = desktopCanvas();
    for (const CustomFilter &rule : settings.customFilters) {
        if (!rule.enabled || rule.pattern.isEmpty() || !isLiveTarget(config, rule.collection))
            continue;
        ScreenshotSweeper sweeper(m_surface, m_store, width, height,
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

void AppController::sweepActiveDesktopNow()
{
    // A read-only session cannot record what a sweep moves: it moves nothing.
    if (storeReadOnly || desktopIsUnsafe() || !m_dataLock.acquire())
        return;
    const Config config = loadOrDefault();
    sweepInOverruleOrder(config);
    rebuildMenu();
    if (m_settingsModel)
        m_settingsModel->reload();
}

std::pair<std::int64_t, std::int64_t> AppController::desktopCanvas()
{
    if (const QScreen *screen = QGuiApplication::primaryScreen()) {
        const QRect frame = screen->geometry();
        return {frame.width(), frame.height()};
    }
    return {1440, 900};
}

void AppController::applyAppearance(const QString &name, const Config &config)
{
    const Workspace *workspace = config.workspace(name);
    const AppearanceMode mode = workspace ? workspace->preferredAppearance : AppearanceMode::system;
    SystemAppearance &system = appearance();
    if (mode == AppearanceMode::system) {
        if (appearanceBaseline) {
            const bool wantDark = *appearanceBaseline == AppearanceMode::dark;
            if (system.currentIsDark() != wantDark)
                system.setDark(wantDark);
            appearanceBaseline.reset();
        }
        // What any desktop borrowed, in this process or one that ended without giving it back,
        // goes back now.
        system.putBack();
        return;
    }
    const bool wantDark = mode == AppearanceMode::dark;
    const bool isDark = system.currentIsDark();
    if (wantDark == isDark)
        return;
    if (!appearanceBaseline)
        appearanceBaseline = isDark ? AppearanceMode::dark : AppearanceMode::light;
    system.setDark(wantDark);
}

void AppController::showFirstSwitchNoteIfNeeded(const QString &from, const QString &target)
{
    if (from == target || from == Config::blankWorkspaceName)
        return;
    const Config current = loadOrDefault();
    if (current.settings.shownFirstSwitchNote || current.activeWorkspace != target)
        return;
    editQuietly([](Config &config) { config.settings.shownFirstSwitchNote = true; });
    QPointer<AppController> weak(this);
    m_env.scheduler->after(1.0, [weak, from] {
        if (!weak)
            return;
        Alert alert;
        alert.message = QStringLiteral("Your files aren't gone!");
        alert.informativeText = QStringLiteral("We moved \u201C") + from
            + QStringLiteral("\u201D into your desktops folder. Check it out, or try switching back!");
        alert.buttons = {QStringLiteral("OK"), QStringLiteral("Show Me the Folder")};
        if (weak->m_env.alerts->present(alert) == 1 && weak->m_env.openUrl)
            weak->m_env.openUrl(QUrl::fromLocalFile(weak->m_env.paths.workspaces()));
    });
}

void AppController::notePinnedSkips(const QStringList &names)
{
    const bool one = names.size() == 1;
    Alert alert;
    alert.message = one ? QStringLiteral("\u201C") + names.front() + QStringLiteral("\u201D stayed in its desktop's folder")
                        : QString::number(names.size()) + QStringLiteral(" items stayed in their desktop's folder");
    alert.informativeText = QStringLiteral("A pinned folder on the Desktop has the same name, so Quorvane didn't bring ")
        + (one ? QStringLiteral("it") : QStringLiteral("them"))
        + QStringLiteral(" out — nothing was moved or overwritten. Rename one of the two, or unpin the folder, and switch again.");
    m_env.alerts->present(alert);
}

void AppController::noteStayedBehind(const QStringList &names)
{
    const bool one = names.size() == 1;
    qCWarning(Log::swap()).noquote() << QStringLiteral("%1 item(s) could not move and stayed where they were: %2")
                                            .arg(QString::number(names.size()), names.join(QStringLiteral(", ")));
    Alert alert;
    alert.message = one ? QStringLiteral("\u201C") + names.front() + QStringLiteral("\u201D stayed where it was")
                        : QString::number(names.size()) + QStringLiteral(" items stayed where they were");
    alert.informativeText = QStringLiteral("Quorvane couldn't move ") + (one ? QStringLiteral("it") : QStringLiteral("them"))
        + QStringLiteral(" (permissions or the name don't allow it), so ") + (one ? QStringLiteral("it") : QStringLiteral("they"))
        + QStringLiteral(" stayed on the Desktop or in the desktop's folder — nothing was moved or overwritten, and the "
                         "rest of the switch went on. Fix ")
        + (one ? QStringLiteral("it") : QStringLiteral("them")) + QStringLiteral(", then switch again.");
    if (!one)
        alert.informativeText += QStringLiteral("\n\n") + names.join(QLatin1Char('\n'));
    m_env.alerts->present(alert);
}

void AppController::present(const std::exception &error)
{
    const QString description = describe(error);
    qCCritical(Log::error()).noquote() << QStringLiteral("surfaced to the user: %1").arg(description);
    Alert alert;
    const auto *swap = dynamic_cast<const SwapError *>(&error);
    if (swap && swap->kind() == SwapError::Kind::crossVolumeStore) {
        alert.message = QStringLiteral("Store is on another volume");
        alert.informativeText =
            QStringLiteral("Quorvane only runs when the workspace store and ~/Desktop are on the same disk.");
    } else if (swap && swap->kind() == SwapError::Kind::desktopMissing) {
        alert.message = QStringLiteral("The Desktop folder is missing");
        alert.informativeText = QStringLiteral("Quorvane can't find your Desktop folder (") + m_env.paths.desktop()
            + QStringLiteral("), so nothing was moved. Create it again, then switch again.");
    } else if (swap && swap->kind() == SwapError::Kind::folderOutOfBounds) {
        alert.message = QStringLiteral("Quorvane won't use the folder of \u201C") + swap->name() + QStringLiteral("\u201D");
        alert.informativeText = QStringLiteral("It leads to your home folder, to the Desktop or to the desktops folder, so "
                                               "switching would move them. Nothing was moved. Make it an ordinary folder "
                                               "inside \u201C")
            + Paths::rootName + QStringLiteral("\u201D, then switch again.");
    } else if (const auto *surface = dynamic_cast<const SurfaceError *>(&error)) {
        // The log has the paths; the user reads the item's name and its place.
        alert.message = QStringLiteral("Something went wrong");
        alert.informativeText = surface->userText();
    } else {
        alert.message = QStringLiteral("Something went wrong");
        alert.informativeText = description;
    }
    m_env.alerts->present(alert);
}

void AppController::present(std::exception_ptr error)
{
    try {
        std::rethrow_exception(error);
    } catch (const std::exception &e) {
        present(e);
    } catch (...) {
        present(std::runtime_error("an unknown error"));
    }
}

void AppController::stampActiveVisited()
{
    editQuietly(stampActive);
}

} // namespace quorvane
