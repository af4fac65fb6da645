#include "Keys/X11HotKeyRegistrar.h"

#include "Keys/KeyCodeTable.h"
#include "Windows/X11Connection.h"

#include <QCoreApplication>
#include <QLoggingCategory>

#include <array>
#include <cstdlib>

namespace quorvane {

namespace {

// Off unless asked for: the moment a press arrives, for the hot-key benchmark.
Q_LOGGING_CATEGORY(hotKeyLog, "quorvane.hotkeys", QtInfoMsg)

// Lock (caps lock) and Mod2 (Num Lock) must not stop a shortcut, so each is grabbed with them.
constexpr std::array<std::uint16_t, 4> ignoredStates{0, XCB_MOD_MASK_LOCK, XCB_MOD_MASK_2,
                                                     XCB_MOD_MASK_LOCK | XCB_MOD_MASK_2};
constexpr std::uint16_t modifierBits = XCB_MOD_MASK_SHIFT | XCB_MOD_MASK_CONTROL | XCB_MOD_MASK_1 | XCB_MOD_MASK_3
    | XCB_MOD_MASK_4 | XCB_MOD_MASK_5;

xcb_window_t rootOf(xcb_connection_t *c)
{
    const xcb_screen_t *screen = xcb_setup_roots_iterator(xcb_get_setup(c)).data;
    return screen ? screen->root : 0;
}

} // namespace

X11HotKeyRegistrar::X11HotKeyRegistrar(xcb_connection_t *connection, QObject *parent)
    : HotKeyRegistrar(parent)
    , m_connection(connection ? connection : x11::connection())
{
    if (!m_connection)
        return;
    m_root = rootOf(m_connection);
    if (auto *app = QCoreApplication::instance())
        app->installNativeEventFilter(this);
}

X11HotKeyRegistrar::~X11HotKeyRegistrar()
{
    if (!m_connection)
        return;
    for (const auto &[id, grab] : m_grabs)
        ungrab(grab);
    xcb_flush(m_connection);
    if (auto *app = QCoreApplication::instance())
        app->removeNativeEventFilter(this);
}

std::uint16_t X11HotKeyRegistrar::xModifiers(Qt::KeyboardModifiers modifiers)
{
    std::uint16_t state = 0;
    if (modifiers & Qt::ShiftModifier)
        state |= XCB_MOD_MASK_SHIFT;
    if (modifiers & Qt::ControlModifier)
        state |= XCB_MOD_MASK_CONTROL;
    if (modifiers & Qt::AltModifier)
        state |= XCB_MOD_MASK_1;
    if (modifiers & Qt::MetaModifier)
        state |= XCB_MOD_MASK_4;
    return state;
}

const X11HotKeyRegistrar::Grab *X11HotKeyRegistrar::find(xcb_keycode_t keyCode, std::uint16_t modifiers) const
{
    for (const auto &[id, grab] : m_grabs) {
        if (grab.keyCode == keyCode && grab.modifiers == modifiers)
            return &grab;
    }
    return nullptr;
}

bool X11HotKeyRegistrar::registerHotKey(QKeyCombination combination, Id id, const std::optional<Command> &)
{
    if (!m_connection || !m_root || m_grabs.count(id))
        return false;
    const std::optional<std::uint8_t> code = keycodes::x11KeyCode(combination);
    if (!code)
        return false;
    const std::uint16_t state = xModifiers(combination.keyboardModifiers());
    // The server lets one client grab the same combination twice; two shortcuts on one
    // combination would leave one of them dead.
    if (find(*code, state))
        return false;

    std::array<xcb_void_cookie_t, ignoredStates.size()> cookies{};
    for (std::size_t i = 0; i < ignoredStates.size(); ++i)
        cookies[i] = xcb_grab_key_checked(m_connection, 0, m_root, state | ignoredStates[i], *code,
                                          XCB_GRAB_MODE_ASYNC, XCB_GRAB_MODE_ASYNC);
    std::array<bool, ignoredStates.size()> made{};
    bool refused = false;
    for (std::size_t i = 0; i < cookies.size(); ++i) {
        xcb_generic_error_t *error = xcb_request_check(m_connection, cookies[i]);
        made[i] = !error;
        refused = refused || error;
        std::free(error);
    }
    if (refused) {
        // Another client holds the combination (BadAccess): none of it stays grabbed here.
        for (std::size_t i = 0; i < made.size(); ++i) {
            if (made[i])
                xcb_ungrab_key(m_connection, *code, m_root, state | ignoredStates[i]);
        }
        xcb_flush(m_connection);
        return false;
    }
    m_grabs.emplace(id, Grab{*code, state, id});
    return true;
}

void X11HotKeyRegistrar::ungrab(const Grab &grab)
{
    for (const std::uint16_t extra : ignoredStates)
        xcb_ungrab_key(m_connection, grab.keyCode, m_root, grab.modifiers | extra);
}

void X11HotKeyRegistrar::unregisterHotKey(Id id)
{
    const auto found = m_grabs.find(id);
    if (found == m_grabs.end())
        return;
    ungrab(found->second);
    xcb_flush(m_connection);
    m_held.erase(found->second.keyCode);
    m_grabs.erase(found);
}

bool X11HotKeyRegistrar::nativeEventFilter(const QByteArray &eventType, void *message, qintptr *)
{
    if (eventType != "xcb_generic_event_t" || !message || m_grabs.empty())
        return false;
    const auto *event = static_cast<const xcb_generic_event_t *>(message);
    const std::uint8_t type = event->response_type & ~0x80;
    if (type != XCB_KEY_PRESS && type != XCB_KEY_RELEASE)
        return false;
    const auto *key = static_cast<const xcb_key_press_event_t *>(message);
    const Grab *grab = find(key->detail, key->state & modifierBits);
    if (type == XCB_KEY_RELEASE) {
        if (!m_held.erase(key->detail))
            return false;
        m_released[key->detail] = key->time;
        return true;
    }
    if (!grab)
        return false;
    const auto released = m_released.find(key->detail);
    const bool repeat = m_held.count(key->detail)
        || (released != m_released.end() && released->second == key->time);
    m_held.insert(key->detail);
    if (repeat)
        return true;
    qCDebug(hotKeyLog, "hot key pressed");
    // The action may switch desktops and show alerts: it runs once the event has been handled.
    const Id id = grab->id;
    QMetaObject::invokeMethod(
        this, [this, id] { emit pressed(id); }, Qt::QueuedConnection);
    return true;
}

} // namespace quorvane
