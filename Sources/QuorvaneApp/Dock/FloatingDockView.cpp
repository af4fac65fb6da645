#include "Dock/FloatingDockView.h"

#include "Dock/FolderIconCache.h"
#include "Shared/Style.h"
#include "Shared/SymbolIcon.h"
#include "Windows/LiteralText.h"

#include <QCoreApplication>
#include <QFontMetricsF>
#include <QHelpEvent>
#include <QMouseEvent>
#include <QPainter>
#include <QPainterPath>
#include <QToolTip>

#include <algorithm>
#include <cmath>

namespace quorvane {

namespace {

double clampRound(double value, double low, double high)
{
    return std::clamp(roundPoints(value), low, high);
}

QFont labelFont(double size, bool semibold)
{
    QFont font;
    font.setPixelSize(int(std::lround(size)));
    font.setWeight(semibold ? QFont::DemiBold : QFont::Normal);
    return font;
}

QToolButton *symbolButton(const QString &name, QWidget *parent)
{
    auto *button = new QToolButton(parent);
    button->setObjectName(name);
    button->setAutoRaise(true);
    button->setFocusPolicy(Qt::NoFocus);
    button->setCursor(Qt::ArrowCursor);
    return button;
}

const QString emptyNoteText = QCoreApplication::translate("FloatingDockView", "No desktops yet");

} // namespace

DockLayout DockLayout::compute(const FloatingDockModel &model, const DockMetrics::Measure &measure)
{
    const DockMetrics &m = model.metrics();
    const bool horizontal = model.axis() == FloatingDockAxis::horizontal;
    DockLayout layout;
    layout.tileHeight = m.icon + roundPoints(1.3 * m.labelFont) + 14;
    layout.radius = std::min(roundPoints(0.3 * (layout.tileHeight + 2 * m.padV)), 26.0);
    layout.spacing = roundPoints(0.75 * m.padH);
    QStringList names;
    for (const DockSurface &surface : model.surfaces())
        names.append(surface.name);
    layout.tileWidth = m.tileWidth(names, measure);
    const double tilePad = m.vertical ? 5 : 8;
    const double tileFull = layout.tileWidth + 2 * tilePad;
    layout.closeGlyph = clampRound(0.45 * m.icon, 12, 18);
    layout.arrowFont = clampRound(0.34 * m.icon, 9, 13);
    const double a = clampRound(0.4 * m.icon, 12, 18);
    layout.arrowFrame = QSizeF(a + 6, a);
    const double g = layout.closeGlyph;

    // The card's children along the axis, each with its size; placed centred across it.
    enum Kind {
        controls,
        divider,
        note,
        tiles
    };
    std::vector<std::pair<Kind, QSizeF>> children;
    if (model.showFlipButtons()) {
        const QSizeF size = horizontal ? QSizeF(std::max(g, a + 6), g + 4 + a + 4 + a)
                                       : QSizeF(g + 4 + 2 * (a + 6) + 4, std::max(g, a));
        children.push_back({controls, size});
        children.push_back({divider, horizontal ? QSizeF(1, layout.tileHeight) : QSizeF(tileFull, 1)});
    }
    const std::size_t count = model.surfaces().size();
    if (count == 0) {
        const double width = measure(emptyNoteText, m.labelFont) + 16;
        children.push_back({note, QSizeF(std::ceil(width), roundPoints(1.3 * m.labelFont))});
    } else {
        const double along = double(count) * (horizontal ? tileFull : layout.tileHeight) + double(count - 1) * 2;
        children.push_back({tiles, horizontal ? QSizeF(along, layout.tileHeight) : QSizeF(tileFull, along)});
    }
    double main = 0, cross = 0;
    for (const auto &[kind, size] : children) {
        main += horizontal ? size.width() : size.height();
        cross = std::max(cross, horizontal ? size.height() : size.width());
    }
    main += layout.spacing * double(children.size() - 1);
    const QSizeF content = horizontal ? QSizeF(main, cross) : QSizeF(cross, main);
    layout.size = QSizeF(content.width() + 2 * m.padH, content.height() + 2 * m.padV);

    double cursor = 0;
    for (const auto &[kind, size] : children) {
        const QPointF origin = horizontal
            ? QPointF(m.padH + cursor, m.padV + (cross - size.height()) / 2)
            : QPointF(m.padH + (cross - size.width()) / 2, m.padV + cursor);
        const QRectF rect(origin, size);
        switch (kind) {
        case controls: {
            // Close, then the two arrows; a column for the horizontal axis, a row otherwise.
            if (horizontal) {
                const double cx = rect.center().x();
                layout.close = QRectF(cx - g / 2, rect.top(), g, g);
                layout.firstArrow = QRectF(QPointF(cx - (a + 6) / 2, rect.top() + g + 4), layout.arrowFrame);
                layout.secondArrow = layout.firstArrow.translated(0, a + 4);
            } else {
                const double cy = rect.center().y();
                layout.close = QRectF(rect.left(), cy - g / 2, g, g);
                layout.firstArrow = QRectF(QPointF(rect.left() + g + 4, cy - a / 2), layout.arrowFrame);
                layout.secondArrow = layout.firstArrow.translated(a + 6 + 4, 0);
            }
            break;
        }
        case divider:
            layout.divider = rect;
            break;
        case note:
            layout.emptyNote = rect;
            break;
        case tiles:
            for (std::size_t i = 0; i < count; ++i) {
                const double offset = double(i) * ((horizontal ? tileFull : layout.tileHeight) + 2);
                const QRectF tile = horizontal ? QRectF(rect.left() + offset, rect.top(), tileFull, layout.tileHeight)
                                               : QRectF(rect.left(), rect.top() + offset, tileFull, layout.tileHeight);
                layout.tiles.push_back({model.surfaces()[i].name, tile});
            }
            break;
        }
        cursor += (horizontal ? size.width() : size.height()) + layout.spacing;
    }
    if (!model.showFlipButtons()) {
        layout.cornerClosePadding = std::max(roundPoints(0.55 * layout.radius), m.padV);
        const double p = layout.cornerClosePadding;
        layout.close = QRectF(layout.size.width() - p - g, p, g, g);
    }
    return layout;
}

FloatingDockView::FloatingDockView(FloatingDockModel &model, FolderIconCache &icons, QWidget *parent)
    : QWidget(parent)
    , m_model(model)
    , m_icons(icons)
    , m_close(symbolButton(QStringLiteral("close"), this))
    , m_first(symbolButton(QStringLiteral("firstArrow"), this))
    , m_second(symbolButton(QStringLiteral("secondArrow"), this))
{
    SymbolIcon::apply(m_close, QStringLiteral("xmark.circle.fill"));
    m_close->setToolTip(tr("Close"));
    connect(m_close, &QAbstractButton::clicked, this, [this] {
        if (onClose)
            onClose();
    });
    connect(m_first, &QAbstractButton::clicked, this, [this] {
        if (onFlip)
            onFlip(firstTarget());
    });
    connect(m_second, &QAbstractButton::clicked, this, [this] {
        if (onFlip)
            onFlip(secondTarget());
    });
    connect(&m_model, &FloatingDockModel::changed, this, &FloatingDockView::relayout);
    relayout();
}

DockHalf FloatingDockView::firstTarget() const
{
    return m_model.axis() == FloatingDockAxis::horizontal ? DockHalf::upper : DockHalf::leading;
}

DockHalf FloatingDockView::secondTarget() const
{
    return m_model.axis() == FloatingDockAxis::horizontal ? DockHalf::lower : DockHalf::trailing;
}

QString FloatingDockView::tileHelp(const DockSurface &surface)
{
    return surface.isActive ? tr("%1 (current desktop)").arg(surface.name) : tr("Move files to %1").arg(surface.name);
}

QString FloatingDockView::arrowHelp(DockHalf target)
{
    switch (target) {
    case DockHalf::upper:
        return tr("Move to the top half of the screen");
    case DockHalf::lower:
        return tr("Move to the bottom half of the screen");
    case DockHalf::leading:
        return tr("Move to the left half of the screen");
    case DockHalf::trailing:
        return tr("Move to the right half of the screen");
    }
    return {};
}

void FloatingDockView::setCompositing(bool compositing)
{
    m_compositing = compositing;
    update();
}

QSize FloatingDockView::sizeHint() const
{
    return QSize(int(std::ceil(m_layout.size.width())), int(std::ceil(m_layout.size.height())));
}

void FloatingDockView::placeButton(QToolButton *button, const QRectF &rect, bool shown)
{
    button->setVisible(shown);
    if (shown)
        button->setGeometry(rect.toAlignedRect());
}

void FloatingDockView::relayout()
{
    m_layout = DockLayout::compute(m_model);
    m_model.clearTileFrames();
    for (const auto &[name, rect] : m_layout.tiles)
        m_model.setTileFrame(name, rect);
    const bool controls = m_model.showFlipButtons();
    const bool horizontal = m_model.axis() == FloatingDockAxis::horizontal;
    const int glyph = int(m_layout.closeGlyph);
    m_close->setIconSize(QSize(glyph, glyph));
    placeButton(m_close, m_layout.close, true);
    SymbolIcon::apply(m_first, horizontal ? QStringLiteral("chevron.up") : QStringLiteral("chevron.left"));
    SymbolIcon::apply(m_second, horizontal ? QStringLiteral("chevron.down") : QStringLiteral("chevron.right"));
    for (QToolButton *arrow : {m_first, m_second}) {
        const DockHalf target = arrow == m_first ? firstTarget() : secondTarget();
        const int size = int(m_layout.arrowFont);
        arrow->setIconSize(QSize(size, size));
        arrow->setEnabled(target != m_model.half());
        arrow->setToolTip(literalToolTip(arrowHelp(target)));
        placeButton(arrow, arrow == m_first ? m_layout.firstArrow : m_layout.secondArrow, controls);
    }
    setFixedSize(sizeHint());
    update();
}

std::optional<QString> FloatingDockView::tileAt(const QPointF &point) const
{
    for (const auto &[name, rect] : m_layout.tiles) {
        if (rect.contains(point))
            return name;
    }
    return std::nullopt;
}

void FloatingDockView::mousePressEvent(QMouseEvent *event)
{
    if (event->button() != Qt::LeftButton)
        return;
    m_pressed = tileAt(event->position());
    if (!m_pressed && onBackgroundPress)
        onBackgroundPress();
}

void FloatingDockView::mouseReleaseEvent(QMouseEvent *event)
{
    if (event->button() != Qt::LeftButton)
        return;
    const auto pressed = std::exchange(m_pressed, std::nullopt);
    if (!pressed || tileAt(event->position()) != pressed || m_model.activeName() == pressed)
        return;
    if (onSwitch)
        onSwitch(*pressed);
}

bool FloatingDockView::event(QEvent *event)
{
    if (event->type() == QEvent::ToolTip) {
        const auto *help = static_cast<QHelpEvent *>(event);
        if (const auto name = tileAt(help->pos())) {
            for (const DockSurface &surface : m_model.surfaces()) {
                if (surface.name == *name) {
                    QToolTip::showText(help->globalPos(), literalToolTip(tileHelp(surface)), this);
                    return true;
                }
            }
        }
        QToolTip::hideText();
        event->ignore();
        return true;
    }
    return QWidget::event(event);
}

void FloatingDockView::paintEvent(QPaintEvent *)
{
    QPainter painter(this);
    painter.setRenderHint(QPainter::Antialiasing);
    painter.setRenderHint(QPainter::SmoothPixmapTransform);
    const DockMetrics &m = m_model.metrics();
    const QColor accent = colorFromHex(m_model.accentHex());
    const QRectF card(QPointF(0, 0), m_layout.size);
    QPainterPath shape;
    shape.addRoundedRect(card, m_layout.radius, m_layout.radius);

    QColor fill = palette().color(QPalette::Window);
    if (m_compositing && m_model.material() == FloatingDockMaterial::glass)
        fill.setAlphaF(0.82);
    else if (m_compositing && m_model.material() == FloatingDockMaterial::clearGlass)
        fill.setAlphaF(0.55);
    painter.setCompositionMode(QPainter::CompositionMode_Source);
    painter.fillRect(rect(), Qt::transparent);
    painter.setCompositionMode(QPainter::CompositionMode_SourceOver);
    painter.fillPath(shape, fill);
    painter.setClipPath(shape);

    QColor separator = Style::separatorColor(palette());
    if (!m_layout.divider.isNull())
        painter.fillRect(m_layout.divider, separator);
    if (m_model.surfaces().empty()) {
        QColor secondary = palette().color(QPalette::WindowText);
        secondary.setAlphaF(0.6);
        painter.setPen(secondary);
        painter.setFont(labelFont(m.labelFont, false));
        painter.drawText(m_layout.emptyNote, Qt::AlignCenter, emptyNoteText);
    }

    const double tilePad = m.vertical ? 5 : 8;
    const double line = roundPoints(1.3 * m.labelFont);
    for (std::size_t i = 0; i < m_layout.tiles.size() && i < m_model.surfaces().size(); ++i) {
        const DockSurface &surface = m_model.surfaces()[i];
        const QRectF tile = m_layout.tiles[i].second;
        if (m_model.targetedName() == surface.name) {
            QColor highlight = accent;
            highlight.setAlphaF(0.28);
            const double r = m.vertical ? 7 : 10;
            QPainterPath path;
            path.addRoundedRect(tile, r, r);
            painter.fillPath(path, highlight);
        }
        const QRectF iconRect(tile.center().x() - m.icon / 2, tile.top() + 2, m.icon, m.icon);
        const auto tint = m_model.colorFolders() ? std::optional<QString>(surface.colorHex) : std::nullopt;
        painter.drawPixmap(iconRect, m_icons.icon(surface.folderPath, m.icon, tint), QRectF());
        const QRectF label(tile.left() + tilePad, iconRect.bottom() + 3, m_layout.tileWidth, line);
        const QFont font = labelFont(m.labelFont, surface.isActive);
        painter.setFont(font);
        painter.setPen(palette().color(QPalette::WindowText));
        painter.drawText(label, Qt::AlignCenter,
                         QFontMetricsF(font).elidedText(surface.name, Qt::ElideRight, m_layout.tileWidth));
        if (surface.isActive) {
            painter.setPen(Qt::NoPen);
            painter.setBrush(accent);
            painter.drawEllipse(QRectF(tile.center().x() - 2, label.bottom() + 3, 4, 4));
        }
    }
    painter.setClipping(false);
    QPainterPath border;
    border.addRoundedRect(card.adjusted(0.5, 0.5, -0.5, -0.5), m_layout.radius - 0.5, m_layout.radius - 0.5);
    painter.setPen(QPen(separator, 1));
    painter.setBrush(Qt::NoBrush);
    painter.drawPath(border);
}

} // namespace quorvane
