#include "SettingsViews/HintBar.h"

#include "Shared/SymbolIcon.h"

#include <QHBoxLayout>
#include <QLabel>
#include <QPainter>
#include <QPainterPath>
#include <QToolButton>

namespace quorvane {

HintBar::HintBar(const QString &symbol, const QString &text, const QString &dismissHelp, std::function<void()> onDismiss,
                 QWidget *parent)
    : QWidget(parent)
    , m_dismiss(new QToolButton(this))
{
    auto *row = new QHBoxLayout(this);
    row->setContentsMargins(11, 8, symbol.isEmpty() ? 24 : 10, 8);
    row->setSpacing(7);
    if (!symbol.isEmpty()) {
        QLabel *icon = SymbolIcon::label(symbol, 14, this);
        icon->setFixedWidth(18);
        row->addWidget(icon);
    }
    auto *label = new QLabel(text, this);
    label->setWordWrap(true);
    label->setTextFormat(Qt::PlainText);
    label->setForegroundRole(QPalette::PlaceholderText);
    row->addWidget(label, 1);
    setAccessibleName(text);
    SymbolIcon::apply(m_dismiss, QStringLiteral("xmark"));
    m_dismiss->setAutoRaise(true);
    // A mark large enough to see and to hit.
    m_dismiss->setIconSize({12, 12});
    m_dismiss->setFixedSize(24, 24);
    m_dismiss->setToolTip(dismissHelp);
    m_dismiss->setAccessibleName(dismissHelp);
    connect(m_dismiss, &QToolButton::clicked, this, [onDismiss = std::move(onDismiss)] {
        if (onDismiss)
            onDismiss();
    });
}

HintBar *HintBar::deskList(std::function<void()> onDismiss, QWidget *parent)
{
    return new HintBar(QStringLiteral("hand.point.up.left"), tr("Click to select, drag to reorder"),
                       tr("Dismiss"), std::move(onDismiss), parent);
}

HintBar *HintBar::move(std::function<void()> onDismiss, QWidget *parent)
{
    return new HintBar({},
                       QStringLiteral("A temporary desktop can move its files into another desktop or the archive. They "
                                      "move into a new folder there. First choose a destination, then move them "
                                      "immediately or on a schedule."),
                       tr("Hide — reopen with the ? above"), std::move(onDismiss), parent);
}

void HintBar::paintEvent(QPaintEvent *)
{
    QPainter painter(this);
    painter.setRenderHint(QPainter::Antialiasing);
    QColor fill = palette().color(QPalette::WindowText);
    fill.setAlphaF(0.08);
    QPainterPath path;
    path.addRoundedRect(QRectF(rect()), 8, 8);
    painter.fillPath(path, fill);
}

void HintBar::resizeEvent(QResizeEvent *event)
{
    QWidget::resizeEvent(event);
    m_dismiss->move(width() - m_dismiss->width(), 0);
    m_dismiss->raise();
}

} // namespace quorvane
