#pragma once

#include <QColor>
#include <QHash>
#include <QPixmap>
#include <QString>

#include <optional>

namespace quorvane {

// The tiles' folder icons, optionally tinted with a desktop's colour, kept by the dock until it
// is shown or reloaded. Main thread only.
class FolderIconCache {
public:
    // The icon of the folder at path, side × side; a tint that is no valid hex colour gives
    // the untinted icon.
    QPixmap icon(const QString &path, double side, const std::optional<QString> &tintHex);
    void clear() { m_cache.clear(); }
    int size() const { return int(m_cache.size()); }

    // The tint's hue and saturation with each pixel's lightness; each pixel keeps its alpha.
    static QImage tinted(const QImage &icon, const QColor &colour);
    // The folder symbol of the application's icon set, side × side pixels.
    static QImage drawnFolder(int side);

private:
    QHash<QString, QPixmap> m_cache;
};

} // namespace quorvane
