#pragma once

#include "HotKeyCombination.h"
#include "Keys/HotKeyRegistrar.h"

#include <map>
#include <set>
#include <vector>

namespace quorvane::test {

// Accepts every registration except the stored key codes it is told to refuse; records what
// was registered and presses a combination on request.
class FakeHotKeyRegistrar final : public HotKeyRegistrar {
public:
    struct Grab {
        QKeyCombination combination;
        Id id;
        std::optional<Command> command;
    };
    bool refuseAll = false;
    std::set<std::uint32_t> refusedKeyCodes; // the stored shortcuts' key codes
    std::vector<Grab> grabs;                 // every accepted registration, in order
    std::map<Id, QKeyCombination> held;      // what is registered now, by id
    int leftoversReleased = 0;

    bool registerHotKey(QKeyCombination combination, Id id, const std::optional<Command> &command) override
    {
        const auto spec = hotKeySpec(combination);
        if (refuseAll || !spec || refusedKeyCodes.count(spec->keyCode) || held.count(id))
            return false;
        grabs.push_back({combination, id, command});
        held.emplace(id, combination);
        return true;
    }
    void unregisterHotKey(Id id) override { held.erase(id); }
    void releaseLeftovers() override { ++leftoversReleased; }

    // Presses the held combination of that stored key code, as the user would; false when none
    // is held.
    bool press(std::uint32_t keyCode)
    {
        for (const auto &[id, combination] : held) {
            if (hotKeySpec(combination)->keyCode == keyCode) {
                emit pressed(id);
                return true;
            }
        }
        return false;
    }
    void pressId(Id id) { emit pressed(id); }
    // The stored key codes held now, by id.
    std::vector<std::uint32_t> liveKeyCodes() const
    {
        std::vector<std::uint32_t> codes;
        for (const auto &[id, combination] : held)
            codes.push_back(hotKeySpec(combination)->keyCode);
        return codes;
    }
    std::vector<Id> liveIds() const
    {
        std::vector<Id> ids;
        for (const auto &[id, combination] : held)
            ids.push_back(id);
        return ids;
    }
};

} // namespace quorvane::test
