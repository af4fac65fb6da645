// The road of one switch: guards, cover, sweeps, cue and appearance, the engine, and the
// bookkeeping afterwards.
#include "Controller/SwitchCoordinator.h"

#include "Controller/AppController.h"
#include "Desktop/DesktopWatcher.h"
#include "DesktopSwapper.h"
#include "Overlays/SystemAppearance.h"
#include "Settings/SettingsModel.h"
#include "Shared/Log.h"

#include <QElapsedTimer>
#include <QPointer>

namespace quorvane {

namespace {

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

SwitchCoordinator::SwitchCoordinator(AppController &controller)
    : m_controller(controller)
{
}

void SwitchCoordinator::perform(const QString &target, bool userInitiated)
{
    AppController &c = m_controller;
    SwitchPhases phases;
    if (c.loadOrDefault().activeWorkspace == target)
        return;
    if (c.storeReadOnly)
        return;
    // The launch has said why: with the Desktop in the home folder nothing is ever moved.
    if (c.desktopIsUnsafe())
        return;
    // Only the process that holds the desktops folder's lock moves anything in it.
    if (!c.m_dataLock.acquire())
        return;

    // A switch asked for from inside another one's alert (a nested event loop) must not end
    // the outer switch's busy state: only the outermost switch resumes the watcher.
    const bool outermost = !c.isSwapping;
    c.isSwapping = true;
    c.desktopWatcher().pause();
    struct EndOfSwitch {
        AppController &controller;
        bool outermost;
        ~EndOfSwitch()
        {
            if (!outermost)
                return;
            controller.desktopWatcher().resume();
            controller.isSwapping = false;
        }
    } endOfSwitch{c, outermost};
    // What the switch writes is announced once, as it ends.
    const DocumentService::Batch announceOnce(c.m_store);

    const Config config = c.loadOrDefault();
    const AppSettings &settings = config.settings;
    const QString from = config.activeWorkspace;
    phases.mark("guards");

    switch (settings.switchTransition) {
    case SwitchTransition::none:
        break;
    case SwitchTransition::blur:
        c.m_switchOverlay.cover(SwitchTransition::blur, settings.switchBlurStyle, float(settings.switchBlurOpacity),
                                double(settings.switchFadeInMs) / 1000.0);
        break;
    case SwitchTransition::sweep:
        c.m_switchOverlay.sweep(settings.switchBlurStyle, float(settings.switchBlurOpacity), settings.sweepBandFraction,
                                double(settings.sweepDurationMs) / 1000.0, double(settings.sweepStartDelayMs) / 1000.0,
                                settings.sweepAngleDegrees);
        break;
    }
    const double coverStart = c.m_env.scheduler->now();
    phases.mark("cover");

    sweepInOverruleOrder(config);
    phases.mark("sweeps");
    c.updateCueOverlay(target);
    phases.mark("cue");
    applyAppearance(target, config);
    phases.mark("appearance");

    QStringList skipped;
    QStringList stayed;
    bool completed = false;
    // The visit stamp goes into the engine's last save of the document.
    bool stamped = false;
    try {
        skipped = c.swapper().switchTo(target, [&stamped](Config &config) {
            stampActive(config);
            stamped = true;
        });
        stayed = c.swapper().stayedBehind();
        completed = true;
    } catch (...) {
        present(std::current_exception());
        skipped.clear();
    }
    phases.mark("engine");

    c.rebuildMenu();
    if (c.m_settingsModel)
        c.m_settingsModel->reload();
    phases.mark("refresh");
    // Only a switch that happened says so; a failed one has said why in its alert.
    if (completed) {
        const auto elapsedMs = qint64((c.m_env.scheduler->now() - coverStart) * 1000.0);
        qCInfo(Log::swap()).noquote() << QStringLiteral("switched %1 → %2 in %3ms, %4 pinned-name skips")
                                             .arg(from, target, QString::number(elapsedMs), QString::number(skipped.size()));
    }
    c.m_menuBarIcon.playSwitch(settings.menuBarAnimation);
    if (userInitiated)
        showFirstSwitchNoteIfNeeded(from, target);
    revealWhenSettled(settings.switchTransition, target, coverStart);

    if (from != target)
        c.previousWorkspace = from;
    if (!stamped)
        stampActiveVisited();
    c.spaceFollower().adoptCurrentSpace();
    c.reloadFloatingDock();
    phases.mark("after");
    qCDebug(Log::swap()).noquote() << QStringLiteral("switch phases (ms):") + phases.text();
    if (!skipped.isEmpty())
        notePinnedSkips(skipped);
    if (!stayed.isEmpty())
        noteStayedBehind(stayed);
}

void SwitchCoordinator::applyAppearance(const QString &name, const Config &config)
{
    const Workspace *workspace = config.workspace(name);
    const AppearanceMode mode = workspace ? workspace->preferredAppearance : AppearanceMode::system;
    SystemAppearance &system = m_controller.appearance();
    if (mode == AppearanceMode::system) {
        if (m_appearanceBaseline) {
            const bool wantDark = *m_appearanceBaseline == AppearanceMode::dark;
            if (system.currentIsDark() != wantDark)
                system.setDark(wantDark);
            m_appearanceBaseline.reset();
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
    if (!m_appearanceBaseline)
        m_appearanceBaseline = isDark ? AppearanceMode::dark : AppearanceMode::light;
    system.setDark(wantDark);
}

void SwitchCoordinator::stampActiveVisited()
{
    m_controller.editQuietly(stampActive);
}

void SwitchCoordinator::later(double seconds, std::function<void(SwitchCoordinator &)> fn)
{
    QPointer<AppController> weak(&m_controller);
    m_controller.m_env.scheduler->after(seconds, [weak, fn = std::move(fn)] {
        if (weak)
            fn(weak->m_switching);
    });
}

} // namespace quorvane
