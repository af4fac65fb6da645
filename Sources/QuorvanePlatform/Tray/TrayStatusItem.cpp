#include "Tray/TrayStatusItem.h"

#include "Tray/PanelPixels.h"

#include <QCoreApplication>
#include <QCursor>
#include <QGuiApplication>
#include <QIcon>
#include <QImage>
#include <QMenu>
#include <QPainter>
#include <QPixmap>
#include <QScreen>
#include <QSystemTrayIcon>
#include <QWheelEvent>

namespace quorvane {

TrayStatusItem::TrayStatusItem()
    : m_tray(std::make_unique<QSystemTrayIcon>())
{
    QObject::connect(m_tray.get(), &QSystemTrayIcon::activated, this, [this](QSystemTrayIcon::ActivationReason reason) {
        if (!m_onClick)
            return;
        Click click;
        click.modifiers = QGuiApplication::queryKeyboardModifiers();
        switch (reason) {
        case QSystemTrayIcon::Trigger:
            click.button = Button::left;
            break;
        case QSystemTrayIcon::Context:
            click.button = Button::right;
            break;
        case QSystemTrayIcon::MiddleClick:
            click.button = Button::middle;
            break;
        default:
            return;
        }
        m_onClick(click);
    });
    // The tray widget of an embedding status area is private to Qt; its wheel events are
    // picked up on their way through the application.
    if (qApp)
        qApp->installEventFilter(this);
}

TrayStatusItem::~TrayStatusItem()
{
    if (qApp)
        qApp->removeEventFilter(this);
}

bool TrayStatusItem::isAvailable() const
{
    return QSystemTrayIcon::isSystemTrayAvailable();
}

void TrayStatusItem::setVisible(bool visible)
{
    m_tray->setVisible(visible);
}

void TrayStatusItem::setImage(const QImage &image)
{
    if (image.isNull())
        return;
    m_mask = image;
    // The glyph's animation shows a bounded set of kept images; anything beyond that many
    // is not being reused, and the icons start afresh.
    constexpr qsizetype keptIcons = 512;
    const QPair<qint64, QRgb> key(image.cacheKey(), m_glyphColour.rgba());
    auto found = m_icons.find(key);
    if (found == m_icons.end()) {
        if (m_icons.size() >= keptIcons)
            m_icons.clear();
        QImage tinted = image.convertToFormat(QImage::Format_ARGB32_Premultiplied);
        QPainter painter(&tinted);
        painter.setCompositionMode(QPainter::CompositionMode_SourceIn);
        painter.fillRect(tinted.rect(), m_glyphColour);
        painter.end();
        found = m_icons.insert(key, QIcon(QPixmap::fromImage(tinted)));
    }
    m_tray->setIcon(*found);
}

void TrayStatusItem::setGlyphColour(const QColor &colour)
{
    if (colour == m_glyphColour)
        return;
    m_glyphColour = colour;
    if (!m_mask.isNull())
        setImage(m_mask);
}

std::optional<QColor> TrayStatusItem::panelColour() const
{
    if (!m_tray->isVisible())
        return std::nullopt;
    return panel_pixels::colourAround(m_tray->geometry());
}

void TrayStatusItem::setToolTip(const QString &title, const QString &text)
{
    m_tray->setToolTip(text.isEmpty() ? title : title + QLatin1Char('\n') + text);
}

void TrayStatusItem::setOnClick(std::function<void(const Click &)> onClick)
{
    m_onClick = std::move(onClick);
}

void TrayStatusItem::setOnWheel(std::function<void(const Wheel &)> onWheel)
{
    m_onWheel = std::move(onWheel);
}

void TrayStatusItem::popUpMenu(QMenu &menu)
{
    const QRect area = m_tray->geometry();
    QPoint at = QCursor::pos();
    if (area.isValid()) {
        // Below the icon when there is room on the screen, otherwise above it.
        const QSize size = menu.sizeHint();
        at = area.bottomLeft() + QPoint(0, 1);
        if (const QScreen *screen = QGuiApplication::screenAt(area.center())) {
            if (at.y() + size.height() > screen->availableGeometry().bottom())
                at = area.topLeft() - QPoint(0, size.height());
        }
    }
    menu.exec(at);
}

bool TrayStatusItem::eventFilter(QObject *watched, QEvent *event)
{
    if (event->type() == QEvent::Wheel && m_onWheel && watched->isWidgetType()
        && qstrcmp(watched->metaObject()->className(), "QSystemTrayIconSys") == 0) {
        const auto *wheel = static_cast<QWheelEvent *>(event);
        Wheel w;
        w.precise = !wheel->pixelDelta().isNull();
        w.deltaY = w.precise ? wheel->pixelDelta().y() : wheel->angleDelta().y() / 120.0;
        w.momentum = wheel->phase() == Qt::ScrollMomentum;
        w.modifiers = wheel->modifiers();
        m_onWheel(w);
        return true;
    }
    return QObject::eventFilter(watched, event);
}

} // namespace quorvane
