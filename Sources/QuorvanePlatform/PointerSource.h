#pragma once

#include <QPointF>

#include <optional>

namespace quorvane {

// Where the pointer is and whether a mouse button is held, read on request.
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
};

// X11: the position and button mask of one xcb_query_pointer on the root window. Without X11
// the pointer cannot be read.
class LinuxPointerSource final : public PointerSource {
public:
    std::optional<State> read() const override;
    static LinuxPointerSource &shared();
};

} // namespace quorvane
