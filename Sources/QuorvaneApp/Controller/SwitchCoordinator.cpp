// The road of one switch: guards, cover, sweeps, cue and appearance, the engine, and the
// bookkeeping afterwards.
#include "Controller/SwitchCoordinator.h"

#include "Controller/AppController.h"
#include "Desktop/DesktopWatcher.h"
#include "DesktopSwapper.h"
#include "Overlays/SystemAppearance.h"
#include "Settings/SettingsModel.h"
#include "Shared/Log.h"

#include "Controller/SwitchRun.h"

#include <QPointer>
#include <QScopeGuard>
#include <QSignalBlocker>

namespace quorvane {

SwitchCoordinator::SwitchCoordinator(AppController &controller)
    : m_controller(controller)
{
}

SwitchCoordinator::~SwitchCoordinator()
{
    m_worker.wait();
    if (!m_engine)
        return;
    // Quitting while the files moved: they have, under the journal; what was written
    // meanwhile is saved, told to nobody (the listeners are going).
    const QSignalBlocker quiet(&m_controller.m_store);
    m_controller.m_store.endEngine();
    m_engine.reset();
}

void SwitchCoordinator::perform(const QString &target, bool userInitiated)
{
    AppController &c = m_controller;
    // One switch's files at a time: the request is served once this one has ended.
    if (m_engine) {
        qCInfo(Log::swap()).noquote() << QStringLiteral("switch to %1 held until the one to %2 ends").arg(target, m_engine->target);
        m_held.emplace_back(target, userInitiated);
        return;
    }
    if (c.document().activeWorkspace == target)
        return;
    if (c.storeReadOnly)
        return;
    // The launch has said why: with the Desktop in the home folder nothing is ever moved.
    if (c.desktopIsUnsafe())
        return;
    // Only the process that holds the desktops folder's lock moves anything in it.
    if (!c.m_dataLock.acquire())
        return;

    // Busy from here until the last switch begun has ended (one asked for from inside another
    // one's alert, a nested event loop, included).
    auto run = std::make_shared<SwitchRun>();
    ++m_runs;
    c.isSwapping = true;
    c.desktopWatcher().pause();
    auto endUnlessStarted = qScopeGuard([this] { endRun(); });
    // What the switch writes is announced once, as it ends.
    run->announceOnce = std::make_unique<DocumentService::Batch>(c.m_store);

    const Config config = c.document();
    run->settings = config.settings;
    const AppSettings &settings = run->settings;
    run->from = config.activeWorkspace;
    run->target = target;
    run->userInitiated = userInitiated;
    run->phases.mark("guards");

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
    run->coverStart = c.m_env.scheduler->now();
    run->phases.mark("cover");

    sweepInOverruleOrder(config);
    run->phases.mark("sweeps");
    c.updateCueOverlay(target);
    run->phases.mark("cue");
    applyAppearance(target, config);
    run->phases.mark("appearance");

    endUnlessStarted.dismiss();
    startEngine(std::move(run));
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
    m_controller.editQuietly(SwitchRun::stampActive);
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
