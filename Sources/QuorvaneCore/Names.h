#pragma once

#include <QString>

#include <algorithm>

namespace quorvane {

// Names of desktops and items compare exactly, case included, with canonically equivalent
// Unicode strings equal.
inline bool namesEqual(const QString &a, const QString &b)
{
    if (a == b)
        return true;
    // Text made only of characters before the combining marks (U+0300) is its own normal
    // form: two such different names are different without normalizing them.
    const auto plain = [](const QString &s) {
        return std::all_of(s.begin(), s.end(), [](QChar c) { return c.unicode() < 0x300; });
    };
    if (plain(a) && plain(b))
        return false;
    return a.normalized(QString::NormalizationForm_C) == b.normalized(QString::NormalizationForm_C);
}

} // namespace quorvane
