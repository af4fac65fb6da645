#pragma once

#include <QPointF>

#include <functional>
#include <memory>
#include <optional>

namespace quorvane {

// Where the pointer is and whether a mouse button is held, read on request. A source that can
// tell when the pointer moves calls the change handler (on the main thread) so nobody polls it.
class PointerSource {
public:
    struct State {
        QPointF position;        // Qt's global screen coordinates (y down)
        bool buttonHeld = false; // left, middle or right

        bool operator==(const State &) const = default;
    };

    virtual ~PointerSource() = default;
    // None when the pointer cannot be read.
    virtual std::optional<State> read() const = 0;
    // Calls onChange after the pointer moved, until called again (an empty function stops).
    // False when this source cannot tell: then whoever wants movements polls read().
    virtual bool notifyChanges(std::function<void()> onChange) = 0;
};

// X11: the position and button mask of one xcb_query_pointer on the root window. Movements
// come as XInput 2 raw motion events on the root window, on a connection of its own; without
// that extension (or without X11) nothing is notified. Without X11 the pointer cannot be read.
class LinuxPointerSource final : public PointerSource {
public:
    LinuxPointerSource();
    ~LinuxPointerSource() override;
    LinuxPointerSource(const LinuxPointerSource &) = delete;
    LinuxPointerSource &operator=(const LinuxPointerSource &) = delete;

    std::optional<State> read() const override;
    bool notifyChanges(std::function<void()> onChange) override;

private:
    struct Motion;
    std::unique_ptr<Motion> m_motion;
};

} // namespace quorvane
