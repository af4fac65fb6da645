#pragma once

#include "Session/ScreenshotPreferences.h"

#include <QRegularExpression>
#include <QString>

#include <optional>

namespace quorvane {

// Which file names are a screenshot's. The user's own prefix counts as typed: a name that begins
// with it. Without one, a name the session's screenshot tool writes counts (its prefix, its
// separator and its date), and so does one that begins with the system's prefix, or
// "Screenshot", and one blank. Case is significant.
class ScreenshotNames {
public:
    static ScreenshotNames of(const std::optional<QString> &userOverride, ScreenshotPreferences &preferences);
    // On this system's own preferences.
    static ScreenshotNames of(const std::optional<QString> &userOverride);
    // Names that begin with the prefix and one blank.
    static ScreenshotNames prefixed(const QString &prefix);

    bool matches(const QString &fileName) const;

private:
    QString m_prefix;
    bool m_asTyped = false; // the user's own prefix: no blank needs to follow
    std::optional<QRegularExpression> m_toolNames;
};

} // namespace quorvane
