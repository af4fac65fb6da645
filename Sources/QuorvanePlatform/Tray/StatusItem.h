#pragma once

#include <QColor>
#include <Qt>

#include <functional>
#include <optional>

class QImage;
class QMenu;
class QString;

namespace quorvane {

// The application's icon in the desktop's status area (the tray).
class StatusItem {
public:
    // Middle is the click a status area passes on as its secondary activation.
    enum class Button {
        left,
        right,
        middle
    };

    struct Click {
        Button button = Button::left;
        Qt::KeyboardModifiers modifiers;
    };

    struct Wheel {
        // Vertical movement: pixels when precise, otherwise wheel notches (one notch is 1).
        double deltaY = 0;
        bool precise = false;
        // Inertial scrolling after the fingers have lifted.
        bool momentum = false;
        Qt::KeyboardModifiers modifiers;
    };

    virtual ~StatusItem() = default;

    // False when the desktop has no status area to show the item in.
    virtual bool isAvailable() const = 0;
    virtual void setVisible(bool visible) = 0;
    virtual void setImage(const QImage &image) = 0;
    virtual void setToolTip(const QString &title, const QString &text) = 0;
    // The menu the status area may draw itself; it stays the caller's and may change at any time.
    virtual void setMenu(QMenu *menu) = 0;
    // Called for every click on the item.
    virtual void setOnClick(std::function<void(const Click &)> onClick) = 0;
    // Called for wheel events over the item, where the status area passes them on.
    virtual void setOnWheel(std::function<void(const Wheel &)> onWheel) = 0;
    // Opens the menu at the item and returns when it has closed.
    virtual void popUpMenu(QMenu &menu) = 0;

    // The image given is a mask: its shape is drawn in this colour, chosen for the panel.
    virtual void setGlyphColour(const QColor &) {}
    // What the panel shows around the item, read from the screen where it can be.
    virtual std::optional<QColor> panelColour() const { return std::nullopt; }
    // Called when the item becomes available or stops being so (a status area came or went).
    virtual void setOnAvailabilityChanged(std::function<void(bool available)>) {}
};

} // namespace quorvane
