#include "HotKeyRegistrar.h"

namespace quorvane {

std::optional<HotKeyRegistrar::Reference> RefusingHotKeyRegistrar::registerHotKey(std::uint32_t, std::uint32_t, HotKeyId)
{
    return std::nullopt;
}

void RefusingHotKeyRegistrar::unregisterHotKey(Reference)
{
}

void RefusingHotKeyRegistrar::setPressedHandler(std::function<void(HotKeyId)>)
{
}

} // namespace quorvane
