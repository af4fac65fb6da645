#include "FakeScreenList.h"
#include "ManualScheduler.h"
#include "ShownText.h"
#include "Triggers/ScrollCycleHUD.h"

#include "Shared/Style.h"
#include "Shared/Theme.h"
#include "Windows/WindowLevel.h"
#include <QLabel>
#include <QPainter>
#include <QWidget>

#include <gtest/gtest.h>

using namespace quorvane;
using quorvane::test::FakeScreenList;
using quorvane::test::ManualScheduler;

TEST(ScrollCycleHUD, NeighboursWrapOnlyWhenAskedAndTheRingHasTwoNames)
{
    using L = ScrollCycleHUD::Labels;
    const QStringList abc{"A", "B", "C"};
    struct Case {
        QStringList ring;
        int index;
        bool wraps;
        std::optional<L> labels;
    } cases[] = {
        {abc, 1, false, L{"A", "B", "C"}},
        {abc, 0, false, L{"", "A", "B"}},
        {abc, 2, false, L{"B", "C", ""}},
        {abc, 0, true, L{"C", "A", "B"}},
        {abc, 2, true, L{"B", "C", "A"}},
        {{"A", "B"}, 0, true, L{"B", "A", "B"}},
        {{"A"}, 0, true, L{"", "A", ""}},
        {abc, 3, true, std::nullopt},
        {abc, -1, true, std::nullopt},
        {{}, 0, true, std::nullopt},
    };
    for (const Case &c : cases)
        EXPECT_EQ(ScrollCycleHUD::labelsFor(c.ring, c.index, c.wraps), c.labels) << c.ring.join(',').toStdString() << c.index;
}

namespace {

struct HudTest : ::testing::Test {
    ManualScheduler scheduler;
    FakeScreenList screens;
    QPoint pointer{700, 100}; // on the second screen
    ScrollCycleHUD hud{scheduler, screens, [this] { return pointer; }};
};

} // namespace

TEST_F(HudTest, FadesInWithoutASlideThenSlidesOnLaterSteps)
{
    hud.show({"A", "B", "C"}, 5, true, 1);
    EXPECT_EQ(hud.panel(), nullptr); // outside the ring: nothing at all

    hud.show({"A", "B", "C"}, 1, false, 1);
    QWidget *panel = hud.panel();
    ASSERT_NE(panel, nullptr);
    EXPECT_TRUE(panel->isVisible());
    EXPECT_EQ(panel->windowTitle(), "Quorvane scroll");
    EXPECT_DOUBLE_EQ(windowOpacity(panel), 0);
    EXPECT_EQ(hud.slideOffset(), 0);
    EXPECT_EQ(hud.labels(), (ScrollCycleHUD::Labels{"A", "B", "C"}));
    EXPECT_EQ(panel->size(), QSize(200, 152)); // short names
    EXPECT_EQ(panel->geometry().center(), QRect(640, 0, 320, 240).center());
    scheduler.advance(0.15);
    EXPECT_DOUBLE_EQ(windowOpacity(panel), 1);

    hud.show({"A", "B", "C"}, 2, false, 1);
    EXPECT_DOUBLE_EQ(hud.slideOffset(), 26); // from one row below
    scheduler.advance(0.19);
    EXPECT_DOUBLE_EQ(hud.slideOffset(), 0);
    EXPECT_EQ(scheduler.pendingCount(), 0u);
}

TEST_F(HudTest, ALongNameWidensThePanelToItsLimitAndIsShortened)
{
    const QString longName(200, QChar(u'W'));
    pointer = QPoint(-50, -50); // on no screen: the first one
    hud.show({"A", longName}, 1, false, 0);
    QWidget *panel = hud.panel();
    EXPECT_EQ(panel->width(), ScrollCycleHUD::maximumWidth);
    EXPECT_EQ(panel->geometry().center(), QRect(0, 0, 640, 400).center());
    const auto shown = hud.shownTexts();
    EXPECT_TRUE(shown.current.endsWith(QChar(0x2026)));
    EXPECT_LT(shown.current.size(), longName.size());
    EXPECT_EQ(shown.previous, "A");
}

