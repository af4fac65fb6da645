#include "Settings/SymbolIcon.h"

#include <QAbstractButton>
#include <QGuiApplication>
#include <QHash>
#include <QIconEngine>
#include <QLabel>
#include <QPainter>
#include <QPainterPath>
#include <QPalette>
#include <QPixmap>

namespace quorvane {

namespace {

const QHash<QString, QString> &themeNames()
{
    static const QHash<QString, QString> names{
        {QStringLiteral("plus"), QStringLiteral("list-add")},
        {QStringLiteral("plus.circle"), QStringLiteral("list-add")},
        {QStringLiteral("minus"), QStringLiteral("list-remove")},
        {QStringLiteral("xmark"), QStringLiteral("window-close")},
        {QStringLiteral("xmark.circle"), QStringLiteral("window-close")},
        {QStringLiteral("xmark.circle.fill"), QStringLiteral("window-close")},
        {QStringLiteral("checkmark"), QStringLiteral("object-select")},
        {QStringLiteral("checkmark.circle.fill"), QStringLiteral("emblem-default")},
        {QStringLiteral("chevron.left"), QStringLiteral("go-previous")},
        {QStringLiteral("chevron.right"), QStringLiteral("go-next")},
        {QStringLiteral("chevron.up"), QStringLiteral("go-up")},
        {QStringLiteral("chevron.down"), QStringLiteral("go-down")},
        {QStringLiteral("arrow.right"), QStringLiteral("go-next")},
        {QStringLiteral("arrow.clockwise"), QStringLiteral("view-refresh")},
        {QStringLiteral("arrow.triangle.2.circlepath"), QStringLiteral("view-refresh")},
        {QStringLiteral("arrow.up.arrow.down"), QStringLiteral("view-sort-ascending")},
        {QStringLiteral("arrow.down.right.and.arrow.up.left"), QStringLiteral("view-restore")},
        {QStringLiteral("exclamationmark.triangle"), QStringLiteral("dialog-warning")},
        {QStringLiteral("exclamationmark.triangle.fill"), QStringLiteral("dialog-warning")},
        {QStringLiteral("exclamationmark.icloud"), QStringLiteral("network-error")},
        {QStringLiteral("info.circle"), QStringLiteral("dialog-information")},
        {QStringLiteral("questionmark.circle"), QStringLiteral("help-about")},
        {QStringLiteral("folder"), QStringLiteral("folder")},
        {QStringLiteral("folder.fill"), QStringLiteral("folder")},
        {QStringLiteral("folder.badge.questionmark"), QStringLiteral("folder")},
        {QStringLiteral("trash"), QStringLiteral("user-trash")},
        {QStringLiteral("gearshape"), QStringLiteral("preferences-system")},
        {QStringLiteral("slider.horizontal.3"), QStringLiteral("preferences-system")},
        {QStringLiteral("calendar"), QStringLiteral("x-office-calendar")},
        {QStringLiteral("keyboard"), QStringLiteral("input-keyboard")},
        {QStringLiteral("hand.point.up.left"), QStringLiteral("input-mouse")},
        {QStringLiteral("hand.raised"), QStringLiteral("process-stop")},
        {QStringLiteral("pause.circle"), QStringLiteral("media-playback-pause")},
        {QStringLiteral("eye.slash"), QStringLiteral("view-hidden")},
        {QStringLiteral("line.3.horizontal"), QStringLiteral("view-list")},
        {QStringLiteral("line.3.horizontal.decrease.circle"), QStringLiteral("view-filter")},
        {QStringLiteral("square.grid.2x2"), QStringLiteral("view-grid")},
        {QStringLiteral("square.grid.2x2.fill"), QStringLiteral("view-grid")},
        {QStringLiteral("rectangle.stack"), QStringLiteral("window-duplicate")},
        {QStringLiteral("rectangle.on.rectangle"), QStringLiteral("window-duplicate")},
        {QStringLiteral("rectangle.on.rectangle.angled"), QStringLiteral("window-duplicate")},
        {QStringLiteral("menubar.dock.rectangle"), QStringLiteral("preferences-desktop")},
        {QStringLiteral("circle.lefthalf.filled"), QStringLiteral("preferences-desktop-theme")},
        {QStringLiteral("tray.and.arrow.down"), QStringLiteral("document-save")},
        {QStringLiteral("testtube.2"), QStringLiteral("applications-science")},
        {QStringLiteral("character.cursor.ibeam"), QStringLiteral("insert-text")},
        {QStringLiteral("pin.fill"), QStringLiteral("view-pin")},
        {QStringLiteral("position.y"), QStringLiteral("align-vertical-center")},
        {QStringLiteral("magnifyingglass"), QStringLiteral("edit-find")},
        {QStringLiteral("pencil"), QStringLiteral("document-edit")},
        {QStringLiteral("doc.on.doc"), QStringLiteral("edit-copy")},
        {QStringLiteral("envelope"), QStringLiteral("mail-send")},
        {QStringLiteral("photo"), QStringLiteral("image-x-generic")},
    };
    return names;
}

// Draws a symbol into any square, in the text colour of the palette in use.
class DrawnSymbolEngine final : public QIconEngine {
public:
    explicit DrawnSymbolEngine(QString symbol)
        : m_symbol(std::move(symbol))
    {
    }

    QIconEngine *clone() const override { return new DrawnSymbolEngine(m_symbol); }
    QString key() const override { return QStringLiteral("quorvane.drawnSymbol"); }

    QPixmap pixmap(const QSize &size, QIcon::Mode mode, QIcon::State state) override
    {
        QPixmap pixmap(size);
        pixmap.fill(Qt::transparent);
        QPainter painter(&pixmap);
        paint(&painter, QRect(QPoint(0, 0), size), mode, state);
        return pixmap;
    }

