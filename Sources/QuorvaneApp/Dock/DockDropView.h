#pragma once

#include "Dock/FloatingDockModel.h"

#include <QList>
#include <QMimeData>
#include <QUrl>
#include <QWidget>

#include <functional>
#include <optional>

namespace quorvane {

// The dock panel's root widget: it holds the card and takes local files dragged onto a tile
// other than the active one, as a copy (the controller then moves them).
class DockDropView : public QWidget {
    Q_OBJECT

public:
    explicit DockDropView(FloatingDockModel &model, QWidget *parent = nullptr);

    std::function<void(const QList<QUrl> &files, const QString &name)> onDrop;

    // The tile under a point of this widget.
    std::optional<QString> tile(const QPointF &point) const;
    // The local-file URLs of a drag, in its order.
    static QList<QUrl> localFiles(const QMimeData *data);

protected:
    void dragEnterEvent(QDragEnterEvent *event) override;
    void dragMoveEvent(QDragMoveEvent *event) override;
    void dragLeaveEvent(QDragLeaveEvent *event) override;
    void dropEvent(QDropEvent *event) override;

private:
    // The name of the tile that would take the drag, or none.
    std::optional<QString> target(const QPointF &point, const QMimeData *data) const;

    FloatingDockModel &m_model;
};

} // namespace quorvane
