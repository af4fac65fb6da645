#pragma once

#include <QWidget>

class QButtonGroup;
class QHBoxLayout;
class QToolButton;

namespace quorvane {

// A row of segments of which one is chosen. Each segment is a checkable tool button (a push
// button's minimum width would swallow the padding of hair spaces). Only a click reports a
// choice; setCurrent never does.
class SegmentedControl : public QWidget {
    Q_OBJECT

public:
    explicit SegmentedControl(QWidget *parent = nullptr);

    // label is shown as given; the segment's accessible name is the label without its padding.
    QToolButton *addSegment(const QString &label, int id);
    void setCurrent(int id);
    int current() const;
    QToolButton *segment(int id) const;
    int count() const;

signals:
    void chosen(int id);

private:
    QHBoxLayout *m_layout;
    QButtonGroup *m_group;
};

} // namespace quorvane
