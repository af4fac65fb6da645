#pragma once

#include <cstdint>
#include <functional>
#include <optional>

namespace quorvane {

// The window system's registry of global hot keys. Modifiers are the hot-key manager's bits:
// command 0x100, shift 0x200, option 0x800, control 0x1000.
class HotKeyRegistrar {
public:
    // A registered key's id: a four-character signature and a number.
    struct HotKeyId {
        std::uint32_t signature = 0;
        std::uint32_t id = 0;
        bool operator==(const HotKeyId &) const = default;
    };
    using Reference = std::uint64_t;

    virtual ~HotKeyRegistrar() = default;
    // Grabs the combination; none when the system refuses it.
    virtual std::optional<Reference> registerHotKey(std::uint32_t keyCode, std::uint32_t modifiers, HotKeyId id) = 0;
    virtual void unregisterHotKey(Reference reference) = 0;
    // The one handler for pressed hot keys, called on the main thread with the key's id.
    virtual void setPressedHandler(std::function<void(HotKeyId)> handler) = 0;
};

// Where no window system grabs keys (off screen, Wayland): every registration is refused, so
// no key is ever reported as pressed.
class RefusingHotKeyRegistrar final : public HotKeyRegistrar {
public:
    std::optional<Reference> registerHotKey(std::uint32_t keyCode, std::uint32_t modifiers, HotKeyId id) override;
    void unregisterHotKey(Reference reference) override;
    void setPressedHandler(std::function<void(HotKeyId)> handler) override;
};

} // namespace quorvane
