#include "Location.h"

namespace quorvane {

bool Location::operator==(const Location &other) const
{
    if (m_kind != other.m_kind)
        return false;
    return m_name == other.m_name
        || m_name.normalized(QString::NormalizationForm_C) == other.m_name.normalized(QString::NormalizationForm_C);
}

bool Location::isSafeName(const QString &name)
{
    if (name.isEmpty() || name == QLatin1StringView(".") || name == QLatin1StringView(".."))
        return false;
    if (name.contains(QLatin1Char('/')) || name.contains(QChar(u'\0')))
        return false;
    // An unpaired surrogate would be written as a replacement character and so name another file.
    const qsizetype size = name.size();
    for (qsizetype i = 0; i < size; ++i) {
        const QChar c = name.at(i);
        if (!c.isSurrogate())
            continue;
        if (c.isLowSurrogate() || i + 1 == size || !name.at(i + 1).isLowSurrogate())
            return false;
        ++i;
    }
    return true;
}

size_t qHash(const Location &location, size_t seed) noexcept
{
    const QString key = location.isDesktop() ? QString() : location.name().normalized(QString::NormalizationForm_C);
    return qHashMulti(seed, static_cast<int>(location.kind()), key);
}

} // namespace quorvane
