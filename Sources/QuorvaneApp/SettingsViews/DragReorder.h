#pragma once

#include <QString>
#include <QStringList>

namespace quorvane {

// The arithmetic of reordering a list by dragging one of its rows, free of any widget. The
// target moves only once the pointer lies more than two thirds of a row beyond it, and never
// leaves the list.
class DragReorder {
public:
    static constexpr double hysteresis = 0.66;

    explicit DragReorder(double rowHeight)
        : m_rowHeight(rowHeight)
    {
    }

    bool active() const { return !m_name.isEmpty(); }
    const QString &draggingName() const { return m_name; }
    int startIndex() const { return m_start; }
    int targetIndex() const { return m_target; }
    double translation() const { return m_translation; }

    void start(const QString &name, int index);
    // translation: the pointer's vertical travel since the press, in the list's coordinates.
    void move(double translation, int count);
    // The order with the dragged name moved to the target (the same order when it did not
    // move); the drag is over afterwards.
    QStringList finish(const QStringList &order);
    void cancel();
    // How far the row at index stands off its place to open the gap: a row's height up or
    // down for the rows between the start and the target, else 0.
    double gapShift(int index) const;

private:
    double m_rowHeight;
    QString m_name;
    int m_start = 0;
    int m_target = 0;
    double m_translation = 0;
};

} // namespace quorvane
