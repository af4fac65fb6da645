// What the start-up, the switch and the menu ask of the hot keys, the timers and watchers, the
// desktop cue, the floating dock and the settings model.
#include "Controller/AppController.h"
#include "Shared/Theme.h"

#include "Desktop/Archiver.h"
#include "Desktop/DesktopWatcher.h"
#include "Settings/SettingsModel.h"
#include "Shared/Log.h"
#include "Triggers/KeyNames.h"

#include <QColor>
#include <QDir>
#include <QFileInfo>
#include <QGuiApplication>
#include <QPalette>
#include <QPointer>

namespace quorvane {

void AppController::hotKeyTriggered(const HotKeyAssignment::Owner &owner)
{
    using Kind = HotKeyAssignment::Owner::Kind;
    switch (owner.kind) {
    case Kind::workspace:
        return switchToLiveDesktop(owner.name);
    case Kind::cycleNext:
        return cycle(1);
    case Kind::cyclePrevious:
        return cycle(-1);
    case Kind::hideDesktop:
        return toggleCollapse();
    case Kind::switchToLast:
        return switchToLastDesktop();
    case Kind::openSettings:
        return openSettings();
    case Kind::openCalendar:
        return openCalendar();
    case Kind::sortNow:
        return sweepActiveDesktopNow();
    case Kind::floatingDock:
        return toggleFloatingDock();
    }
}

// The keys were registered with the document as it was then: since, the desktop may have been
// archived (its folder is in the archive) or deleted, and switching to it would empty the
// Desktop into nothing or fail.
void AppController::switchToLiveDesktop(const QString &name)
{
    m_gate.submit({QStringLiteral("switch to %1").arg(name), [this, name] { switchToLiveDesktopNow(name); }});
}

void AppController::switchToLiveDesktopNow(const QString &name)
{
    const Config config = document();
    for (const Workspace &workspace : config.liveWorkspaces()) {
        if (workspace.name == name) {
            switchNow(workspace.name, true);
            return;
        }
    }
}

void AppController::updateCueOverlay(const std::optional<QString> &name)
{
    const Config config = document();
    m_cueOverlay.showDesktop(config, name.value_or(config.activeWorkspace));
}

QStringList AppController::fireDueTimersIfSafe()
{
    // The files of a switch under way move on their own thread: a desktop's folder is not
    // archived under them.
    if (readOnly() || m_session.swapping())
        return {};
    // A journal that is still there, readable or not, names a switch that has not finished:
    // completing a desktop it names, or recording moves in a document that cannot be saved,
    // would lose track of files.
    try {
        if (m_store.loadJournal())
            return {};
    } catch (const std::exception &error) {
        qCWarning(Log::error()) << "the crash-recovery journal can't be read, desktop timers wait:" << error.what();
        return {};
    }
    return archiver().fireDueTimers(dateNow());
}

void AppController::startScheduler()
{
    QPointer<AppController> weak(this);
    m_schedulerTimer = m_env.scheduler->every(schedulerInterval, [weak] {
        if (weak)
            weak->runSchedulerJob();
    });
}

void AppController::runSchedulerJob()
{
    m_gate.submit({QStringLiteral("the desktop timers"), [this] { runSchedulerJobNow(); }, QStringLiteral("timers")});
}

void AppController::runSchedulerJobNow()
{
    if (fireDueTimersIfSafe().isEmpty())
        return;
    rebuildMenu();
    if (m_settingsModel)
        m_settingsModel->reload();
}

void AppController::observeWake()
{
    QPointer<AppController> weak(this);
    m_sessionObservers.push_back(sessionEvents().observeWake([weak] {
        if (weak)
            weak->runSchedulerJob();
    }));
}

void AppController::observeActiveSpace()
{
    QPointer<AppController> weak(this);
    m_sessionObservers.push_back(sessionEvents().observeWorkspaceChange([weak] {
        if (weak)
            weak->activeSpaceChanged();
    }));
}

void AppController::activeSpaceChanged()
{
    // The cue overlay draws no menu-bar strips, so it has nothing to rebuild here.
    m_floatingDock.activeSpaceChanged();
    // Workspaces a window manager publishes over its socket become known after the launch.
    spaceFollower().refresh();
}

bool AppController::isBusy()
{
    return m_gate.busy() || m_store.hasPendingJournal();
}

SettingsModel &AppController::ensureSettingsModel()
{
    if (m_settingsModel)
        return *m_settingsModel;
    m_settingsModel = std::make_unique<SettingsModel>(m_store, m_env.paths, &archiver());
    SettingsModel &model = *m_settingsModel;
    model.useCueImages(&m_cueImages);
    model.setRefusedHotKeys(m_hotKeys.refusedHotKeys());
    connect(&m_hotKeys, &HotKeyCenter::refusedChanged, &model,
            [this, &model] { model.setRefusedHotKeys(m_hotKeys.refusedHotKeys()); });
    QPointer<AppController> weak(this);
    const auto run = [weak](void (AppController::*operation)()) {
        return [weak, operation] {
            if (weak)
                (weak.data()->*operation)();
        };
    };
    model.onSweepNow = run(&AppController::sweepActiveDesktopNow);
    model.onShowFloatingDock = run(&AppController::toggleFloatingDock);
    model.onSwitch = [weak](const QString &name) {
        if (weak)
            weak->performSwitch(name, true);
    };
    model.onPreviewTransition = run(&AppController::previewSwitchTransition);
    model.onUninstall = [weak] {
        if (weak)
            weak->m_quitAndUninstall.uninstallRequested();
    };
    model.isBusy = [weak] { return weak && weak->isBusy(); };
    return model;
}

} // namespace quorvane
