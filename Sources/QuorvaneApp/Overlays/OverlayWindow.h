#pragma once

#include "Windows/WindowLevel.h"

#include <QWidget>

#include <functional>

namespace quorvane {

// A borderless, click-through window as large as one screen, never focused, on every
// workspace, at one of the overlay levels, painted by a function. Its title is fixed, never
// shown; it lets the window list name the overlay.
class OverlayWindow : public QWidget {
public:
    using Painter = std::function<void(QPainter &, const QRect &)>;

    // translucent: parts of the window may stay transparent (needs a compositing manager).
    OverlayWindow(const QString &title, const QRect &frame, WindowLevel level, Painter paint, bool translucent = false);

    // Runs once, after the window's first paint.
    std::function<void()> onFirstPaint;
    int paintCount() const { return m_paints; }

protected:
    void paintEvent(QPaintEvent *event) override;
    void showEvent(QShowEvent *event) override;

private:
    Painter m_paint;
    int m_paints = 0;
};

} // namespace quorvane
