#pragma once

#include "HotKeyRegistrar.h"

#include <QAbstractNativeEventFilter>
#include <QObject>

#include <xcb/xcb.h>

#include <map>
#include <set>

namespace quorvane {

// Global hot keys as passive key grabs on the root window, through Qt's own X connection.
// Each combination is grabbed four times (as is, with Lock, with Mod2 (Num Lock), with both)
// and every grab is checked: when another client holds any of them, the ones made are let go
// and the combination is refused. A combination this registrar already holds, and a key code
// outside the key-code table, are refused too. Presses reach the handler from the event loop;
// a held key's auto-repeat fires nothing.
class X11HotKeyRegistrar final : public QObject, public HotKeyRegistrar, public QAbstractNativeEventFilter {
    Q_OBJECT

public:
    // The connection to grab on; null: Qt's (none without X11, and every key is refused).
    explicit X11HotKeyRegistrar(xcb_connection_t *connection = nullptr, QObject *parent = nullptr);
    ~X11HotKeyRegistrar() override;

    std::optional<Reference> registerHotKey(std::uint32_t keyCode, std::uint32_t modifiers, HotKeyId id) override;
    void unregisterHotKey(Reference reference) override;
    void setPressedHandler(std::function<void(HotKeyId)> handler) override;

    bool nativeEventFilter(const QByteArray &eventType, void *message, qintptr *result) override;

    // The X modifier state of the hot-key manager's bits: shift 0x200, control 0x1000,
    // option 0x800 (Mod1), command 0x100 (Mod4).
    static std::uint16_t xModifiers(std::uint32_t modifiers);

private:
    struct Grab {
        xcb_keycode_t keyCode;
        std::uint16_t modifiers;
        HotKeyId id;
    };
    void ungrab(const Grab &grab);
    const Grab *find(xcb_keycode_t keyCode, std::uint16_t modifiers) const;

    xcb_connection_t *m_connection = nullptr;
    xcb_window_t m_root = 0;
    std::map<Reference, Grab> m_grabs;
    Reference m_nextReference = 1;
    std::function<void(HotKeyId)> m_handler;
    // Keys whose press fired and whose release has not come yet, and the time of each key's
    // last release: a press at that same time is the server's auto-repeat.
    std::set<xcb_keycode_t> m_held;
    std::map<xcb_keycode_t, xcb_timestamp_t> m_released;
};

} // namespace quorvane
