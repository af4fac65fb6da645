#include "Triggers/ScrollCycleHUD.h"

namespace quorvane {

std::optional<ScrollCycleHUD::Labels> ScrollCycleHUD::labelsFor(const QStringList &ring, int index, bool wraps)
{
    const int count = int(ring.size());
    if (index < 0 || index >= count)
        return std::nullopt;
    const bool wrapping = wraps && count >= 2;
    Labels labels;
    labels.current = ring[index];
    if (index > 0)
        labels.previous = ring[index - 1];
    else if (wrapping)
        labels.previous = ring[count - 1];
    if (index + 1 < count)
        labels.next = ring[index + 1];
    else if (wrapping)
        labels.next = ring[0];
    return labels;
}

void ScrollCycleHUD::show(const QStringList &ring, int index, bool wraps, int slide)
{
    Q_UNUSED(slide) // the slide animation comes with the panel
    if (auto labels = labelsFor(ring, index, wraps))
        m_labels = std::move(*labels); // the panel showing them is not built yet
}

void ScrollCycleHUD::hide()
{
    // No panel is ever on screen yet, so there is nothing to fade out.
}

} // namespace quorvane
