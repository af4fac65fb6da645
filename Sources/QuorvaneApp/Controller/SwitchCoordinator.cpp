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
    const QSignalBlocker quiet(&m_controller.store());
    m_controller.store().endEngine();
    m_engine.reset();
}

void SwitchCoordinator::perform(const QString &target, bool userInitiated)
{
    AppController &c = m_controller;
    SessionState &session = c.sessionState();
    // One switch at a time: the request gate takes the next request only once this one has
    // ended, so a second one here is a caller that went round the gate.
    if (session.swapping()) {
        qCWarning(Log::error()).noquote() << QStringLiteral("switch to %1 refused: the one to %2 is under way")
                                                 .arg(target, session.pending().value_or(QString()));
        return;
    }
    if (c.document().activeWorkspace == target)
        return;
    if (session.readOnly())
        return;
    // The launch has said why: with the Desktop in the home folder nothing is ever moved.
    if (c.desktopIsUnsafe())
        return;
    // Only the process that holds the desktops folder's lock moves anything in it.
    if (!session.dataLock().acquire())
        return;

    // Busy from here until the switch's bookkeeping has ended (its alerts included).
    auto run = std::make_shared<SwitchRun>();
    session.beginSwitch(target);
    c.desktopWatcher().pause();
    auto endUnlessStarted = qScopeGuard([this] { endRun(std::nullopt); });
    // What the switch writes is announced once, as it ends.
    run->announceOnce = std::make_unique<DocumentService::Batch>(c.store());

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
        c.switchOverlay().cover(SwitchTransition::blur, settings.switchBlurStyle, float(settings.switchBlurOpacity),
                                double(settings.switchFadeInMs) / 1000.0);
        break;
    case SwitchTransition::sweep:
        c.switchOverlay().sweep(settings.switchBlurStyle, float(settings.switchBlurOpacity), settings.sweepBandFraction,
                                double(settings.sweepDurationMs) / 1000.0, double(settings.sweepStartDelayMs) / 1000.0,
                                settings.sweepAngleDegrees);
        break;
    }
    run->coverStart = c.environment().scheduler->now();
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
    m_controller.environment().scheduler->after(seconds, [weak, fn = std::move(fn)] {
        if (weak)
            fn(weak->switching());
    });
}

} // namespace quorvane
