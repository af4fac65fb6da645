#pragma once

#include <QHash>
#include <QImage>
#include <QString>

namespace quorvane {

// The process's cue images, decoded once per file path. A path whose file is replaced is
// evicted by whoever replaced it.
class CueImageCache {
public:
    static CueImageCache &shared();

    // The image at the path, read on first use; a null image when it cannot be read.
    QImage image(const QString &path);
    bool contains(const QString &path) const { return m_images.contains(path); }
    void evict(const QString &path) { m_images.remove(path); }

private:
    QHash<QString, QImage> m_images;
};

} // namespace quorvane
