#include "Shared/SymbolIcon.h"

#include "Shared/Style.h"

#include <QAbstractButton>
#include <QFile>
#include <QGuiApplication>
#include <QIconEngine>
#include <QLabel>
#include <QMutex>
#include <QPainter>
#include <QPalette>
#include <QPixmap>
#include <QPixmapCache>
#include <QSet>
#include <QSvgRenderer>

#include <cmath>

namespace quorvane {

namespace {

QMutex unknownLock;
QSet<QString> &unknownSymbols()
{
    static QSet<QString> symbols;
    return symbols;
}

bool isWarning(const QString &symbol) { return symbol.startsWith(QLatin1String("exclamationmark")); }

// The ink of an untinted symbol: the palette's text, or the warning colour for a warning.
QColor paletteInk(const QString &symbol, const QPalette &palette, QPalette::ColorGroup group, QPalette::ColorRole role)
{
    if (isWarning(symbol) && group != QPalette::Disabled)
        return Style::warningColor(palette);
    return palette.color(group, role);
}

// Paints the symbol's icon in the palette's colours at the moment it is drawn.
class TintedSymbolEngine final : public QIconEngine {
public:
    TintedSymbolEngine(QString symbol, QColor tint, bool onAccent = false)
        : m_symbol(std::move(symbol))
        , m_tint(std::move(tint))
        , m_onAccent(onAccent)
    {
    }

    QIconEngine *clone() const override { return new TintedSymbolEngine(m_symbol, m_tint, m_onAccent); }
    QString key() const override { return QStringLiteral("quorvane.symbol"); }
    QString iconName() override { return m_symbol; }
    bool isNull() override { return false; }

    QPixmap pixmap(const QSize &size, QIcon::Mode mode, QIcon::State state) override
    {
        return scaledPixmap(size, mode, state, 1.0);
    }
    // A size wider than tall keeps the symbol at its start and the rest as room after it (the
    // gap before a button's text where a style sheet draws the button).
    QPixmap scaledPixmap(const QSize &size, QIcon::Mode mode, QIcon::State, qreal scale) override
    {
        const int side = std::min(size.width(), size.height());
        const QPixmap symbol = SymbolIcon::pixmap(m_symbol, side, ink(mode), scale);
        if (size.width() <= size.height())
            return symbol;
        QPixmap wide(QSize(qRound(size.width() * scale), qRound(side * scale)));
        wide.setDevicePixelRatio(scale);
        wide.fill(Qt::transparent);
        QPainter painter(&wide);
        painter.drawPixmap(0, 0, symbol);
        return wide;
    }
    void paint(QPainter *painter, const QRect &rect, QIcon::Mode mode, QIcon::State state) override
    {
        const qreal ratio = painter->device() ? painter->device()->devicePixelRatioF() : 1.0;
        const int side = std::min(rect.width(), rect.height());
        const QPixmap drawn = scaledPixmap(QSize(side, side), mode, state, ratio);
        const int x = rect.width() > rect.height() ? rect.x() : rect.x() + (rect.width() - side) / 2;
        painter->drawPixmap(QRect(x, rect.y() + (rect.height() - side) / 2, side, side), drawn);
    }
    QSize actualSize(const QSize &size, QIcon::Mode, QIcon::State) override
    {
        const int side = std::min(size.width(), size.height());
        return {std::max(size.width(), side), side};
    }

private:
    QColor ink(QIcon::Mode mode) const
    {
        const QPalette palette = QGuiApplication::palette();
        if (m_onAccent && mode != QIcon::Disabled)
            return Style::textOn(palette.color(QPalette::Highlight));
        if (m_tint.isValid()) {
            if (mode != QIcon::Disabled)
                return m_tint;
            return palette.color(QPalette::Disabled, QPalette::WindowText);
        }
        const QPalette::ColorGroup group = mode == QIcon::Disabled ? QPalette::Disabled : QPalette::Active;
        return paletteInk(m_symbol, palette, group,
                          mode == QIcon::Selected ? QPalette::HighlightedText : QPalette::WindowText);
    }

