#include "PreferenceReader.h"

namespace quorvane {

std::optional<QVariant> LinuxPreferenceReader::value(const QString &, const QString &) const
{
    return std::nullopt;
}

} // namespace quorvane
