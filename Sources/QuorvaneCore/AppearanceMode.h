#pragma once

#include "EnumNames.h"

namespace quorvane {

// Light, dark, or follow the system.
enum class AppearanceMode {
    system,
    light,
    dark
};

template <>
struct EnumNames<AppearanceMode> {
    static constexpr const char *names[] = {"system", "light", "dark"};
};

} // namespace quorvane
