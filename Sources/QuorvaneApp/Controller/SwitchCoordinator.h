#pragma once

#include "AppearanceMode.h"
#include "Config.h"
#include "Controller/SwitchWorker.h"
#include "DesktopSurface.h"
#include "SwitchEffectTypes.h"

#include <QObject>
#include <QString>
#include <QStringList>

#include <cstdint>
#include <exception>
#include <functional>
#include <memory>
#include <optional>
#include <utility>

namespace quorvane {

class AppController;
struct SwitchRun;

// One switch and its phases: the guards, the cover or sweep, the sweeps of the Desktop, the cue
// and the appearance, the engine, and the bookkeeping afterwards (menu, settings, glyph, the
// notes and alerts a switch may owe the user, the reveal of the cover once the icons have
// settled). The controller owns one and forwards every switch request to it.
//
// The files move on a worker thread (SwitchWorker) while the event loop stays free; the steps
// after the files start once the worker reports done, in the same order as ever. Requests made
// meanwhile wait at the request gate, which takes the next one once this switch has ended (the
// session state's changed()).
class SwitchCoordinator {
public:
    explicit SwitchCoordinator(AppController &controller);
    // Waits for the files under way, and saves what was written meanwhile.
    ~SwitchCoordinator();
    SwitchCoordinator(const SwitchCoordinator &) = delete;
    SwitchCoordinator &operator=(const SwitchCoordinator &) = delete;

    // Every request ends here. Does nothing when the target is already active, the session is
    // read-only or the Desktop folder is not a safe one.
    void perform(const QString &target, bool userInitiated);
    // Whether a switch's files are moving now (on the worker).
    bool filesMoving() const { return m_engine != nullptr; }
    // How long a switch's files move before the status item says so, in seconds.
    static constexpr double underWayNotice = 1.0;

    void sweepInOverruleOrder(const Config &config);
    void sweepScreenshots(const Config &config);
    void sweepCustomFilters(const Config &config);
    // Both sweeps in the configured order, then the menu and the settings model refresh.
    void sweepActiveDesktopNow();
    // The main screen's size in whole points; 1440 × 900 without a screen.
    static std::pair<std::int64_t, std::int64_t> desktopCanvas();

    // The desktop's preferred mode for the session; a desktop that follows the system gives
    // back what an earlier one changed.
    void applyAppearance(const QString &name, const Config &config);
    // The mode the session had before a desktop changed it; none while nothing is borrowed.
    std::optional<AppearanceMode> appearanceBaseline() const { return m_appearanceBaseline; }

    void showFirstSwitchNoteIfNeeded(const QString &from, const QString &target);
    void notePinnedSkips(const QStringList &names);
    // The one alert naming the items a switch or a recovery could not move, which stayed where
    // they were.
    void noteStayedBehind(const QStringList &names);
    // The controller's one error alert.
    void present(const std::exception &error);
    void present(std::exception_ptr error);
    void stampActiveVisited();

    // The transition's end: lifts the blur cover once the target's icons have settled, and
    // not before the minimum duration since coverStart (a Scheduler time) nor the hold from
    // then. Only schedules work.
    void revealWhenSettled(SwitchTransition transition, const QString &target, double coverStart);
    // One step of the settle poll: the reveal once every expected position reads back in
    // place or after attempt 12, otherwise the next attempt 0.03 s later.
    void settlePoll(const IconPositions &expected, int attempt, SwitchTransition transition, double hold, double fadeOut,
                    double earliestReveal);
    // Plays the chosen switch transition once (the settings window's preview).
    void previewTransition();

private:
    // The engine's part of a switch, on the worker; then finish() on the GUI thread.
    void startEngine(std::shared_ptr<SwitchRun> run);
    void finish(std::shared_ptr<SwitchRun> run);
    // The status item shows that the files are still moving: its glyph plays and its tool tip
    // names the count.
    void showUnderWay(const std::shared_ptr<SwitchRun> &run);
    // The switch has ended: the Desktop watcher resumes and the session is no longer busy.
    void endRun(const std::optional<QString> &left);

    // An error's text for the user and the log: a store error's own description, else what().
    static QString describe(const std::exception &error);
    void scheduleReveal(SwitchTransition transition, double hold, double fadeOut, double earliestReveal);
    // Runs fn on the GUI thread later, while the controller (and so this object) lives.
    void later(double seconds, std::function<void(SwitchCoordinator &)> fn);

    AppController &m_controller;
    std::optional<AppearanceMode> m_appearanceBaseline;
    // The switch whose files are moving, while they move.
    std::shared_ptr<SwitchRun> m_engine;
    // Last: it goes first, waiting for the files under way.
    SwitchWorker m_worker;
};

} // namespace quorvane
