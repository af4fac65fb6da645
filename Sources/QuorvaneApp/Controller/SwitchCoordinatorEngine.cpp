// The engine's part of a switch on its worker, the status item's notice while it runs, and the
// bookkeeping once it is done.
#include "Controller/AppController.h"
#include "Controller/SwitchCoordinator.h"
#include "Controller/SwitchRun.h"
#include "Desktop/DesktopWatcher.h"
#include "Settings/SettingsModel.h"
#include "Shared/FreedMemory.h"
#include "Shared/Log.h"

#include <QLocale>

namespace quorvane {

void SwitchCoordinator::startEngine(std::shared_ptr<SwitchRun> run)
{
    AppController &c = m_controller;
    // Nothing the engine calls on the worker reaches the service's signals or a window: it
    // works with the service's engine store, and the surface's host work goes to its own thread.
    run->swapper = std::make_unique<DesktopSwapper>(c.m_surface, c.m_store.beginEngine());
    run->swapper->setOnJournalled([weak = std::weak_ptr<SwitchRun>(run)](qsizetype moves) {
        if (const auto held = weak.lock())
            held->moves = moves;
    });
    m_engine = run;
    run->notice = c.m_env.scheduler->after(underWayNotice, [this, weak = std::weak_ptr<SwitchRun>(run)] {
        if (const auto held = weak.lock(); held && held == m_engine)
            showUnderWay(held);
    });
    m_worker.run(
        [run] {
            try {
                run->skipped = run->swapper->switchTo(run->target, [run](Config &config) {
                    SwitchRun::stampActive(config);
                    run->stamped = true;
                });
                run->stayed = run->swapper->stayedBehind();
                run->completed = true;
            } catch (...) {
                run->error = std::current_exception();
            }
        },
        [this, run] { finish(run); });
}

void SwitchCoordinator::showUnderWay(const std::shared_ptr<SwitchRun> &run)
{
    AppController &c = m_controller;
    const qsizetype moves = run->moves;
    const QString text = moves > 0 ? QStringLiteral("Moving %1 items to %2…").arg(QLocale().toString(qlonglong(moves)), run->target)
                                   : QStringLiteral("Switching to %1…").arg(run->target);
    const AppInfo &info = c.m_env.info;
    c.statusItem().setToolTip(info.name.isEmpty() ? QStringLiteral("Quorvane") : info.name, text);
    qCInfo(Log::swap()).noquote() << "still switching:" << text;
    const MenuBarAnimation style = run->settings.menuBarAnimation;
    if (style == MenuBarAnimation::none)
        return;
    c.m_menuBarIcon.playSwitch(style);
    const double period = style == MenuBarAnimation::nudge ? MenuBarIconAnimator::nudgeDuration : MenuBarIconAnimator::mirrorDuration;
    run->glyph = c.m_env.scheduler->every(period, [this, style] { m_controller.m_menuBarIcon.playSwitch(style); });
}

void SwitchCoordinator::finish(std::shared_ptr<SwitchRun> run)
{
    AppController &c = m_controller;
    m_engine.reset();
    if (run->notice)
        c.m_env.scheduler->cancel(*run->notice);
    if (run->glyph)
        c.m_env.scheduler->cancel(*run->glyph);
    run->phases.mark("engine");
    // What was written while the files moved lands on the engine's document now.
    c.m_store.endEngine();
    run->phases.mark("document");
    if (run->error)
        present(run->error);
    if (!run->completed)
        run->skipped.clear();

    const AppSettings &settings = run->settings;
    const QString &from = run->from;
    const QString &target = run->target;
    c.rebuildMenu();
    if (c.m_settingsModel)
        c.m_settingsModel->reload();
    run->phases.mark("refresh");
    // Only a switch that happened says so; a failed one has said why in its alert.
    if (run->completed) {
        const auto elapsedMs = qint64((c.m_env.scheduler->now() - run->coverStart) * 1000.0);
        qCInfo(Log::swap()).noquote() << QStringLiteral("switched %1 → %2 in %3ms, %4 pinned-name skips")
                                             .arg(from, target, QString::number(elapsedMs), QString::number(run->skipped.size()));
    }
    c.m_menuBarIcon.playSwitch(settings.menuBarAnimation);
    if (run->userInitiated)
        showFirstSwitchNoteIfNeeded(from, target);
    revealWhenSettled(settings.switchTransition, target, run->coverStart);

    if (from != target)
        c.previousWorkspace = from;
    if (!run->stamped)
        stampActiveVisited();
    c.spaceFollower().adoptCurrentSpace();
    c.reloadFloatingDock();
    run->phases.mark("after");
    qCDebug(Log::swap()).noquote() << QStringLiteral("switch phases (ms):") + run->phases.text();
    if (!run->skipped.isEmpty())
        notePinnedSkips(run->skipped);
    if (!run->stayed.isEmpty())
        noteStayedBehind(run->stayed);
    run->announceOnce.reset();
    endRun();
    performHeld();
    // The listings and the documents of a switch of many items are freed now.
    if (!m_engine)
        giveBackFreedMemory();
}

void SwitchCoordinator::endRun()
{
    if (--m_runs > 0)
        return;
    m_controller.desktopWatcher().resume();
    m_controller.isSwapping = false;
}

void SwitchCoordinator::performHeld()
{
    while (!m_engine && !m_held.empty()) {
        const auto [target, userInitiated] = m_held.front();
        m_held.pop_front();
        perform(target, userInitiated);
    }
}

} // namespace quorvane
