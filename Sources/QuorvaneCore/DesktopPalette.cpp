#include "DesktopPalette.h"

#include <QRandomGenerator>
#include <QSet>

#include <array>
#include <cstdint>

namespace quorvane {

namespace {

constexpr std::array<const char *, 8> paletteHexes = {"#FF9F0A", "#FF375F", "#BF5AF2", "#0A84FF",
                                                      "#64D2FF", "#30D158", "#FFD60A", "#FF6B3D"};

QString paletteAt(std::size_t index)
{
    return QString::fromLatin1(paletteHexes[index]);
}

} // namespace

const QStringList DesktopPalette::hexes = [] {
    QStringList list;
    for (const char *hex : paletteHexes)
        list.append(QString::fromLatin1(hex));
    return list;
}();

const QString DesktopPalette::defaultHex = QStringLiteral("#FF9F0A");

QString DesktopPalette::colorFor(const QString &name)
{
    if (name.isEmpty())
        return paletteAt(5);
    // Unsigned arithmetic gives the two's-complement wrap of the signed hash without
    // overflow; the sign is read from the top bit.
    std::uint64_t h = 5381;
    const QByteArray bytes = name.toUtf8();
    for (const char c : bytes)
        h = (h * 33u) ^ std::uint64_t(static_cast<unsigned char>(c));
    const bool negative = (h >> 63) != 0;
    // The magnitude of a negative hash is its two's-complement negation; for -2^63 that is
    // 2^63, which an unsigned word holds, so every hash has an index.
    const std::uint64_t magnitude = negative ? (~h + 1u) : h;
    return paletteAt(std::size_t(magnitude % 8u));
}

QString DesktopPalette::random()
{
    return paletteAt(std::size_t(QRandomGenerator::system()->bounded(quint32(paletteHexes.size()))));
}

QString DesktopPalette::distinct(const QStringList &used)
{
    QSet<QString> taken;
    for (const QString &hex : used)
        taken.insert(hex.toLower());
    QStringList candidates;
    for (const char *raw : paletteHexes) {
        const QString hex = QString::fromLatin1(raw);
        if (!taken.contains(hex.toLower()))
            candidates.append(hex);
    }
    if (candidates.isEmpty()) {
        for (const char *raw : paletteHexes)
            candidates.append(QString::fromLatin1(raw));
    }
    return candidates.at(qsizetype(QRandomGenerator::system()->bounded(quint32(candidates.size()))));
}

} // namespace quorvane
