// The engine's part of a switch on its worker, the status item's notice while it runs, and the
// bookkeeping once it is done.
#include "Controller/AppController.h"
#include "Controller/StatusMenuController.h"
#include "Controller/SwitchCoordinator.h"
#include "Controller/SwitchRun.h"
#include "Desktop/DesktopWatcher.h"
#include "Settings/SettingsModel.h"
#include "Shared/FreedMemory.h"
#include "Shared/Log.h"

#include <QMetaObject>

namespace quorvane {

void SwitchCoordinator::startEngine(std::shared_ptr<SwitchRun> run)
{
    AppController &c = m_controller;
    // Nothing the engine calls on the worker reaches the service's signals or a window: it
    // works with the service's engine store, and the surface's host work goes to its own thread.
    run->swapper = std::make_unique<DesktopSwapper>(c.surface(), c.store().beginEngine());
    run->swapper->setOnJournalled([this, weak = std::weak_ptr<SwitchRun>(run)](qsizetype moves) {
        const auto held = weak.lock();
        if (!held)
            return;
        held->moves = moves;
        // The menu names the count as soon as it is known (this runs on the worker).
        QMetaObject::invokeMethod(
            &m_controller.statusMenu(),
            [this, weak, moves] {
                if (const auto current = weak.lock(); current && current == m_engine) {
                    StatusMenuController &menu = m_controller.statusMenu();
                    SwitchUnderWay underWay = menu.switchUnderWay().value_or(SwitchUnderWay{current->target});
                    underWay.items = moves > 0 ? moves : -1;
                    menu.setSwitchUnderWay(underWay);
                }
            },
            Qt::QueuedConnection);
    });
    m_engine = run;
    // The menu marks the switch while its files move, an open menu included.
    c.statusMenu().setSwitchUnderWay(SwitchUnderWay{run->target});
    run->notice = c.environment().scheduler->after(underWayNotice, [this, weak = std::weak_ptr<SwitchRun>(run)] {
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
    // The tool tip says it from now on, until the switch ends (the menu keeps it there).
    const SwitchUnderWay underWay{run->target, moves > 0 ? moves : -1, true};
    c.statusMenu().setSwitchUnderWay(underWay);
    qCInfo(Log::swap()).noquote() << "still switching:" << switchUnderWayText(underWay);
    const MenuBarAnimation style = run->settings.menuBarAnimation;
    if (style == MenuBarAnimation::none)
        return;
    c.menuBarIcon().playSwitch(style);
    const double period = style == MenuBarAnimation::nudge ? MenuBarIconAnimator::nudgeDuration : MenuBarIconAnimator::mirrorDuration;
    run->glyph = c.environment().scheduler->every(period, [this, style] { m_controller.menuBarIcon().playSwitch(style); });
}

void SwitchCoordinator::finish(std::shared_ptr<SwitchRun> run)
{
    AppController &c = m_controller;
    m_engine.reset();
    if (run->notice)
        c.environment().scheduler->cancel(*run->notice);
    if (run->glyph)
        c.environment().scheduler->cancel(*run->glyph);
    run->phases.mark("engine");
    c.statusMenu().setSwitchUnderWay(std::nullopt);
    // What was written while the files moved lands on the engine's document now.
    c.store().endEngine();
    run->phases.mark("document");
    if (run->error)
        present(run->error);
    if (!run->completed)
        run->skipped.clear();

    const AppSettings &settings = run->settings;
    const QString &from = run->from;
    const QString &target = run->target;
    c.rebuildMenu();
    if (c.settingsModel())
        c.settingsModel()->reload();
    run->phases.mark("refresh");
    // Only a switch that happened says so; a failed one has said why in its alert.
    if (run->completed) {
        const auto elapsedMs = qint64((c.environment().scheduler->now() - run->coverStart) * 1000.0);
        qCInfo(Log::swap()).noquote() << QStringLiteral("switched %1 → %2 in %3ms, %4 pinned-name skips")
                                             .arg(from, target, QString::number(elapsedMs), QString::number(run->skipped.size()));
    }
    c.menuBarIcon().playSwitch(settings.menuBarAnimation);
    if (run->userInitiated)
        showFirstSwitchNoteIfNeeded(from, target);
    revealWhenSettled(settings.switchTransition, target, run->coverStart);

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
    // The listings and the documents of a switch of many items are freed now.
    giveBackFreedMemory();
    // The desktop left is remembered for "switch to last desktop"; the requests that waited are
    // taken from here, in order.
    endRun(from != target ? std::optional<QString>(from) : std::nullopt);
}

void SwitchCoordinator::endRun(const std::optional<QString> &left)
{
    m_controller.desktopWatcher().resume();
    m_controller.sessionState().endSwitch(left);
}

} // namespace quorvane
