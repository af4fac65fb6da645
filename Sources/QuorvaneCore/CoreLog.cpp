#include "CoreLog.h"

namespace quorvane {

Q_LOGGING_CATEGORY(coreLog, "quorvane.core", QtInfoMsg)

} // namespace quorvane
