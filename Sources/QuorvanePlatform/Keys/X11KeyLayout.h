#pragma once

#include "Keys/KeyLayout.h"

#include <xcb/xcb.h>

#include <memory>

struct xkb_context;

namespace quorvane {

// The keyboard layout of the X server, read through Qt's connection: the keysym of the key's
// X11 keycode at the first level (the second: with Shift) of the layout group in effect, as text.
// Keymap and group are read afresh for each name, so a layout changed since start-up is followed.
class X11KeyLayout final : public KeyLayout {
public:
    // The connection to read from; null: Qt's (no characters without X11).
    explicit X11KeyLayout(xcb_connection_t *connection = nullptr);
    ~X11KeyLayout() override;
    // The layout of the X server the DISPLAY variable names, on a connection of its own: where
    // Qt draws on Wayland, Xwayland's keyboard follows the compositor's layout.
    static std::unique_ptr<X11KeyLayout> ofDisplay();
    X11KeyLayout(const X11KeyLayout &) = delete;
    X11KeyLayout &operator=(const X11KeyLayout &) = delete;

    // False when the server has no keyboard extension to read.
    bool available() const { return m_context != nullptr; }
    std::optional<QString> characters(std::uint32_t virtualKey) const override;
    std::optional<QString> shiftedCharacters(std::uint32_t virtualKey) const override;

private:
    std::optional<QString> atLevel(std::uint32_t virtualKey, std::uint32_t level) const;

    xcb_connection_t *m_connection = nullptr;
    xcb_connection_t *m_ownConnection = nullptr;
    xkb_context *m_context = nullptr;
    std::int32_t m_device = -1;
};

} // namespace quorvane
