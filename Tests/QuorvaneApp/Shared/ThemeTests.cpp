#include "Shared/FocusRing.h"
#include "Shared/Style.h"
#include "Shared/Theme.h"

#include <QApplication>
#include <QCheckBox>
#include <QLabel>
#include <QMessageBox>
#include <QProxyStyle>
#include <QPushButton>
#include <QSet>
#include <QStyle>
#include <QTest>
#include <QVBoxLayout>
#include <gtest/gtest.h>

using namespace quorvane;

namespace {

struct ThemeTest : ::testing::Test {
    bool sessionDark = false;
    int asked = 0;

    void SetUp() override
    {
        Theme::shared().setSystemSource([this] {
            ++asked;
            return sessionDark;
        });
    }
    void TearDown() override
    {
        Theme::shared().setFollowPlatformPalette(false);
        Theme::shared().setSystemSource({});
        Theme::shared().apply(Appearance{});
    }
};

} // namespace

TEST_F(ThemeTest, SystemFollowsTheSessionAndItsChangesTheFixedLooksDoNot)
{
    QLabel window; // made before any look: it follows the application's palette all the same
    Theme::shared().apply(Appearance{AppearanceMode::system, std::nullopt});
    EXPECT_FALSE(Theme::shared().dark());
    EXPECT_EQ(window.palette().color(QPalette::Window), lightPalette().color(QPalette::Window));
    auto *style = qobject_cast<QProxyStyle *>(QApplication::style());
    ASSERT_NE(style, nullptr);
    EXPECT_EQ(style->baseStyle()->name(), "fusion");

    sessionDark = true;
    Theme::shared().systemChanged();
    EXPECT_TRUE(Theme::shared().dark());
    EXPECT_EQ(window.palette().color(QPalette::Window), darkPalette().color(QPalette::Window));
    EXPECT_EQ(window.palette().color(QPalette::WindowText), darkPalette().color(QPalette::WindowText));

    // A fixed look stays as chosen when the session changes.
    Theme::shared().apply(Appearance{AppearanceMode::light, QStringLiteral("#6C8BA6")});
    const int before = asked;
    sessionDark = false;
    Theme::shared().systemChanged();
    sessionDark = true;
    Theme::shared().systemChanged();
    EXPECT_FALSE(Theme::shared().dark());
    EXPECT_EQ(window.palette().color(QPalette::Highlight), QColor("#6C8BA6"));
    EXPECT_EQ(window.palette().color(QPalette::HighlightedText), Style::textOn(QColor("#6C8BA6")));
    // The session is asked once per change, not at every apply.
    Theme::shared().apply(Appearance{AppearanceMode::system, std::nullopt});
    Theme::shared().apply(Appearance{AppearanceMode::system, QStringLiteral("#C79A5B")});
    EXPECT_LE(asked - before, 3);
    EXPECT_TRUE(Theme::shared().dark());
}

TEST_F(ThemeTest, ACheckBoxIsOutlinedReadablyInTheDarkTheme)
{
    Theme::shared().apply(Appearance{AppearanceMode::dark, std::nullopt});
    QCheckBox box;
    box.resize(box.sizeHint());
    const QImage drawn = box.grab().toImage();
    const QColor window = darkPalette().color(QPalette::Window);
    double strongest = 1;
    for (int y = 0; y < drawn.height(); ++y)
        for (int x = 0; x < std::min(drawn.width(), 20); ++x) // the indicator, before any text
            strongest = std::max(strongest, Style::contrastRatio(QColor(drawn.pixel(x, y)), window));
    EXPECT_GE(strongest, 3.0);
}

