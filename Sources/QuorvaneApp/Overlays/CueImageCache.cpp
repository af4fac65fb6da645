#include "Overlays/CueImageCache.h"

#include <QImageReader>

namespace quorvane {

QHash<QString, QImage> &CueImageCache::cache()
{
    static QHash<QString, QImage> images;
    return images;
}

std::optional<QImage> CueImageCache::lookup(const QString &path)
{
    const auto it = cache().constFind(path);
    if (it == cache().constEnd())
        return std::nullopt;
    return *it;
}

void CueImageCache::store(const QString &path, const QImage &image)
{
    cache().insert(path, image);
}

void CueImageCache::evict(const QString &path)
{
    cache().remove(path);
}

std::optional<QImage> CueImageCache::load(const QString &path)
{
    if (auto image = lookup(path))
        return image;
    QImageReader reader(path);
    reader.setAutoTransform(true);
    const QImage image = reader.read();
    if (image.isNull())
        return std::nullopt;
    store(path, image);
    return image;
}

} // namespace quorvane
