#include "PanelThemeShade.h"

#include "HostWork.h"

namespace quorvane {

std::shared_ptr<PanelThemeShade> PanelThemeShade::create(Probe probe, std::function<void()> changed)
{
    return std::shared_ptr<PanelThemeShade>(new PanelThemeShade(std::move(probe), std::move(changed)));
}

PanelThemeShade::PanelThemeShade(Probe probe, std::function<void()> changed)
    : m_probe(std::move(probe))
    , m_changed(std::move(changed))
{
}

QColor PanelThemeShade::colour()
{
    if (!m_asking && m_probe) {
        m_asking = true;
        auto answer = std::make_shared<QColor>();
        HostWork::post([probe = m_probe, answer] { *answer = probe(); },
                       [weak = weak_from_this(), answer] {
                           const auto shade = weak.lock();
                           if (!shade)
                               return;
                           shade->m_asking = false;
                           if (*answer == shade->m_colour)
                               return;
                           shade->m_colour = *answer;
                           if (shade->m_changed)
                               shade->m_changed();
                       });
    }
    return m_colour;
}

} // namespace quorvane
