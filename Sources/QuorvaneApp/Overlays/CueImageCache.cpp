#include "Overlays/CueImageCache.h"

namespace quorvane {

CueImageCache &CueImageCache::shared()
{
    static CueImageCache cache;
    return cache;
}

QImage CueImageCache::image(const QString &path)
{
    const auto found = m_images.constFind(path);
    if (found != m_images.constEnd())
        return *found;
    QImage loaded(path);
    m_images.insert(path, loaded);
    return loaded;
}

} // namespace quorvane
