#pragma once

#include <QString>
#include <QVariantMap>

#include <functional>
#include <memory>
#include <optional>

namespace quorvane {

// What a desktop cue below the icons shows as the desktop's own background.
struct BackgroundFill {
    enum class Kind {
        color,
        image
    };
    Kind kind = Kind::color;
    QString color; // "#RRGGBB", for a colour
    // The picture file: the cue's image, or for a colour a plain picture of it, for hosts that
    // show only pictures.
    QString image;
};

// A desktop host: the program that draws the wallpaper and the Desktop's icons in one window,
// so that no window of another program can lie between the two. Its background is a handful
// of settings, each read and written with the type the host gives it (a text, a number or a
// list of numbers), so the user's own values go back exactly as they were.
class BackgroundHost {
public:
    virtual ~BackgroundHost() = default;
    // Names the host and where it keeps its settings; a kept background belongs to one name.
    virtual QString name() const = 0;
    // The settings that make up the background, as they stand; none when they cannot be read,
    // with error naming why.
    virtual std::optional<QVariantMap> read(QString &error) = 0;
    // Writes the settings given; a setting given as an invalid value is removed (the host's
    // default). None on success, else the failure.
    virtual std::optional<QString> write(const QVariantMap &values) = 0;
    // The settings that show the fill, for a background that stands as current.
    virtual QVariantMap cueValues(const BackgroundFill &fill, const QVariantMap &current) const = 0;
    // What the settings show: a picture file (image), else a colour ("#RRGGBB"); none when
    // they show neither in a way this application can tell.
    virtual std::optional<BackgroundFill> shownBy(const QVariantMap &values) const = 0;
};

// The desktop host of this session, asked for at each call (its process followed, see
// runningDesktopHost); none without one.
using BackgroundHostFinder = std::function<std::shared_ptr<BackgroundHost>()>;

} // namespace quorvane
