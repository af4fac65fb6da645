#pragma once

#include <QString>

namespace quorvane {

// Names of desktops and items compare exactly, case included, with canonically equivalent
// Unicode strings equal.
inline bool namesEqual(const QString &a, const QString &b)
{
    return a == b || a.normalized(QString::NormalizationForm_C) == b.normalized(QString::NormalizationForm_C);
}

// A name that may be used as one path component: not empty, not "." or "..", no "/" or NUL.
inline bool isSafePathComponent(const QString &name)
{
    return !name.isEmpty() && name != QLatin1StringView(".") && name != QLatin1StringView("..")
        && !name.contains(QLatin1Char('/')) && !name.contains(QChar(u'\0'));
}

} // namespace quorvane
