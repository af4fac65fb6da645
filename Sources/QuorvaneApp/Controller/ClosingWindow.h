#pragma once

#include <QWidget>

#include <functional>
#include <memory>

namespace quorvane {

// A top-level window of the application that tells its owner when it closes. Closing only
// hides it; its owner decides when it goes.
class ClosingWindow : public QWidget {
public:
    explicit ClosingWindow(Qt::WindowFlags flags = {});

    std::function<void()> onClose;

    // Centres the window in the available area of its screen.
    void centre();

protected:
    void closeEvent(QCloseEvent *event) override;
};

// Owners release their window with deleteLater, so a window may drop its owner from inside
// its own close handler.
struct DeleteLater {
    void operator()(QObject *object) const { object->deleteLater(); }
};
using WindowHandle = std::unique_ptr<ClosingWindow, DeleteLater>;

} // namespace quorvane
