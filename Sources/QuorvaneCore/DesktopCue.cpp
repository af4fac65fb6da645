#include "DesktopCue.h"

#include "JsonCoding.h"

#include <utility>

namespace quorvane {

using namespace Qt::Literals::StringLiterals;

namespace {

// A Boolean that a value of another type does not fail: it reads as false.
bool tolerantBoolean(const QJsonObject &object, QLatin1StringView key)
{
    const auto v = json::find(object, key);
    return v && v->isBool() && v->toBool();
}

} // namespace

DesktopCue::Fill DesktopCue::Fill::fromJson(const QJsonObject &object)
{
    const bool hasColor = object.contains("color"_L1);
    const bool hasImage = object.contains("image"_L1);
    if (hasColor == hasImage)
        throw DecodeError(QStringLiteral("Invalid number of keys found, expected one."));
    const QLatin1StringView key = hasColor ? "color"_L1 : "image"_L1;
    const QJsonObject payload = json::toObject(object.value(key), key);
    const QString value = json::toText(json::require(payload, "_0"_L1), "_0"_L1);
    return Fill{hasColor ? Kind::color : Kind::image, value};
}

QJsonObject DesktopCue::Fill::toJson() const
{
    const QString key = kind == Kind::color ? QStringLiteral("color") : QStringLiteral("image");
    return QJsonObject{{key, QJsonObject{{QStringLiteral("_0"), value}}}};
}

DesktopCue::DesktopCue(bool enabled, Fill fill, double opacity, bool aboveIcons, bool aboveMenuBar)
    : enabled(enabled)
    , fill(std::move(fill))
    , opacity(clampOpacity(opacity, aboveIcons))
    , aboveIcons(aboveIcons)
    , aboveMenuBar(aboveMenuBar)
{
}

double DesktopCue::maxOpacity(bool aboveIcons)
{
    return aboveIcons ? maxOpacityAboveIcons : maxOpacityBelowIcons;
}

double DesktopCue::clampOpacity(double value, bool aboveIcons)
{
    double v = value;
    if (v <= minOpacity)
        v = minOpacity;
    const double upper = maxOpacity(aboveIcons);
    if (upper < v)
        v = upper;
    return v;
}

DesktopCue DesktopCue::fromJson(const QJsonObject &object)
{
    DesktopCue cue;
    cue.enabled = json::boolean(object, "enabled"_L1, false);
    if (const auto fill = json::find(object, "fill"_L1))
        cue.fill = Fill::fromJson(json::toObject(*fill, "fill"_L1));
    cue.aboveIcons = tolerantBoolean(object, "aboveIcons"_L1);
    const double opacity = json::number(object, "opacity"_L1, defaultOpacity);
    cue.aboveMenuBar = tolerantBoolean(object, "aboveMenuBar"_L1);
    cue.opacity = clampOpacity(opacity, cue.aboveIcons);
    return cue;
}

QJsonObject DesktopCue::toJson() const
{
    return QJsonObject{{QStringLiteral("enabled"), enabled},
                       {QStringLiteral("fill"), fill.toJson()},
                       {QStringLiteral("opacity"), opacity},
                       {QStringLiteral("aboveIcons"), aboveIcons},
                       {QStringLiteral("aboveMenuBar"), aboveMenuBar}};
}

} // namespace quorvane
