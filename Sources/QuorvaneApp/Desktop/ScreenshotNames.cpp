#include "Desktop/ScreenshotNames.h"

#include "Desktop/ScreenshotFilter.h"

namespace quorvane {

ScreenshotNames ScreenshotNames::of(const std::optional<QString> &userOverride, ScreenshotPreferences &preferences)
{
    ScreenshotNames names;
    names.m_prefix = ScreenshotFilter::effectiveNamePrefix(userOverride, preferences);
    names.m_asTyped = ScreenshotFilter::userNamePrefix(userOverride).has_value();
    if (!names.m_asTyped) {
        if (auto pattern = preferences.namePattern(); pattern && pattern->isValid())
            names.m_toolNames = std::move(*pattern);
    }
    return names;
}

ScreenshotNames ScreenshotNames::of(const std::optional<QString> &userOverride)
{
    LinuxScreenshotPreferences preferences;
    return of(userOverride, preferences);
}

ScreenshotNames ScreenshotNames::prefixed(const QString &prefix)
{
    ScreenshotNames names;
    names.m_prefix = prefix;
    return names;
}

bool ScreenshotNames::matches(const QString &fileName) const
{
    if (m_asTyped)
        return fileName.startsWith(m_prefix, Qt::CaseSensitive);
    if (m_toolNames && m_toolNames->match(fileName).hasMatch())
        return true;
    return fileName.startsWith(m_prefix + QLatin1Char(' '), Qt::CaseSensitive);
}

} // namespace quorvane
