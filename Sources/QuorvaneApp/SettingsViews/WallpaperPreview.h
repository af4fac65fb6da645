#pragma once

#include <QColor>
#include <QImage>
#include <QString>
#include <QWidget>

#include <optional>

namespace quorvane {

class CueImageCache;

// A small picture of a wallpaper overlay: a stand-in desktop picture under the fill (the
// image, scaled to fill, or the colour) at the overlay's opacity, in a rounded frame. It only
// shows; clicks go to whatever lies beneath it.
class WallpaperPreview : public QWidget {
    Q_OBJECT

public:
    enum class FillKind {
        color,
        image
    };

    // cache: where the images come from and where a file read here is kept; none: the file is
    // read on its own.
    explicit WallpaperPreview(CueImageCache *cache, QWidget *parent = nullptr);

    void setFill(FillKind kind, const QColor &color, const std::optional<QString> &imagePath, double opacity);

    FillKind fillKind() const { return m_kind; }
    QColor color() const { return m_color; }
    const std::optional<QString> &imagePath() const { return m_imagePath; }
    double opacity() const { return m_opacity; }

    QSize sizeHint() const override { return {320, 84}; }

protected:
    void paintEvent(QPaintEvent *event) override;

private:
    // The image to show; a null image when there is none or it cannot be read.
    QImage image();

    CueImageCache *m_cache;
    FillKind m_kind = FillKind::color;
    QColor m_color = Qt::black;
    std::optional<QString> m_imagePath;
    double m_opacity = 0.7;
    QString m_readPath;
    QImage m_read;
};

} // namespace quorvane
