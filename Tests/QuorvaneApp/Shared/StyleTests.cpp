#include "Shared/Style.h"

#include "Appearance.h"

#include <QEvent>
#include <QLabel>
#include <QWidget>
#include <gtest/gtest.h>

using namespace quorvane;

namespace {

struct PaletteChanges : QObject {
    int count = 0;
    bool eventFilter(QObject *, QEvent *event) override
    {
        count += event->type() == QEvent::PaletteChange ? 1 : 0;
        return false;
    }
};

std::tuple<int, int, int> rgb(const QColor &c)
{
    return {c.red(), c.green(), c.blue()};
}

} // namespace

TEST(ColorFromHex, ReadsTrimmedSixCharactersFromTheirStart)
{
    const std::tuple<int, int, int> ochre{199, 154, 91};
    for (const char *text : {"#c79a5b", "C79A5B", "##C79A5B#", "  #C79A5B  ", "# c79a5b #"}) {
        ASSERT_TRUE(optionalColorFromHex(QString::fromUtf8(text))) << text;
        EXPECT_EQ(rgb(*optionalColorFromHex(QString::fromUtf8(text))), ochre) << text;
    }
    // Reading stops at the first non-digit: ABCDE of ABCDEZ.
    EXPECT_EQ(rgb(colorFromHex(QStringLiteral("ABCDEZ"))), std::make_tuple(0x0A, 0xBC, 0xDE));
    EXPECT_EQ(rgb(colorFromHex(QStringLiteral("0x00ff"))), std::make_tuple(0, 0, 0xFF));

    const QColor fallback = colorFromHex(Appearance::defaultAccentHex);
    for (const char *text : {"#C79A5B80", "#FFF", "", "#", "\tC79A5B", "ZZZZZZ", "C79A5B\n"}) {
        EXPECT_FALSE(optionalColorFromHex(QString::fromUtf8(text))) << text;
        EXPECT_EQ(colorFromHex(QString::fromUtf8(text)), fallback) << text;
    }
    EXPECT_EQ(rgb(fallback), ochre);
}

TEST(HexString, UpperCaseSixDigitsRoundedHalfAwayFromZero)
{
    EXPECT_EQ(hexString(colorFromHex(QStringLiteral("#6c8ba6"))), "#6C8BA6");
    QColor half = colorFromHex(QStringLiteral("#102030"));
    half.setAlphaF(0.5f);
    EXPECT_EQ(hexString(half), "#102030");
    EXPECT_EQ(hexString(QColor::fromRgbF(0.5f, 0.0f, 1.0f)), "#8000FF"); // 127.5 rounds up
    EXPECT_EQ(hexString(QColor()), "#FF9500");
    EXPECT_EQ(hexString(QColor::fromRgbF(1.2f, -0.1f, 0.0f)), "#FF0000"); // outside sRGB: clamped
}

TEST(AccentPresets, OchreIsTheDefaultAccentThenSlateRoseSage)
{
    const auto &presets = Style::accentPresets();
    ASSERT_EQ(presets.size(), 4u);
    EXPECT_EQ(presets[0].name, "Ochre");
    EXPECT_EQ(presets[0].hex, Appearance::defaultAccentHex);
    EXPECT_EQ(presets[1].name + presets[1].hex, "Slate#6C8BA6");
    EXPECT_EQ(presets[2].name + presets[2].hex, "Rose#C08497");
    EXPECT_EQ(presets[3].name + presets[3].hex, "Sage#7E9B78");
}

TEST(ApplyAppearance, SetsTheLookOnceAndSystemClearsIt)
{
    QWidget window;
    QWidget child(&window);
    PaletteChanges changes;
    window.installEventFilter(&changes);

    applyAppearance(&window, AppearanceMode::dark);
    EXPECT_EQ(appliedAppearance(&window), AppearanceMode::dark);
    EXPECT_TRUE(window.testAttribute(Qt::WA_SetPalette));
    EXPECT_EQ(child.palette().color(QPalette::Window), darkPalette().color(QPalette::Window));
    const int afterDark = changes.count;
    EXPECT_GE(afterDark, 1);
    applyAppearance(&window, AppearanceMode::dark); // already the target: nothing is set
    EXPECT_EQ(changes.count, afterDark);

    applyAppearance(&window, AppearanceMode::light);
    EXPECT_EQ(window.palette().color(QPalette::Window), lightPalette().color(QPalette::Window));

    applyAppearance(&window, AppearanceMode::system);
    EXPECT_EQ(appliedAppearance(&window), AppearanceMode::system);
    EXPECT_FALSE(window.testAttribute(Qt::WA_SetPalette));
    EXPECT_EQ(window.palette().color(QPalette::Window), QWidget().palette().color(QPalette::Window));
    const int afterSystem = changes.count;
    applyAppearance(&window, AppearanceMode::system);
    EXPECT_EQ(changes.count, afterSystem);
}

TEST(SectionHeader, FourteenPointSemiboldAsWritten)
{
    std::unique_ptr<QLabel> header(makeSectionHeader(QStringLiteral("When should I remind you?")));
    EXPECT_EQ(header->text(), "When should I remind you?");
    EXPECT_EQ(header->font().pixelSize(), 14);
    EXPECT_EQ(header->font().weight(), QFont::DemiBold);
    EXPECT_EQ(header->font().capitalization(), QFont::MixedCase);
}
