#include "Shared/CapsuleStyle.h"

#include <QApplication>
#include <QImage>
#include <QLineEdit>
#include <QPainterPath>
#include <QPushButton>
#include <QTest>
#include <QVBoxLayout>
#include <gtest/gtest.h>

using namespace quorvane;

namespace {

// The widget alone, drawn on a transparent image.
QImage rendered(QWidget *widget)
{
    QImage image(widget->size(), QImage::Format_ARGB32_Premultiplied);
    image.fill(Qt::transparent);
    widget->render(&image, QPoint(), QRegion(), QWidget::DrawChildren);
    return image;
}

} // namespace

TEST(CapsuleField, FixedHeightFullWidthTextTwelveInStrokeInside)
{
    QWidget host;
    auto *layout = new QVBoxLayout(&host);
    layout->setContentsMargins(0, 0, 0, 0);
    layout->setSpacing(0);
    auto *first = new QLineEdit;
    auto *second = new QLineEdit;
    layout->addWidget(first);
    layout->addWidget(second);
    capsuleField(first, 28);
    capsuleField(second, 28);
    QFont big = first->font();
    big.setPixelSize(30);
    first->setFont(big); // the height does not follow the font
    host.resize(300, 56);
    host.show();
    QApplication::processEvents();

    EXPECT_EQ(first->height(), 28);
    EXPECT_EQ(first->width(), 300);
    EXPECT_EQ(second->geometry().top(), 28); // stacked without overlap
    first->setText(QStringLiteral("x"));
    first->setCursorPosition(0);
    EXPECT_EQ(first->inputMethodQuery(Qt::ImCursorRectangle).toRect().center().x(), 12);

    const QImage image = rendered(first);
    EXPECT_GT(qAlpha(image.pixel(0, 14)), 0) << "the stroke lies inside the left end";
    EXPECT_GT(qAlpha(image.pixel(299, 14)), 0) << "and inside the right end";
    EXPECT_EQ(qAlpha(image.pixel(0, 0)), 0) << "the corners are round";
}

TEST(CapsuleButtons, CapsulesAndTheCallToActionFilledWithTheHighlight)
{
    QWidget host;
    auto *layout = new QVBoxLayout(&host);
    auto *plain = new QPushButton(QStringLiteral("Cancel"));
    auto *cta = new QPushButton(QStringLiteral("Create"));
    layout->addWidget(plain);
    layout->addWidget(cta);
    capsuleButtons(&host);
    prominentCTA(cta);
    QPalette palette = host.palette();
    palette.setColor(QPalette::Highlight, QColor(0x7E, 0x9B, 0x78));
    host.setPalette(palette);
    host.show();
    QApplication::processEvents();

    EXPECT_EQ(plain->height(), capsuleButtonHeight);
    const QImage image = rendered(cta);
    EXPECT_EQ(qAlpha(image.pixel(0, 0)), 0) << "a capsule has no square corner";
    EXPECT_EQ(QColor(image.pixel(cta->width() / 2, 3)), QColor(0x7E, 0x9B, 0x78)) << "filled with the accent";
    const QImage plainImage = rendered(plain);
    EXPECT_NE(QColor(plainImage.pixel(plain->width() / 2, 3)), QColor(0x7E, 0x9B, 0x78));

    // A later button in the same host is a capsule too.
    auto *later = new QPushButton(QStringLiteral("Later"));
    layout->addWidget(later);
    QApplication::processEvents();
    EXPECT_EQ(later->height(), capsuleButtonHeight);
}

TEST(CapsuleButtons, AFocusedButtonShowsOneRingItsBorder)
{
    QWidget host;
    auto *layout = new QVBoxLayout(&host);
    auto *button = new QPushButton(QStringLiteral("Reveal"));
    auto *other = new QPushButton(QStringLiteral("Other"));
    layout->addWidget(button);
    layout->addWidget(other);
    capsuleButtons(&host);
    host.show();
    QApplication::setActiveWindow(&host);
    QApplication::processEvents();
    other->setFocus();
    const QImage plain = rendered(button);
    QTest::keyClick(other, Qt::Key_Backtab); // a focus the keyboard moved: the one that shows a ring
    ASSERT_TRUE(button->hasFocus());
    const QImage focused = rendered(button);
    // The focus changes the border's colour and nothing inside it: no second, inner ring.
    QPainterPath interior;
    const qreal radius = plain.height() / 2.0 - 3;
    interior.addRoundedRect(QRectF(plain.rect()).adjusted(3, 3, -3, -3), radius, radius);
    int border = 0;
    for (int y = 0; y < plain.height(); ++y)
        for (int x = 0; x < plain.width(); ++x) {
            if (plain.pixel(x, y) == focused.pixel(x, y))
                continue;
            const bool inside = interior.contains(QPointF(x + 0.5, y + 0.5));
            EXPECT_FALSE(inside) << "changed inside the border at " << x << "," << y;
            if (inside)
                return;
            ++border;
        }
    EXPECT_GT(border, 20) << "the focus shows on the border";
}
