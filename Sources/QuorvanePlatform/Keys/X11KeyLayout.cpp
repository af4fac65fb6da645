#include "Keys/X11KeyLayout.h"

#include "Keys/KeyCodeTable.h"
#include "Windows/X11Connection.h"

#include <xkbcommon/xkbcommon-x11.h>
#include <xkbcommon/xkbcommon.h>

#include <memory>

namespace quorvane {

X11KeyLayout::X11KeyLayout(xcb_connection_t *connection)
    : m_connection(connection ? connection : x11::connection())
{
    if (!m_connection)
        return;
    if (!xkb_x11_setup_xkb_extension(m_connection, XKB_X11_MIN_MAJOR_XKB_VERSION, XKB_X11_MIN_MINOR_XKB_VERSION,
                                     XKB_X11_SETUP_XKB_EXTENSION_NO_FLAGS, nullptr, nullptr, nullptr, nullptr))
        return;
    m_device = xkb_x11_get_core_keyboard_device_id(m_connection);
    if (m_device < 0)
        return;
    m_context = xkb_context_new(XKB_CONTEXT_NO_FLAGS);
}

X11KeyLayout::~X11KeyLayout()
{
    if (m_context)
        xkb_context_unref(m_context);
    if (m_ownConnection)
        xcb_disconnect(m_ownConnection);
}

std::unique_ptr<X11KeyLayout> X11KeyLayout::ofDisplay()
{
    if (qEnvironmentVariableIsEmpty("DISPLAY"))
        return nullptr;
    xcb_connection_t *connection = xcb_connect(nullptr, nullptr);
    if (xcb_connection_has_error(connection)) {
        xcb_disconnect(connection);
        return nullptr;
    }
    auto layout = std::make_unique<X11KeyLayout>(connection);
    layout->m_ownConnection = connection;
    return layout;
}

std::optional<QString> X11KeyLayout::characters(std::uint32_t virtualKey) const
{
    return atLevel(virtualKey, 0);
}

std::optional<QString> X11KeyLayout::shiftedCharacters(std::uint32_t virtualKey) const
{
    return atLevel(virtualKey, 1);
}

std::optional<QString> X11KeyLayout::atLevel(std::uint32_t virtualKey, std::uint32_t level) const
{
    const std::optional<std::uint8_t> code = keycodes::x11KeyCode(virtualKey);
    if (!m_context || !code)
        return std::nullopt;
    const std::unique_ptr<xkb_keymap, decltype(&xkb_keymap_unref)> keymap(
        xkb_x11_keymap_new_from_device(m_context, m_connection, m_device, XKB_KEYMAP_COMPILE_NO_FLAGS),
        &xkb_keymap_unref);
    if (!keymap)
        return std::nullopt;
    const std::unique_ptr<xkb_state, decltype(&xkb_state_unref)> state(
        xkb_x11_state_new_from_device(keymap.get(), m_connection, m_device), &xkb_state_unref);
    if (!state)
        return std::nullopt;
    const xkb_layout_index_t group = xkb_state_key_get_layout(state.get(), *code);
    if (group == XKB_LAYOUT_INVALID)
        return std::nullopt;
    const xkb_keysym_t *syms = nullptr;
    const int count = xkb_keymap_key_get_syms_by_level(keymap.get(), *code, group, level, &syms);
    if (count < 1)
        return std::nullopt;
    char text[16] = {};
    const int written = xkb_keysym_to_utf8(syms[0], text, sizeof text);
    if (written <= 1) // 0: too small; 1: only the terminating NUL, the keysym types nothing
        return std::nullopt;
    return QString::fromUtf8(text);
}

} // namespace quorvane
