#include "Overlays/CueImageCache.h"

#include "RegularFile.h"

#include <QBuffer>
#include <QFileInfo>
#include <QImageReader>

namespace quorvane {

std::optional<QImage> CueImageCache::lookup(const QString &path) const
{
    const auto found = m_images.constFind(path);
    if (found == m_images.constEnd())
        return std::nullopt;
    return *found;
}

QImage CueImageCache::read(const QString &path)
{
    // A picture is read only from a regular file, whatever the document names (never a FIFO or
    // a device, which would stall the window that paints it), and only up to a picture's size.
    auto bytes = RegularFile::readOrWarn(path, 256 * 1024 * 1024, RegularFile::Links::followed);
    if (!bytes)
        return {};
    QBuffer buffer(&*bytes);
    buffer.open(QIODevice::ReadOnly);
    QImageReader reader(&buffer, QFileInfo(path).suffix().toLatin1());
    reader.setAutoTransform(true);
    return reader.read();
}

QImage CueImageCache::image(const QString &path)
{
    if (auto cached = lookup(path))
        return *cached;
    const QImage loaded = read(path);
    if (!loaded.isNull())
        store(path, loaded);
    return loaded;
}

} // namespace quorvane
