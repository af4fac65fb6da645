#pragma once

#include <QAbstractButton>

namespace quorvane {

// The round trash button: the trash symbol in red over a faint red disc, in the secondary
// colour while disabled. 22 × 22.
class TrashCircleLabel : public QAbstractButton {
    Q_OBJECT

public:
    explicit TrashCircleLabel(QWidget *parent = nullptr);
    QSize sizeHint() const override { return {22, 22}; }
    // The colour it draws in now.
    QColor tint() const;

protected:
    void paintEvent(QPaintEvent *event) override;
};

} // namespace quorvane
