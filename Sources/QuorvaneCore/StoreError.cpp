#include "StoreError.h"

namespace quorvane {

namespace {
const char *const newerText = "Your Quorvane data was saved by a newer version of the app. Update Quorvane to make "
                              "changes — nothing has been changed or lost.";
}

StoreError::StoreError(std::int64_t fileVersion)
    : std::runtime_error(newerText)
    , m_fileVersion(fileVersion)
{
}

QString StoreError::description() const
{
    return QString::fromUtf8(newerText);
}

} // namespace quorvane
