#include "Settings/SymbolIcon.h"

#include <QLabel>
#include <QPushButton>
#include <gtest/gtest.h>

using namespace quorvane;

namespace {

int inkedPixels(const QIcon &icon)
{
    const QImage image = icon.pixmap(32, 32).toImage();
    int inked = 0;
    for (int y = 0; y < image.height(); ++y)
        for (int x = 0; x < image.width(); ++x)
            inked += qAlpha(image.pixel(x, y)) > 0 ? 1 : 0;
    return inked;
}

} // namespace

TEST(SymbolIcon, ThemeNamesDrawingsAndTheSymbolProperty)
{
    EXPECT_EQ(SymbolIcon::themeName(QStringLiteral("exclamationmark.triangle")), "dialog-warning");
    EXPECT_EQ(SymbolIcon::themeName(QStringLiteral("chevron.right")), "go-next");
    EXPECT_EQ(SymbolIcon::themeName(QStringLiteral("plus.circle")), "list-add");
    EXPECT_TRUE(SymbolIcon::themeName(QStringLiteral("no.such.symbol")).isEmpty());

    // Drawn whether or not a theme is installed: every symbol shows something.
    for (const char *symbol : {"plus", "xmark.circle.fill", "chevron.left", "exclamationmark.triangle.fill", "folder",
                               "info.circle", "no.such.symbol"}) {
        const QIcon icon = SymbolIcon::drawn(QString::fromLatin1(symbol));
        EXPECT_GT(inkedPixels(icon), 10) << symbol;
        EXPECT_LT(inkedPixels(icon), 32 * 32) << symbol;
        EXPECT_FALSE(SymbolIcon::icon(QString::fromLatin1(symbol)).isNull()) << symbol;
    }
    // Different shapes, not one stand-in for all.
    EXPECT_NE(SymbolIcon::drawn(QStringLiteral("plus")).pixmap(32, 32).toImage(),
              SymbolIcon::drawn(QStringLiteral("minus")).pixmap(32, 32).toImage());

    QPushButton button;
    SymbolIcon::apply(&button, QStringLiteral("trash"));
    EXPECT_EQ(button.property(SymbolIcon::property).toString(), "trash");
    EXPECT_FALSE(button.icon().isNull());
    std::unique_ptr<QLabel> label(SymbolIcon::label(QStringLiteral("info.circle"), 16));
    EXPECT_EQ(label->property(SymbolIcon::property).toString(), "info.circle");
    EXPECT_EQ(label->size(), QSize(16, 16));
}
