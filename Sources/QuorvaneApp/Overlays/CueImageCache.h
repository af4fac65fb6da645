#pragma once

#include <QHash>
#include <QImage>
#include <QString>

#include <optional>

namespace quorvane {

// The process-wide cache of desktop cue images, keyed by the file path exactly as the cue
// stores it; no count or cost limit. Whoever replaces or deletes a cue image evicts its path.
class CueImageCache {
public:
    static std::optional<QImage> lookup(const QString &path);
    static void store(const QString &path, const QImage &image);
    static void evict(const QString &path);
    // The cached image, else the file read and cached; none when it cannot be read.
    static std::optional<QImage> load(const QString &path);

private:
    static QHash<QString, QImage> &cache();
};

} // namespace quorvane
