#pragma once

#include "Keys/HotKeyRegistrar.h"

#include <QAbstractNativeEventFilter>
#include <QObject>

#include <xcb/xcb.h>

#include <map>
#include <set>

namespace quorvane {

// Global hot keys as passive key grabs on the root window, through Qt's own X connection.
// Each combination is grabbed four times (as is, with Lock, with Mod2 (Num Lock), with both)
// and every grab is checked: when another client holds any of them, the ones made are let go
// and the combination is refused. A combination this registrar already holds, and a key outside
// the key-code table, are refused too. Presses are told by pressed() from the event loop; a held
// key's auto-repeat fires nothing.
class X11HotKeyRegistrar final : public HotKeyRegistrar, public QAbstractNativeEventFilter {
    Q_OBJECT

public:
    // The connection to grab on; null: Qt's (none without X11, and every key is refused).
    explicit X11HotKeyRegistrar(xcb_connection_t *connection = nullptr, QObject *parent = nullptr);
    ~X11HotKeyRegistrar() override;

    bool registerHotKey(QKeyCombination combination, Id id, const std::optional<Command> &command) override;
    void unregisterHotKey(Id id) override;

    bool nativeEventFilter(const QByteArray &eventType, void *message, qintptr *result) override;

    // The X modifier state of Qt's modifiers: Alt is Mod1, Meta Mod4; the keypad's is none.
    static std::uint16_t xModifiers(Qt::KeyboardModifiers modifiers);

private:
    struct Grab {
        xcb_keycode_t keyCode;
        std::uint16_t modifiers;
        Id id;
    };
    void ungrab(const Grab &grab);
    const Grab *find(xcb_keycode_t keyCode, std::uint16_t modifiers) const;

    xcb_connection_t *m_connection = nullptr;
    xcb_window_t m_root = 0;
    std::map<Id, Grab> m_grabs;
    // Keys whose press fired and whose release has not come yet, and the time of each key's
    // last release: a press at that same time is the server's auto-repeat.
    std::set<xcb_keycode_t> m_held;
    std::map<xcb_keycode_t, xcb_timestamp_t> m_released;
};

} // namespace quorvane
