#include "Shared/SheetBackdrop.h"
#include "Shared/SheetPanelWindow.h"
#include "Shared/Style.h"

#include "Windows/CompositorProbe.h"

#include <QApplication>
#include <QLineEdit>
#include <QMouseEvent>
#include <QTest>
#include <QVBoxLayout>
#include <QWindow>
#include <cmath>
#include <gtest/gtest.h>

using namespace quorvane;

namespace {

struct FixedCompositor final : CompositorProbe {
    bool on;
    explicit FixedCompositor(bool value)
        : on(value)
    {
    }
    bool compositing() const override { return on; }
};

QImage grabbed(QWidget *widget)
{
    QImage image(widget->size(), QImage::Format_ARGB32_Premultiplied);
    image.fill(Qt::transparent);
    widget->render(&image, QPoint(), QRegion(), QWidget::DrawChildren);
    return image;
}

} // namespace

TEST(SheetPanelWindow, FramelessFocusableAndKeptWhenClosed)
{
    FixedCompositor compositing(true);
    SheetPanelWindow window(&compositing);
    EXPECT_TRUE(window.windowFlags().testFlag(Qt::FramelessWindowHint));
    EXPECT_FALSE(window.windowFlags().testFlag(Qt::Tool));
    EXPECT_FALSE(window.windowFlags().testFlag(Qt::WindowDoesNotAcceptFocus));
    EXPECT_FALSE(window.windowFlags().testFlag(Qt::WindowStaysOnTopHint));
    EXPECT_TRUE(window.translucent());
    EXPECT_TRUE(window.movableByBackground());

    auto *layout = new QVBoxLayout(&window);
    auto *field = new QLineEdit;
    layout->addWidget(field);
    window.resize(200, 80);
    window.show();
    window.activateWindow();
    ASSERT_TRUE(QTest::qWaitForWindowActive(&window));
    field->setFocus();
    QTest::keyClicks(field, QStringLiteral("typed"));
    EXPECT_EQ(field->text(), "typed");

    // A press on the background starts a move; a press on a control stays the control's.
    const auto pressAt = [&](QWidget *target, QPoint at) {
        QMouseEvent press(QEvent::MouseButtonPress, at, target->mapToGlobal(at), Qt::LeftButton, Qt::LeftButton, {});
        QApplication::sendEvent(target, &press);
        return press.isAccepted();
    };
    EXPECT_TRUE(pressAt(&window, QPoint(2, 2)));
    window.setMovableByBackground(false);
    EXPECT_FALSE(pressAt(&window, QPoint(2, 2)));
    window.setMovableByBackground(true);

    QWindow *native = window.windowHandle();
    int closed = 0;
    window.onClose = [&] { ++closed; };
    window.close();
    EXPECT_EQ(closed, 1);
    EXPECT_FALSE(window.isVisible());
    window.show();
    EXPECT_TRUE(window.isVisible());
    EXPECT_EQ(window.windowHandle(), native) << "shown again without a new window";
    EXPECT_EQ(field->text(), "typed");
}

TEST(SheetBackdrop, RoundAndTranslucentOnlyWhileComposited)
{
    for (bool compositing : {true, false}) {
        FixedCompositor probe(compositing);
        SheetPanelWindow window(&probe);
        EXPECT_EQ(window.translucent(), compositing);
        auto *backdrop = new SheetBackdrop(&window);
        backdrop->setCornerRadius(22);
        backdrop->setStrokeOpacity(0.6);
        backdrop->resize(120, 120);
        window.resize(120, 120);
        const QImage image = grabbed(backdrop);
        const QColor centre = QColor::fromRgba(image.pixel(60, 60));
        if (compositing) {
            EXPECT_EQ(qAlpha(image.pixel(1, 1)), 0) << "a rounded corner shows what lies behind";
            EXPECT_EQ(centre.alpha(), 255) << "nothing behind the panel shows through its fill";
            // Black text on a white window behind the panel: nothing of it shows.
            for (const QPalette &look : {lightPalette(), darkPalette()}) {
                const QColor fill = look.color(QPalette::Window);
                const auto over = [&](int behind) {
                    const auto mix = [&](int c) { return int(std::lround(c * centre.alphaF() + behind * (1 - centre.alphaF()))); };
                    return QColor(mix(fill.red()), mix(fill.green()), mix(fill.blue()));
                };
                EXPECT_DOUBLE_EQ(Style::contrastRatio(over(0), over(255)), 1.0);
            }
        } else {
            EXPECT_EQ(qAlpha(image.pixel(1, 1)), 255) << "no black corner without a compositor";
            EXPECT_EQ(centre.alpha(), 255);
        }
    }
}
