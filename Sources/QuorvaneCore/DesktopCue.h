#pragma once

#include <QJsonObject>
#include <QString>

namespace quorvane {

// A desktop's optional wallpaper overlay: a colour or image layer with an opacity, below or
// above the desktop icons, optionally tinting the menu bar strip.
struct DesktopCue {
    static constexpr double minOpacity = 0.05;
    static constexpr double maxOpacityBelowIcons = 1.0;
    static constexpr double maxOpacityAboveIcons = 0.8;
    static constexpr double defaultOpacity = 0.7;

    // What the layer shows: a colour ("#" and six hexadecimal digits) or an image's path.
    struct Fill {
        enum class Kind {
            color,
            image
        };

        Kind kind = Kind::color;
        QString value = QStringLiteral("#000000");

        static Fill color(const QString &hex) { return Fill{Kind::color, hex}; }
        static Fill image(const QString &path) { return Fill{Kind::image, path}; }

        bool operator==(const Fill &) const = default;

        // {"color":{"_0":"#000000"}} or {"image":{"_0":"/path"}}: exactly one of the two
        // keys (others are ignored), holding an object whose "_0" is a string.
        static Fill fromJson(const QJsonObject &object);
        QJsonObject toJson() const;
    };

    bool enabled = false;
    Fill fill;
    double opacity = defaultOpacity;
    bool aboveIcons = false;
    bool aboveMenuBar = false;

    // The values an empty cue object decodes to.
    DesktopCue() = default;
    // Stores the opacity clamped for the given placement. The fields stay plain values
    // afterwards: whoever changes opacity or aboveIcons later calls clampOpacity itself.
    DesktopCue(bool enabled, Fill fill, double opacity, bool aboveIcons, bool aboveMenuBar);

    bool operator==(const DesktopCue &) const = default;

    // 0.8 above the icons, 1.0 below them.
    static double maxOpacity(bool aboveIcons);
    // Raised to minOpacity when at or below it, then lowered to maxOpacity(aboveIcons).
    static double clampOpacity(double value, bool aboveIcons);

    // Every key optional. "enabled" and "opacity" of the wrong type fail; "aboveIcons" and
    // "aboveMenuBar" of the wrong type read as false. The opacity is stored clamped.
    static DesktopCue fromJson(const QJsonObject &object);
    // Always the five keys.
    QJsonObject toJson() const;
};

} // namespace quorvane