    QString m_symbol;
    QColor m_tint;
    bool m_onAccent;
};

// Shows a symbol in the label's own foreground colour, drawn afresh at each paint.
class SymbolLabel final : public QLabel {
public:
    SymbolLabel(QString symbol, int side, QWidget *parent)
        : QLabel(parent)
        , m_symbol(std::move(symbol))
        , m_side(side)
    {
        setFixedSize(side, side);
        setProperty(SymbolIcon::property, m_symbol);
    }

protected:
    void paintEvent(QPaintEvent *) override
    {
        QPainter painter(this);
        const QPalette::ColorGroup group = isEnabled() ? QPalette::Active : QPalette::Disabled;
        // A warning symbol keeps the warning colour unless the label was given a colour of its own.
        const QColor ink = foregroundRole() == QPalette::WindowText && !testAttribute(Qt::WA_SetPalette)
            ? paletteInk(m_symbol, palette(), group, QPalette::WindowText)
            : palette().color(group, foregroundRole());
        const QString symbol = property(SymbolIcon::property).toString();
        painter.drawPixmap(QRect(0, 0, m_side, m_side),
                           SymbolIcon::pixmap(symbol.isEmpty() ? m_symbol : symbol, m_side, ink, devicePixelRatioF()));
    }

private:
    QString m_symbol;
    int m_side;
};

} // namespace

QString SymbolIcon::resourcePath(const QString &symbol)
{
    return QStringLiteral(":/symbols/") + symbol + QStringLiteral(".svg");
}

bool SymbolIcon::known(const QString &symbol) { return !symbol.isEmpty() && QFile::exists(resourcePath(symbol)); }

QStringList SymbolIcon::unknownAsked()
{
    const QMutexLocker locker(&unknownLock);
    QStringList symbols = unknownSymbols().values();
    symbols.sort();
    return symbols;
}

QPixmap SymbolIcon::pixmap(const QString &symbol, int side, const QColor &ink, qreal ratio)
{
    const int pixels = std::max(1, int(std::lround(side * ratio)));
    // Drawn once per symbol, size and ink: a page of many rows paints the same few over and over.
    const QString key = QStringLiteral("quorvane.symbol/%1/%2/%3/%4")
                            .arg(symbol)
                            .arg(pixels)
                            .arg(ink.rgba(), 0, 16)
                            .arg(ratio);
    QPixmap cached;
    if (QPixmapCache::find(key, &cached))
        return cached;
    QImage image(pixels, pixels, QImage::Format_ARGB32_Premultiplied);
    image.fill(Qt::transparent);
    QSvgRenderer renderer(resourcePath(symbol));
    if (!renderer.isValid()) {
        const QMutexLocker locker(&unknownLock);
        unknownSymbols().insert(symbol);
    } else {
        QPainter painter(&image);
        painter.setRenderHint(QPainter::Antialiasing);
        renderer.render(&painter, QRectF(0, 0, pixels, pixels));
        // The icons are drawn in one grey: keep their shape, take the ink.
        painter.setCompositionMode(QPainter::CompositionMode_SourceIn);
        painter.fillRect(image.rect(), ink);
    }
    QPixmap result = QPixmap::fromImage(image);
    result.setDevicePixelRatio(ratio);
    QPixmapCache::insert(key, result);
    return result;
}

QIcon SymbolIcon::icon(const QString &symbol, const QColor &tint)
{
    if (!known(symbol)) {
        const QMutexLocker locker(&unknownLock);
        unknownSymbols().insert(symbol);
    }
    return QIcon(new TintedSymbolEngine(symbol, tint));
}

QIcon SymbolIcon::iconOnAccent(const QString &symbol)
{
    icon(symbol); // notes an unknown symbol
    return QIcon(new TintedSymbolEngine(symbol, {}, true));
}

void SymbolIcon::apply(QAbstractButton *button, const QString &symbol)
{
    button->setIcon(icon(symbol));
    button->setProperty(property, symbol);
}

QLabel *SymbolIcon::label(const QString &symbol, int size, QWidget *parent)
{
    if (!known(symbol)) {
        const QMutexLocker locker(&unknownLock);
        unknownSymbols().insert(symbol);
    }
    return new SymbolLabel(symbol, size, parent);
}

} // namespace quorvane