TEST_F(ThemeTest, AlertsShowTheApplicationsOwnSymbolsInTheLooksColours)
{
    Theme::shared().apply(Appearance{AppearanceMode::dark, std::nullopt});
    QMessageBox box;
    box.setIcon(QMessageBox::Warning);
    const QImage drawn = box.iconPixmap().toImage();
    ASSERT_FALSE(drawn.isNull());
    // One colour, the look's warning colour, where the symbol is drawn.
    QSet<QRgb> inks;
    for (int y = 0; y < drawn.height(); ++y)
        for (int x = 0; x < drawn.width(); ++x)
            if (qAlpha(drawn.pixel(x, y)) == 255)
                inks.insert(drawn.pixel(x, y));
    EXPECT_EQ(inks, QSet<QRgb>{Style::warningColor(QApplication::palette()).rgb()});
    EXPECT_EQ(QApplication::style()->standardIcon(QStyle::SP_MessageBoxCritical).name(), "xmark.octagon.fill");
    EXPECT_EQ(QApplication::style()->standardIcon(QStyle::SP_MessageBoxInformation).name(), "info.circle");
}

TEST_F(ThemeTest, SystemTakesThePlatformsPaletteWhereItMatchesTheSessionWithTheAccentOnTop)
{
    QLabel window;
    Theme::shared().setFollowPlatformPalette(true);
    Theme::shared().apply(Appearance{AppearanceMode::system, QStringLiteral("#6C8BA6")});
    const QPalette &platform = Theme::shared().platformPalette();
    ASSERT_FALSE(Style::isDark(platform));
    ASSERT_NE(platform.color(QPalette::Window), lightPalette().color(QPalette::Window));
    EXPECT_EQ(window.palette().color(QPalette::Window), platform.color(QPalette::Window));
    EXPECT_EQ(window.palette().color(QPalette::Highlight), QColor("#6C8BA6"));
    // A light platform palette in a dark session: the dark look instead.
    sessionDark = true;
    Theme::shared().systemChanged();
    EXPECT_EQ(window.palette().color(QPalette::Window), darkPalette().color(QPalette::Window));
    // A fixed look is the application's own in its own style.
    Theme::shared().apply(Appearance{AppearanceMode::light, std::nullopt});
    EXPECT_EQ(window.palette().color(QPalette::Window), lightPalette().color(QPalette::Window));
    EXPECT_EQ(qobject_cast<QProxyStyle *>(QApplication::style())->baseStyle()->name(), "fusion");
}

TEST_F(ThemeTest, TheFocusShowsAsARingThatStandsOutInBothLooks)
{
    for (const bool dark : {false, true}) {
        for (const AccentPreset &accent : Style::accentPresets()) {
            const QPalette p = Theme::palette(dark, colorFromHex(accent.hex));
            for (const QColor &ground : {p.color(QPalette::Window), p.color(QPalette::Base)}) {
                EXPECT_GE(Style::contrastRatio(Style::focusColor(p), ground), 3.0) << qPrintable(accent.name) << dark;
                EXPECT_GE(Style::contrastRatio(Style::edgeColor(p), ground), 3.0) << dark;
            }
        }
    }

    Theme::shared().apply(Appearance{AppearanceMode::light, std::nullopt});
    QWidget window;
    auto *column = new QVBoxLayout(&window);
    auto *first = new QPushButton(QStringLiteral("First"));
    auto *second = new QPushButton(QStringLiteral("Second"));
    auto *own = new QPushButton(QStringLiteral("Own"));
    FocusRing::setOwnRing(own);
    for (QWidget *w : {first, second, own})
        column->addWidget(w);
    window.show();
    window.activateWindow();
    ASSERT_TRUE(QTest::qWaitForWindowActive(&window));
    first->setFocus(Qt::TabFocusReason);
    EXPECT_EQ(FocusRing::target(), first);
    QTest::keyClick(first, Qt::Key_Tab);
    ASSERT_EQ(FocusRing::target(), second);
    // The ring is drawn just outside the button, in the focus colour.
    const QImage drawn = window.grab().toImage();
    const QColor ring = Style::focusColor(window.palette());
    const QPoint left(second->geometry().left() - 1, second->geometry().center().y());
    EXPECT_LT(Style::contrastRatio(QColor(drawn.pixel(left)), ring), 1.3)
        << qPrintable(QColor(drawn.pixel(left)).name()) << " " << qPrintable(ring.name());
    QTest::keyClick(second, Qt::Key_Tab);
    EXPECT_EQ(FocusRing::target(), nullptr); // the control draws its own
}
