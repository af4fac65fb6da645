#include "HotKeyRegistrar.h"

namespace quorvane {

std::optional<HotKeyRegistrar::Reference> LinuxHotKeyRegistrar::registerHotKey(std::uint32_t, std::uint32_t, HotKeyId)
{
    return std::nullopt;
}

void LinuxHotKeyRegistrar::unregisterHotKey(Reference)
{
}

void LinuxHotKeyRegistrar::setPressedHandler(std::function<void(HotKeyId)>)
{
}

} // namespace quorvane
