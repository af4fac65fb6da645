#pragma once

#include <QWidget>

class QVariantAnimation;

namespace quorvane {

// The picture at the top of the move prompt: the application's tile (its own icon), an arrow
// and a folder's tile. While animating, the application's tile and the arrow pulse towards the folder and
// back (±7 pixels, the arrow between 0.3 and full opacity), ease-in-out over 1.5 s each way.
class RelocationGraphic : public QWidget {
public:
    static constexpr int tileSize = 66;
    static constexpr int tileRadius = 14;
    static constexpr int symbolSize = 26;
    static constexpr int appIconSize = 44;
    static constexpr int offset = 7;
    static constexpr int halfPeriodMs = 1500;

    explicit RelocationGraphic(QWidget *parent = nullptr);

    void setAnimating(bool animating);
    bool animating() const { return m_animating; }
    // 0: the tile at −7 and the arrow faint; 1: the tile at +7 and the arrow full.
    qreal phase() const { return m_phase; }

    QSize sizeHint() const override;

protected:
    void paintEvent(QPaintEvent *event) override;

private:
    void paintTileFrame(QPainter &painter, const QRectF &rect);
    void paintAppTile(QPainter &painter, const QRectF &rect);
    void paintTile(QPainter &painter, const QRectF &rect, const QString &symbol, const QColor &tint);

    bool m_animating = false;
    qreal m_phase = 0;
    QVariantAnimation *m_animation;
};

} // namespace quorvane
