#include "Dock/FloatingDockModel.h"

#include "Appearance.h"

namespace quorvane {

FloatingDockModel::FloatingDockModel(const PreferenceReader &preferences, QObject *parent)
    : QObject(parent)
    , m_preferences(preferences)
    , m_accentHex(Appearance::defaultAccentHex)
    , m_metrics(SystemDock::tileSize(preferences), FloatingDockAxis::horizontal)
{
}

DockMetrics FloatingDockModel::freshMetrics() const
{
    double tile = 0;
    switch (m_size) {
    case FloatingDockSize::small:
        tile = 32;
        break;
    case FloatingDockSize::medium:
        tile = 44;
        break;
    case FloatingDockSize::large:
        tile = 64;
        break;
    case FloatingDockSize::system:
        tile = SystemDock::tileSize(m_preferences);
        break;
    }
    return DockMetrics(tile, m_axis);
}

std::optional<QString> FloatingDockModel::activeName() const
{
    for (const DockSurface &surface : m_surfaces) {
        if (surface.isActive)
            return surface.name;
    }
    return std::nullopt;
}

} // namespace quorvane
