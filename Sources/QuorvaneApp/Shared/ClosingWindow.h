#pragma once

#include <QWidget>

class QAbstractButton;

#include <functional>
#include <memory>

namespace quorvane {

// A top-level window of the application that tells its owner when it closes. Closing only
// hides it; its owner decides when it goes.
//
// Its keyboard equivalents are those of a dialog, whichever control has the focus: Return
// (and Enter) press its default button (the visible push button set as default), Escape the
// button marked as its cancel button. A control that takes the key for itself (a text field
// that submits, a shortcut recorder) keeps it.
class ClosingWindow : public QWidget {
public:
    explicit ClosingWindow(Qt::WindowFlags flags = {});

    std::function<void()> onClose;

    // Centres the window in the available area of its screen.
    void centre();

    // Makes button the one Escape presses in whatever window holds it.
    static void markAsCancelButton(QAbstractButton *button);
    // Escape closes the window when no cancel button shows (as a settings window does).
    void setClosesOnEscape(bool closes) { m_closesOnEscape = closes; }
    // A hidden window gives its native window and the image it was drawn into back to the window
    // system, while it keeps every widget it holds: the next show makes them anew. A window that
    // shows, or that a shown window of its own (a dialog) depends on, keeps them.
    void releaseNativeWindow();

protected:
    void closeEvent(QCloseEvent *event) override;
    void keyPressEvent(QKeyEvent *event) override;

private:
    bool m_closesOnEscape = false;
};

// Owners release their window with deleteLater, so a window may drop its owner from inside
// its own close handler.
struct DeleteLater {
    void operator()(QObject *object) const { object->deleteLater(); }
};
using WindowHandle = std::unique_ptr<ClosingWindow, DeleteLater>;

} // namespace quorvane
