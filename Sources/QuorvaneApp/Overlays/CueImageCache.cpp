#include "Overlays/CueImageCache.h"

#include <QImageReader>

namespace quorvane {

CueImageCache &CueImageCache::shared()
{
    static CueImageCache cache;
    return cache;
}

std::optional<QImage> CueImageCache::lookup(const QString &path) const
{
    const auto found = m_images.constFind(path);
    if (found == m_images.constEnd())
        return std::nullopt;
    return *found;
}

QImage CueImageCache::image(const QString &path)
{
    if (auto cached = lookup(path))
        return *cached;
    QImageReader reader(path);
    reader.setAutoTransform(true);
    const QImage loaded = reader.read();
    if (!loaded.isNull())
        store(path, loaded);
    return loaded;
}

} // namespace quorvane
