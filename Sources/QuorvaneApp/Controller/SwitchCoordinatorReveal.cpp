// The end of a switch's transition: when the cover is lifted, the settle poll of the target's
// icons, and the settings window's preview.
#include "Controller/SwitchCoordinator.h"

#include "Controller/AppController.h"

#include <QPointer>

#include <algorithm>

namespace quorvane {

namespace {

constexpr int lastSettleAttempt = 12;
constexpr double settleInterval = 0.03;

double seconds(std::int64_t ms)
{
    return double(ms) / 1000.0;
}

} // namespace

void SwitchCoordinator::revealWhenSettled(SwitchTransition transition, const QString &target, double coverStart)
{
    // The sweep removes its own windows; none has nothing to lift.
    if (transition != SwitchTransition::blur)
        return;
    const Config config = m_controller.document();
    const AppSettings &settings = config.settings;
    const double hold = seconds(settings.switchRevealHoldMs);
    const double fadeOut = seconds(settings.switchFadeOutMs);
    const double earliest = coverStart + seconds(settings.switchMinDurationMs);
    if (settings.nativePositions) {
        scheduleReveal(transition, hold, fadeOut, earliest);
        return;
    }
    IconPositions expected;
    if (const Workspace *workspace = config.workspace(target)) {
        for (const QString &name : workspace->files) {
            if (const auto it = workspace->positions.find(name); it != workspace->positions.end())
                expected.emplace(name, *it);
        }
    }
    settlePoll(expected, 0, transition, hold, fadeOut, earliest);
}

void SwitchCoordinator::settlePoll(const IconPositions &expected, int attempt, SwitchTransition transition, double hold,
                                   double fadeOut, double earliestReveal)
{
    if (expected.empty()) {
        scheduleReveal(transition, hold, fadeOut, earliestReveal);
        return;
    }
    QStringList names;
    for (const auto &[name, position] : expected)
        names << name;
    // The host may need a child process to answer: the read runs away from the event loop, and
    // this step goes on once the answer is back on the GUI thread (a failed read answers none,
    // which is not settled). The next step is 0.03 s after this one's answer.
    QPointer<AppController> weak(&m_controller);
    m_controller.surface().readPositionsLater(
        names, [this, weak, expected, attempt, transition, hold, fadeOut, earliestReveal](const IconPositions &answer) {
            if (!weak)
                return;
            const bool settled = std::all_of(expected.begin(), expected.end(), [&answer](const auto &entry) {
                const auto it = answer.find(entry.first);
                return it != answer.end() && it->second.x == entry.second.x && it->second.y == entry.second.y;
            });
            if (settled || attempt >= lastSettleAttempt) {
                scheduleReveal(transition, hold, fadeOut, earliestReveal);
                return;
            }
            later(settleInterval, [expected, attempt, transition, hold, fadeOut, earliestReveal](SwitchCoordinator &self) {
                self.settlePoll(expected, attempt + 1, transition, hold, fadeOut, earliestReveal);
            });
        });
}

void SwitchCoordinator::scheduleReveal(SwitchTransition transition, double hold, double fadeOut, double earliestReveal)
{
    const double delay = std::max(earliestReveal - m_controller.environment().scheduler->now(), hold);
    later(delay, [transition, fadeOut](SwitchCoordinator &self) { self.m_controller.switchOverlay().reveal(transition, fadeOut); });
}

void SwitchCoordinator::previewTransition()
{
    const AppSettings settings = m_controller.document().settings;
    SwitchTransitionOverlay &overlay = m_controller.switchOverlay();
    switch (settings.switchTransition) {
    case SwitchTransition::none:
        return;
    case SwitchTransition::blur:
        overlay.preview(SwitchTransition::blur, settings.switchBlurStyle, float(settings.switchBlurOpacity),
                        seconds(settings.switchFadeInMs), seconds(settings.switchFadeOutMs));
        return;
    case SwitchTransition::sweep:
        overlay.sweep(settings.switchBlurStyle, float(settings.switchBlurOpacity), settings.sweepBandFraction,
                      seconds(settings.sweepDurationMs), seconds(settings.sweepStartDelayMs), settings.sweepAngleDegrees);
        return;
    }
}

} // namespace quorvane
