#pragma once

#include <QHash>
#include <QImage>
#include <QString>

#include <optional>

namespace quorvane {

// The application's cue images, decoded once per file path (the path exactly as the cue stores
// it), with no count or cost limit; the controller keeps one for the cue overlay, the settings
// model and the wallpaper editor. A path whose file is replaced or deleted is evicted by whoever
// replaced it.
class CueImageCache {
public:
    // The picture of a file, uncached: a null image for what cannot be read, or is not a
    // regular file.
    static QImage read(const QString &path);

    // The cached image, else the file read and cached; a null image when it cannot be read,
    // which is not cached, so a later look tries the file again.
    QImage image(const QString &path);
    // The cached image only; none when the path is not cached.
    std::optional<QImage> lookup(const QString &path) const;
    void store(const QString &path, const QImage &image) { m_images.insert(path, image); }
    bool contains(const QString &path) const { return m_images.contains(path); }
    void evict(const QString &path) { m_images.remove(path); }

private:
    QHash<QString, QImage> m_images;
};

} // namespace quorvane
