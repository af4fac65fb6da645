#pragma once

#include "HotKeyRegistrar.h"

#include <set>
#include <vector>

namespace quorvane::test {

// Accepts every registration except the key codes it is told to refuse; records what was
// grabbed and presses a combination on request.
class FakeHotKeyRegistrar final : public HotKeyRegistrar {
public:
    struct Grab {
        std::uint32_t keyCode;
        std::uint32_t modifiers;
        HotKeyId id;
        Reference reference;
    };
    bool refuseAll = false;
    std::set<std::uint32_t> refusedKeyCodes;
    std::vector<Grab> grabs; // every accepted registration, in order
    std::set<Reference> live;

    std::optional<Reference> registerHotKey(std::uint32_t keyCode, std::uint32_t modifiers, HotKeyId id) override
    {
        if (refuseAll || refusedKeyCodes.count(keyCode))
            return std::nullopt;
        grabs.push_back({keyCode, modifiers, id, m_nextReference});
        live.insert(m_nextReference);
        return m_nextReference++;
    }
    void unregisterHotKey(Reference reference) override { live.erase(reference); }
    void setPressedHandler(std::function<void(HotKeyId)> handler) override { m_handler = std::move(handler); }

    // Presses the live combination of that key code, as the user would; false when none is held.
    bool press(std::uint32_t keyCode)
    {
        for (const Grab &grab : grabs) {
            if (grab.keyCode == keyCode && live.count(grab.reference)) {
                if (m_handler)
                    m_handler(grab.id);
                return true;
            }
        }
        return false;
    }
    void pressId(std::uint32_t id)
    {
        if (m_handler)
            m_handler(HotKeyId{0x5152564E, id});
    }
    // The key codes held now, in registration order.
    std::vector<std::uint32_t> liveKeyCodes() const
    {
        std::vector<std::uint32_t> codes;
        for (const Grab &grab : grabs) {
            if (live.count(grab.reference))
                codes.push_back(grab.keyCode);
        }
        return codes;
    }

private:
    std::function<void(HotKeyId)> m_handler;
    Reference m_nextReference = 100;
};

} // namespace quorvane::test
