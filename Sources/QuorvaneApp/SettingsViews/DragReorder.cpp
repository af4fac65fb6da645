#include "SettingsViews/DragReorder.h"

#include <algorithm>

namespace quorvane {

void DragReorder::start(const QString &name, int index)
{
    m_name = name;
    m_start = index;
    m_target = index;
    m_translation = 0;
}

void DragReorder::move(double translation, int count)
{
    if (!active())
        return;
    m_translation = translation;
    const double position = m_start + translation / m_rowHeight;
    int target = m_target;
    while (target + hysteresis < position && target < count - 1)
        ++target;
    while (target >= 1 && position < target - hysteresis)
        --target;
    m_target = target;
}

QStringList DragReorder::finish(const QStringList &order)
{
    QStringList result = order;
    if (active() && m_start >= 0 && m_start < result.size()) {
        const QString name = result.takeAt(m_start);
        result.insert(std::clamp<qsizetype>(m_target, 0, result.size()), name);
    }
    cancel();
    return result;
}

void DragReorder::cancel()
{
    m_name.clear();
    m_translation = 0;
}

double DragReorder::gapShift(int index) const
{
    if (!active())
        return 0;
    if (m_start < m_target && index > m_start && index <= m_target)
        return -m_rowHeight;
    if (m_target < m_start && index >= m_target && index < m_start)
        return m_rowHeight;
    return 0;
}

} // namespace quorvane
