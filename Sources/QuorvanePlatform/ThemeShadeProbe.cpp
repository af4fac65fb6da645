#include "ThemeShadeProbe.h"

#include "HostWork.h"

namespace quorvane {

ThemeShadeProbe::ThemeShadeProbe(Probe probe, std::function<void()> learned)
    : m_state(std::make_shared<State>(State{std::move(probe), std::move(learned), QColor(), false, false}))
{
}

QColor ThemeShadeProbe::colour()
{
    State &state = *m_state;
    if (!state.probing && !state.reporting && state.probe) {
        state.probing = true;
        auto answer = std::make_shared<QColor>();
        // The job holds the probe, not the state: the state lives on the GUI thread.
        HostWork::post([probe = state.probe, answer] { *answer = probe(); },
                       [weak = std::weak_ptr<State>(m_state), answer] {
                           const auto state = weak.lock();
                           if (!state)
                               return;
                           state->probing = false;
                           if (!answer->isValid() || *answer == state->known)
                               return;
                           state->known = *answer;
                           state->reporting = true;
                           if (state->learned)
                               state->learned();
                           state->reporting = false;
                       });
    }
    return state.known;
}

} // namespace quorvane
