#pragma once

#include <QWidget>

namespace quorvane {

// An area whose presses move its window: a press that no control inside it takes starts the
// window manager's move of the top-level window.
class WindowDragHandle : public QWidget {
public:
    explicit WindowDragHandle(QWidget *parent = nullptr);

    // How many moves were asked for, for the tests.
    int moveRequests() const { return m_moves; }

protected:
    void mousePressEvent(QMouseEvent *event) override;

private:
    int m_moves = 0;
};

} // namespace quorvane
