#include "Keys/HotKeyRegistrar.h"

namespace quorvane {

bool RefusingHotKeyRegistrar::registerHotKey(QKeyCombination, Id, const std::optional<Command> &)
{
    return false;
}

void RefusingHotKeyRegistrar::unregisterHotKey(Id)
{
}

} // namespace quorvane
