#include "DesktopPalette.h"

#include <QSet>
#include <gtest/gtest.h>

using namespace quorvane;

TEST(DesktopPalette, HoldsTheEightColoursInOrder)
{
    EXPECT_EQ(DesktopPalette::hexes, (QStringList{"#FF9F0A", "#FF375F", "#BF5AF2", "#0A84FF", "#64D2FF", "#30D158", "#FFD60A", "#FF6B3D"}));
    EXPECT_EQ(DesktopPalette::defaultHex, "#FF9F0A");
}

// The reference hash, written independently: signed 64-bit arithmetic through the unsigned type.
static std::int64_t referenceHash(const QString &name)
{
    std::uint64_t h = 5381;
    for (const char c : name.toUtf8())
        h = h * 33 ^ static_cast<unsigned char>(c);
    return static_cast<std::int64_t>(h);
}

TEST(DesktopPalette, ColourOfANameFollowsTheWorkedExamples)
{
    EXPECT_EQ(referenceHash("Default"), 229411086933486LL);
    EXPECT_EQ(referenceHash("Screenshots"), -4608748341766514182LL);

    struct Case {
        QString name;
        const char *hex;
    };
    const Case cases[] = {
        {"", "#30D158"},
        {"Default", "#FFD60A"},
        // Negative hash: the magnitude mod 8 is 6, not the low three bits (which give 2).
        {"Screenshots", "#FFD60A"},
        // Five UTF-8 bytes (é is two); index 3.
        {QString::fromUtf8("Caf\xC3\xA9"), "#0A84FF"},
    };
    for (const Case &c : cases)
        EXPECT_EQ(DesktopPalette::colorFor(c.name), c.hex) << c.name.toStdString();
}

TEST(DesktopPalette, ColourOfANameIsTheHashMagnitudeModEight)
{
    for (const QString name : {"a", "Work", "Projects 2024", "_Hidden Desktop", "x/y", "日本語"}) {
        const std::int64_t h = referenceHash(name);
        const std::uint64_t magnitude = h < 0 ? 0 - std::uint64_t(h) : std::uint64_t(h);
        EXPECT_EQ(DesktopPalette::colorFor(name), DesktopPalette::hexes.at(qsizetype(magnitude % 8)))
            << name.toStdString();
        EXPECT_EQ(DesktopPalette::colorFor(name), DesktopPalette::colorFor(name));
    }
}

TEST(DesktopPalette, DistinctSkipsColoursInUseInAnyLetterCase)
{
    QStringList used = DesktopPalette::hexes;
    const QString spare = used.takeAt(4);
    for (QString &hex : used)
        hex = hex.toLower();
    for (int i = 0; i < 50; ++i)
        EXPECT_EQ(DesktopPalette::distinct(used), spare);

    // All eight taken: any of the eight.
    QStringList all = DesktopPalette::hexes;
    all[0] = all[0].toLower();
    for (int i = 0; i < 50; ++i)
        EXPECT_TRUE(DesktopPalette::hexes.contains(DesktopPalette::distinct(all)));
}

TEST(DesktopPalette, DistinctChoosesOnlyAmongFreeColours)
{
    const QStringList used{"#FF9F0A", "#ff375f", "#BF5AF2", "not a colour"};
    QSet<QString> seen;
    for (int i = 0; i < 400; ++i) {
        const QString pick = DesktopPalette::distinct(used);
        EXPECT_FALSE(used.contains(pick, Qt::CaseInsensitive)) << pick.toStdString();
        seen.insert(pick);
    }
    // Five free colours; 400 uniform draws reach them all.
    EXPECT_EQ(seen.size(), 5);
}

TEST(DesktopPalette, RandomPicksEveryPaletteColour)
{
    QSet<QString> seen;
    for (int i = 0; i < 500; ++i) {
        const QString pick = DesktopPalette::random();
        ASSERT_TRUE(DesktopPalette::hexes.contains(pick));
        seen.insert(pick);
    }
    EXPECT_EQ(seen.size(), 8);
}