TEST_F(HudTest, NamesReadAsWritten)
{
    hud.show({"<b>Bold</b>", "A & <i>B"}, 0, false, 0);
    ASSERT_NE(hud.panel(), nullptr);
    const QStringList shown = test::shownTexts<QLabel>(hud.panel());
    EXPECT_TRUE(shown.contains("<b>Bold</b>")) << shown.join(" | ").toStdString();
    EXPECT_TRUE(shown.contains("A & <i>B")) << shown.join(" | ").toStdString();
}

TEST_F(HudTest, NamesOfTwentyFourCharactersShowWhole)
{
    pointer = QPoint(-50, -50); // the first, larger screen
    for (const QString &name : {QStringLiteral("Client Pitch"), QStringLiteral("Quarterly Budget Reviews"),
                                QStringLiteral("Research & Development 24")}) {
        hud.show({"A", name, "B"}, 1, false, 0);
        EXPECT_EQ(hud.shownTexts().current, name) << hud.panel()->width();
        EXPECT_LE(hud.panel()->width(), ScrollCycleHUD::maximumWidth);
    }
}

TEST_F(HudTest, HideFadesOutAndAShowMeanwhileKeepsThePanel)
{
    hud.hide(); // no panel yet
    hud.show({"A", "B"}, 0, false, 0);
    scheduler.advance(0.2);
    hud.hide();
    scheduler.advance(0.1);
    QWidget *panel = hud.panel();
    EXPECT_TRUE(panel->isVisible());
    const double faded = windowOpacity(panel);
    EXPECT_LT(faded, 1);

    hud.show({"A", "B"}, 1, false, 1); // during the fade-out: no ordering out
    EXPECT_DOUBLE_EQ(hud.slideOffset(), 26);
    scheduler.advance(0.5);
    EXPECT_TRUE(panel->isVisible());
    EXPECT_DOUBLE_EQ(windowOpacity(panel), 1);

    hud.hide();
    scheduler.advance(0.25);
    EXPECT_FALSE(panel->isVisible());
    hud.show({"A", "B"}, 0, false, -1); // a new run fades in from nothing, without a slide
    EXPECT_DOUBLE_EQ(windowOpacity(panel), 0);
    EXPECT_EQ(hud.slideOffset(), 0);
}

// The neighbours' names read 4.5:1 in both looks, over the darkest and the lightest desktop.
TEST_F(HudTest, TheNeighboursNamesReadOverAnyDesktop)
{
    for (const AppearanceMode mode : {AppearanceMode::dark, AppearanceMode::light}) {
        Theme::shared().apply(Appearance{mode, std::nullopt});
        hud.show({"Alpha", "Beta", "Gamma"}, 1, false, 0);
        QWidget *panel = hud.panel();
        ASSERT_NE(panel, nullptr);
        const QImage drawn = panel->grab().toImage().convertToFormat(QImage::Format_ARGB32_Premultiplied);
        for (const QColor behind : {QColor(Qt::black), QColor(Qt::white)}) {
            QImage seen(drawn.size(), QImage::Format_RGB32);
            seen.setDevicePixelRatio(drawn.devicePixelRatio());
            seen.fill(behind);
            QPainter(&seen).drawImage(0, 0, drawn);
            for (const QLabel *label : panel->findChildren<QLabel *>()) {
                if (label->text() == "Beta")
                    continue;
                const QRect box(label->mapTo(panel, QPoint(0, 0)), label->size());
                const QColor ground = seen.pixelColor(box.left() + 2, box.top() + 1);
                double strongest = 1;
                for (int y = box.top(); y <= box.bottom(); ++y)
                    for (int x = box.left(); x <= box.right(); ++x)
                        strongest = std::max(strongest, Style::contrastRatio(seen.pixelColor(x, y), ground));
                EXPECT_GE(strongest, 4.5) << label->text().toStdString() << (mode == AppearanceMode::dark ? " dark" : " light");
            }
        }
        hud.hide();
        scheduler.advance(1);
    }
    Theme::shared().apply(Appearance{});
}
