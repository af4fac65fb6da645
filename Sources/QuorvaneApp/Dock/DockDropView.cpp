#include "Dock/DockDropView.h"

#include <QDragEnterEvent>
#include <QDropEvent>
#include <QMimeData>

namespace quorvane {

DockDropView::DockDropView(FloatingDockModel &model, QWidget *parent)
    : QWidget(parent)
    , m_model(model)
{
    setAcceptDrops(true);
}

std::optional<QString> DockDropView::tile(const QPointF &point) const
{
    for (auto it = m_model.tileFrames().constBegin(); it != m_model.tileFrames().constEnd(); ++it) {
        if (it.value().contains(point))
            return it.key();
    }
    return std::nullopt;
}

QList<QUrl> DockDropView::localFiles(const QMimeData *data)
{
    QList<QUrl> files;
    if (!data || !data->hasUrls())
        return files;
    for (const QUrl &url : data->urls()) {
        if (url.isLocalFile() && !url.toLocalFile().isEmpty())
            files.append(url);
    }
    return files;
}

std::optional<QString> DockDropView::target(const QPointF &point, const QMimeData *data) const
{
    const auto name = tile(point);
    if (!name || name == m_model.activeName() || localFiles(data).isEmpty())
        return std::nullopt;
    return name;
}

void DockDropView::dragEnterEvent(QDragEnterEvent *event)
{
    // Entering is accepted for any file drag, so moves over the card keep being reported.
    if (localFiles(event->mimeData()).isEmpty()) {
        event->ignore();
        return;
    }
    m_model.setTargetedName(target(event->position(), event->mimeData()));
    event->setDropAction(Qt::CopyAction);
    event->accept();
}

void DockDropView::dragMoveEvent(QDragMoveEvent *event)
{
    const auto name = target(event->position(), event->mimeData());
    m_model.setTargetedName(name);
    if (name) {
        event->setDropAction(Qt::CopyAction);
        event->accept();
    } else {
        event->ignore();
    }
}

void DockDropView::dragLeaveEvent(QDragLeaveEvent *)
{
    m_model.setTargetedName(std::nullopt);
}

void DockDropView::dropEvent(QDropEvent *event)
{
    const auto name = target(event->position(), event->mimeData());
    const QList<QUrl> files = localFiles(event->mimeData());
    m_model.setTargetedName(std::nullopt);
    if (!name) {
        event->ignore();
        return;
    }
    if (onDrop)
        onDrop(files, *name);
    event->setDropAction(Qt::CopyAction);
    event->accept();
}

} // namespace quorvane
