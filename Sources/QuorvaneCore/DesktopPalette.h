#pragma once

#include <QString>
#include <QStringList>

namespace quorvane {

// The eight fixed desktop colours, the colour a desktop's name maps to and random picks for
// new desktops. Nothing to instantiate: every member is static.
class DesktopPalette {
public:
    DesktopPalette() = delete;

    // In order: "#FF9F0A", "#FF375F", "#BF5AF2", "#0A84FF", "#64D2FF", "#30D158", "#FFD60A",
    // "#FF6B3D".
    static const QStringList hexes;
    static const QString defaultHex; // "#FF9F0A"

    // The colour of a desktop name: the XOR form of the djb2 hash over the name's UTF-8
    // bytes, in signed 64-bit arithmetic that wraps, its magnitude taken mod 8. The empty
    // name gives "#30D158". The same name always gives the same colour.
    static QString colorFor(const QString &name);

    // One of the eight, uniformly at random.
    static QString random();

    // A colour for a new desktop that none of `used` has yet (compared ignoring letter
    // case); when all eight are taken, any of the eight.
    static QString distinct(const QStringList &used);
};

} // namespace quorvane
