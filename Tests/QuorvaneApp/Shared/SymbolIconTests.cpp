#include "Shared/Style.h"
#include "Shared/SymbolIcon.h"

#include <QFile>
#include <QGuiApplication>
#include <QLabel>
#include <QPushButton>
#include <QRegularExpression>
#include <gtest/gtest.h>

using namespace quorvane;

namespace {

// The pixels of a drawing that carry ink (unlike its background, transparent or opaque), and the
// colour of the most opaque or the farthest from the background.
struct Ink {
    int pixels = 0;
    QColor strongest;
};

Ink inkOf(const QImage &drawn, const QColor &background = Qt::transparent)
{
    const QImage image = drawn.convertToFormat(QImage::Format_ARGB32);
    Ink ink;
    int best = 0;
    for (int y = 0; y < image.height(); ++y)
        for (int x = 0; x < image.width(); ++x) {
            const QRgb pixel = image.pixel(x, y);
            const int weight = background.alpha() == 0
                ? qAlpha(pixel)
                : std::abs(qRed(pixel) - background.red()) + std::abs(qGreen(pixel) - background.green())
                    + std::abs(qBlue(pixel) - background.blue());
            if (weight == 0)
                continue;
            ++ink.pixels;
            if (weight > best) {
                best = weight;
                ink.strongest = QColor(qRed(pixel), qGreen(pixel), qBlue(pixel));
            }
        }
    return ink;
}

// Colours equal but for the rounding of a premultiplied drawing.
bool near(const QColor &a, const QColor &b)
{
    return std::abs(a.red() - b.red()) <= 2 && std::abs(a.green() - b.green()) <= 2 && std::abs(a.blue() - b.blue()) <= 2;
}

// The symbols the build compiles in, read from the same list.
QStringList listedSymbols()
{
    QFile list(QStringLiteral(QUORVANE_SOURCE_DIR "/Resources/Symbols/symbols.txt"));
    EXPECT_TRUE(list.open(QIODevice::ReadOnly));
    QStringList symbols;
    for (const QString &line : QString::fromUtf8(list.readAll()).split(QLatin1Char('\n')))
        if (!line.isEmpty() && !line.startsWith(QLatin1Char('#')))
            symbols << line.section(QRegularExpression(QStringLiteral("\\s+")), 0, 0);
    return symbols;
}

} // namespace

TEST(SymbolIcon, EveryListedSymbolIsAShapeOfItsOwnInTheInkAsked)
{
    const QStringList symbols = listedSymbols();
    ASSERT_GT(symbols.size(), 40);
    for (const QString &symbol : symbols) {
        ASSERT_TRUE(SymbolIcon::known(symbol)) << qPrintable(symbol);
        const Ink ink = inkOf(SymbolIcon::pixmap(symbol, 32, QColor(0x12, 0x34, 0x56)).toImage());
        EXPECT_GT(ink.pixels, 20) << qPrintable(symbol);
        EXPECT_LT(ink.pixels, 32 * 32) << qPrintable(symbol);
        EXPECT_TRUE(near(ink.strongest, QColor(0x12, 0x34, 0x56))) << qPrintable(symbol);
    }
    EXPECT_NE(SymbolIcon::pixmap(QStringLiteral("plus"), 32, Qt::black).toImage(),
              SymbolIcon::pixmap(QStringLiteral("minus"), 32, Qt::black).toImage());
    // Drawn for the screen's ratio: twice the pixels at 2x, the same size on screen.
    const QPixmap sharp = SymbolIcon::pixmap(QStringLiteral("trash"), 16, Qt::black, 2.0);
    EXPECT_EQ(sharp.size(), QSize(32, 32));
    EXPECT_EQ(sharp.deviceIndependentSize(), QSizeF(16, 16));
}

TEST(SymbolIcon, AnUnknownSymbolDrawsNothingAndIsRecorded)
{
    EXPECT_FALSE(SymbolIcon::known(QStringLiteral("no.such.symbol")));
    EXPECT_EQ(inkOf(SymbolIcon::icon(QStringLiteral("no.such.symbol")).pixmap(32, 32).toImage()).pixels, 0);
    EXPECT_TRUE(SymbolIcon::unknownAsked().contains(QStringLiteral("no.such.symbol")));
}

TEST(SymbolIcon, IconsAndLabelsTakeTheirColoursFromThePaletteWhenPainted)
{
    QPalette palette = lightPalette();
    const QPalette before = QGuiApplication::palette();
    QGuiApplication::setPalette(palette);
    const QIcon trash = SymbolIcon::icon(QStringLiteral("trash"));
    EXPECT_TRUE(near(inkOf(trash.pixmap(24, 24).toImage()).strongest, palette.color(QPalette::WindowText)));
    // The same icon follows a palette set after it was made.
    QGuiApplication::setPalette(darkPalette());
    EXPECT_TRUE(near(inkOf(trash.pixmap(24, 24).toImage()).strongest, darkPalette().color(QPalette::WindowText)));
    EXPECT_TRUE(near(inkOf(trash.pixmap(24, 24, QIcon::Disabled).toImage()).strongest,
                     darkPalette().color(QPalette::Disabled, QPalette::WindowText)));
    // Warnings are drawn in the warning colour; a tint given wins.
    EXPECT_TRUE(near(inkOf(SymbolIcon::icon(QStringLiteral("exclamationmark.triangle")).pixmap(24, 24).toImage()).strongest,
                     Style::warningColor(darkPalette())));
    EXPECT_TRUE(near(inkOf(SymbolIcon::icon(QStringLiteral("trash"), Qt::red).pixmap(24, 24).toImage()).strongest,
                     QColor(Qt::red)));
    QGuiApplication::setPalette(before);

    QPushButton button;
    SymbolIcon::apply(&button, QStringLiteral("trash"));
    EXPECT_EQ(button.property(SymbolIcon::property).toString(), "trash");
    std::unique_ptr<QLabel> label(SymbolIcon::label(QStringLiteral("info.circle"), 16));
    EXPECT_EQ(label->property(SymbolIcon::property).toString(), "info.circle");
    EXPECT_EQ(label->size(), QSize(16, 16));
    label->setForegroundRole(QPalette::PlaceholderText);
    label->setPalette(lightPalette());
    const QColor lightWindow = lightPalette().color(QPalette::Window);
    EXPECT_TRUE(near(inkOf(label->grab().toImage(), lightWindow).strongest, lightPalette().color(QPalette::PlaceholderText)));
    label->setPalette(darkPalette());
    const QColor darkWindow = darkPalette().color(QPalette::Window);
    EXPECT_TRUE(near(inkOf(label->grab().toImage(), darkWindow).strongest, darkPalette().color(QPalette::PlaceholderText)));
}
