#pragma once

#include "HotKeyRegistrar.h"
#include "HotKeySpec.h"

#include <cstdint>
#include <functional>
#include <map>
#include <memory>
#include <optional>
#include <utility>
#include <vector>

namespace quorvane {

// The registry of the process's global hot keys. Actions run on the main thread when their
// combination is pressed.
class HotKeyCenter {
public:
    static constexpr std::uint32_t signature = 0x5152564E; // 'QRVN'

    // Without a registrar every key is refused.
    HotKeyCenter();
    explicit HotKeyCenter(std::unique_ptr<HotKeyRegistrar> registrar);
    // A registrar that outlives the centre; null: every key is refused.
    explicit HotKeyCenter(HotKeyRegistrar *registrar);
    // Lets go of every hot key and of the registrar's handler.
    ~HotKeyCenter();
    HotKeyCenter(const HotKeyCenter &) = delete;
    HotKeyCenter &operator=(const HotKeyCenter &) = delete;

    // Unregisters every hot key registered here, empties the action table, next id back to 1.
    void reset();
    // Registers spec under the next id; false, with nothing changed, when the system refuses.
    // While suspended the key is kept for resume() and counts as registered.
    bool registerHotKey(const HotKeySpec &spec, std::function<void()> action);

    // While a shortcut is being recorded its keys must reach the recorder, not the grabs: every
    // key is let go, and taken again under its id once each suspend() has its resume(). A key
    // the system refuses on resuming stays inactive until the next registration.
    void suspend();
    void resume();
    bool suspended() const { return m_suspensions > 0; }

    std::size_t registrationCount() const { return m_registrations.size(); }

private:
    struct Registration {
        HotKeySpec spec;
        std::uint32_t id = 0;
        std::optional<HotKeyRegistrar::Reference> reference; // none while suspended
    };

    void pressed(HotKeyRegistrar::HotKeyId id);

    std::unique_ptr<HotKeyRegistrar> m_owned;
    HotKeyRegistrar *m_registrar;
    std::vector<Registration> m_registrations;
    std::map<std::uint32_t, std::function<void()>> m_actions;
    std::uint32_t m_nextId = 1;
    int m_suspensions = 0;
};

// A HotKeySpec's modifier flags as the hot-key manager's bits: command 0x100000 to 0x100,
// option 0x80000 to 0x800, control 0x40000 to 0x1000, shift 0x20000 to 0x200; others dropped.
std::uint32_t carbonModifiers(std::uint32_t modifiers);

} // namespace quorvane