    void paint(QPainter *painter, const QRect &rect, QIcon::Mode mode, QIcon::State) override
    {
        const QPalette palette = QGuiApplication::palette();
        QColor ink = palette.color(mode == QIcon::Disabled ? QPalette::Disabled : QPalette::Active, QPalette::WindowText);
        if (m_symbol.contains(QLatin1String("exclamationmark")))
            ink = QColor(0xE0, 0x9A, 0x1E);
        painter->save();
        painter->setRenderHint(QPainter::Antialiasing);
        const qreal side = std::min(rect.width(), rect.height());
        const QRectF box(rect.x() + (rect.width() - side) / 2, rect.y() + (rect.height() - side) / 2, side, side);
        const qreal u = side / 16.0; // the drawing's unit: a 16 × 16 grid
        const auto at = [&](qreal x, qreal y) { return QPointF(box.x() + x * u, box.y() + y * u); };
        QPen pen(ink, std::max<qreal>(1.0, 1.6 * u), Qt::SolidLine, Qt::RoundCap, Qt::RoundJoin);
        painter->setPen(pen);
        painter->setBrush(Qt::NoBrush);
        const bool filled = m_symbol.endsWith(QLatin1String(".fill"));
        const bool circled = m_symbol.contains(QLatin1String(".circle"));
        if (circled) {
            if (filled) {
                painter->setBrush(ink);
                painter->drawEllipse(QRectF(at(1, 1), at(15, 15)));
                pen.setColor(palette.color(QPalette::Window));
                painter->setPen(pen);
                painter->setBrush(Qt::NoBrush);
            } else {
                painter->drawEllipse(QRectF(at(1, 1), at(15, 15)));
            }
        }
        const QString base = m_symbol.section(QLatin1Char('.'), 0, 0);
        const QString second = m_symbol.section(QLatin1Char('.'), 1, 1);
        if (base == QLatin1String("plus")) {
            painter->drawLine(at(8, 4), at(8, 12));
            painter->drawLine(at(4, 8), at(12, 8));
        } else if (base == QLatin1String("minus")) {
            painter->drawLine(at(4, 8), at(12, 8));
        } else if (base == QLatin1String("xmark")) {
            painter->drawLine(at(5, 5), at(11, 11));
            painter->drawLine(at(11, 5), at(5, 11));
        } else if (base == QLatin1String("checkmark")) {
            painter->drawPolyline(QPolygonF{at(4, 8.5), at(7, 11.5), at(12, 4.5)});
        } else if (base == QLatin1String("chevron") || base == QLatin1String("arrow")) {
            QPolygonF head{at(6, 4), at(10, 8), at(6, 12)}; // pointing right
            qreal turn = 0;
            if (second == QLatin1String("left"))
                turn = 180;
            else if (second == QLatin1String("up"))
                turn = -90;
            else if (second == QLatin1String("down"))
                turn = 90;
            painter->translate(box.center());
            painter->rotate(turn);
            painter->translate(-box.center());
            if (base == QLatin1String("arrow")) {
                painter->drawLine(at(3, 8), at(12, 8));
                head = QPolygonF{at(8, 4), at(12, 8), at(8, 12)};
            }
            painter->drawPolyline(head);
        } else if (base == QLatin1String("exclamationmark")) {
            QPolygonF triangle{at(8, 1.5), at(15, 14), at(1, 14)};
            if (filled) {
                painter->setBrush(ink);
                painter->drawPolygon(triangle);
                pen.setColor(Qt::white);
                painter->setPen(pen);
            } else {
                painter->drawPolygon(triangle);
            }
            painter->drawLine(at(8, 6), at(8, 9.5));
            painter->drawPoint(at(8, 12));
        } else if (base == QLatin1String("folder")) {
            QPainterPath folder;
            folder.moveTo(at(1.5, 4));
            folder.lineTo(at(6, 4));
            folder.lineTo(at(7.5, 5.5));
            folder.lineTo(at(14.5, 5.5));
            folder.lineTo(at(14.5, 13));
            folder.lineTo(at(1.5, 13));
            folder.closeSubpath();
            if (filled)
                painter->setBrush(ink);
            painter->drawPath(folder);
        } else {
            if (!circled)
                painter->drawEllipse(QRectF(at(1, 1), at(15, 15)));
            QString letter = base.left(1).toUpper();
            if (base == QLatin1String("info"))
                letter = QStringLiteral("i");
            else if (base == QLatin1String("questionmark"))
                letter = QStringLiteral("?");
            QFont font = painter->font();
            font.setPixelSize(std::max(6, int(9 * u)));
            font.setBold(true);
            painter->setFont(font);
            painter->drawText(box, Qt::AlignCenter, letter);
        }
        painter->restore();
    }

private:
    QString m_symbol;
};

} // namespace

QString SymbolIcon::themeName(const QString &symbol)
{
    return themeNames().value(symbol);
}

QIcon SymbolIcon::drawn(const QString &symbol)
{
    return QIcon(new DrawnSymbolEngine(symbol));
}

QIcon SymbolIcon::icon(const QString &symbol)
{
    const QString name = themeName(symbol);
    if (!name.isEmpty() && QIcon::hasThemeIcon(name))
        return QIcon::fromTheme(name);
    return drawn(symbol);
}

void SymbolIcon::apply(QAbstractButton *button, const QString &symbol)
{
    button->setIcon(icon(symbol));
    button->setProperty(property, symbol);
}

QLabel *SymbolIcon::label(const QString &symbol, int size, QWidget *parent)
{
    auto *label = new QLabel(parent);
    label->setPixmap(icon(symbol).pixmap(size, size));
    label->setFixedSize(size, size);
    label->setProperty(property, symbol);
    return label;
}

} // namespace quorvane
