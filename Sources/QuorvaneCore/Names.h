#pragma once

#include <QString>

namespace quorvane {

// Names of desktops and items compare exactly, case included, with canonically equivalent
// Unicode strings equal.
inline bool namesEqual(const QString &a, const QString &b)
{
    return a == b || a.normalized(QString::NormalizationForm_C) == b.normalized(QString::NormalizationForm_C);
}

} // namespace quorvane
