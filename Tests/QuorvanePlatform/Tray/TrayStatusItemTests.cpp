#include "Tray/TrayStatusItem.h"

#include <QImage>
#include <gtest/gtest.h>

using namespace quorvane;

// The offscreen platform has no tray: the item says so, and using it anyway is harmless.
TEST(TrayStatusItem, WithoutATrayHostItIsUnavailableAndStillUsable)
{
    TrayStatusItem item;
    EXPECT_FALSE(item.isAvailable());
    int clicks = 0;
    item.setOnClick([&](const StatusItem::Click &) { ++clicks; });
    item.setOnWheel([](const StatusItem::Wheel &) {});
    QImage image(22, 22, QImage::Format_ARGB32_Premultiplied);
    image.fill(Qt::black);
    item.setImage(image);
    item.setVisible(true);
    item.setVisible(false);
    EXPECT_EQ(clicks, 0);
}
