#pragma once

#include <QLoggingCategory>

namespace quorvane {

// The core's own log category: what the engine and the store handled without stopping (an item
// that stayed where it was, a position that was not read or written), for the diagnostics.
Q_DECLARE_LOGGING_CATEGORY(coreLog)

} // namespace quorvane
