#include "Keys/KeyCodeTable.h"
#include "Keys/KeyLayout.h"

namespace quorvane {

std::optional<QString> UsKeyLayout::characters(std::uint32_t virtualKey) const
{
    return keycodes::usCharacter(virtualKey);
}

} // namespace quorvane
