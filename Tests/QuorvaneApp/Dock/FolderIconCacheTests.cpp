#include "Dock/FolderIconCache.h"

#include <gtest/gtest.h>

using namespace quorvane;

TEST(FolderIconCache, OneEntryPerFolderSizeAndTint)
{
    FolderIconCache cache;
    const QPixmap plain = cache.icon("/d/Work", 48, std::nullopt);
    EXPECT_EQ(plain.size(), QSize(48, 48));
    cache.icon("/d/Work", 48, std::nullopt);
    EXPECT_EQ(cache.size(), 1);
    EXPECT_EQ(cache.icon("/d/Work", 32, std::nullopt).size(), QSize(32, 32));
    EXPECT_EQ(cache.size(), 2);
    // A tint that is not a colour gives the untinted icon, under its own key.
    EXPECT_EQ(cache.icon("/d/Work", 48, "#GG0000").toImage(), plain.toImage());
    EXPECT_EQ(cache.size(), 3);
    EXPECT_NE(cache.icon("/d/Work", 48, "#CC3333").toImage(), plain.toImage());
    cache.clear();
    EXPECT_EQ(cache.size(), 0);
}

TEST(FolderIconCache, TintTakesHueAndSaturationAndKeepsLightnessAndAlpha)
{
    QImage icon(2, 1, QImage::Format_ARGB32);
    icon.setPixel(0, 0, qRgba(40, 120, 200, 255));
    icon.setPixel(1, 0, qRgba(0, 0, 0, 0));
    const QColor red(220, 20, 20);
    const QImage tinted = FolderIconCache::tinted(icon, red);
    const QColor pixel = QColor::fromRgba(tinted.pixel(0, 0)).toHsl();
    EXPECT_EQ(pixel.hslHue(), red.toHsl().hslHue());
    EXPECT_NEAR(pixel.lightnessF(), QColor(40, 120, 200).toHsl().lightnessF(), 0.01);
    EXPECT_EQ(qAlpha(tinted.pixel(0, 0)), 255);
    EXPECT_EQ(qAlpha(tinted.pixel(1, 0)), 0);
}
