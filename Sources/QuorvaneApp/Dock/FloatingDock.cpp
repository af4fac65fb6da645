#include "Dock/FloatingDock.h"

namespace quorvane {

FloatingDock::FloatingDock(const SpaceIdentifier &spaces)
    : m_spaces(spaces)
{
}

void FloatingDock::setAxis(FloatingDockAxis axis)
{
    if (axis == model.axis)
        return;
    model.axis = axis;
    model.tileFrames.clear();
    m_needsReplacement = true;
}

bool FloatingDock::isParkedElsewhere() const
{
    if (!wantsVisible)
        return false;
    if (m_homeSpace) {
        if (const auto active = m_spaces.activeSpace())
            return active->identity != *m_homeSpace;
    }
    // Otherwise the panel's own Space decides; the panel is not built yet, so none is shown.
    return false;
}

void FloatingDock::cancelRechecks()
{
    // No home-Space re-check is ever scheduled while no panel exists.
}

void FloatingDock::activeSpaceChanged()
{
    // Re-asserting the home Space moves the panel; no panel is built yet.
}

void FloatingDock::show(const std::vector<DockSurface> &surfaces, const QString &accentHex,
                        const std::optional<FloatingDockPosition> &savedPosition)
{
    Q_UNUSED(savedPosition) // used to place the panel, which is not built yet
    model.surfaces = surfaces;
    model.accentHex = accentHex;
    wantsVisible = true;
    if (const auto active = m_spaces.activeSpace())
        m_homeSpace = active->identity;
    else
        m_homeSpace.reset();
}

void FloatingDock::reload(const std::vector<DockSurface> &surfaces, const QString &accentHex)
{
    if (!wantsVisible || !panel)
        return;
    model.surfaces = surfaces;
    model.accentHex = accentHex;
}

} // namespace quorvane
