#include "FakeBackgroundHost.h"
#include "FakeScreenList.h"
#include "Overlays/CueImageCache.h"
#include "Overlays/DesktopCueOverlay.h"
#include "TestEnvironment.h"

#include "Windows/WindowLevel.h"
#include <QCoreApplication>
#include <QFile>
#include <QImage>
#include <QThread>

#include <gtest/gtest.h>

using namespace quorvane;
using quorvane::test::FakeCompositor;
using quorvane::test::FakeScreenList;

namespace {

struct CueTest : ::testing::Test {
    FakeScreenList screens;
    FakeCompositor compositor;
    CueImageCache images;
    DesktopCueOverlay overlay{screens, compositor, nullptr, nullptr, &images};
    quorvane::test::TempHome home;

    static DesktopCue colour(const QString &hex, double opacity = 0.4, bool aboveIcons = false)
    {
        return DesktopCue(true, DesktopCue::Fill::color(hex), opacity, aboveIcons, false);
    }
    std::vector<OverlayWindow *> bands() const
    {
        std::vector<OverlayWindow *> result;
        for (const auto &band : overlay.bands())
            result.push_back(band.get());
        return result;
    }
    // Lets the window system expose and paint what was shown.
    static void settle()
    {
        for (int i = 0; i < 5; ++i) {
            QCoreApplication::processEvents();
            QThread::msleep(5);
        }
    }
};

} // namespace

TEST_F(CueTest, OneBandPerScreenKeptOnTheUnchangedAndOpacityOnlyPaths)
{
    std::optional<DesktopCue> cue = colour("#336699");
    overlay.show(cue);
    const auto built = bands();
    ASSERT_EQ(built.size(), 2u);
    for (int i = 0; i < 2; ++i) {
        EXPECT_EQ(built[i]->geometry(), screens.screens[i]);
        EXPECT_EQ(built[i]->windowTitle(), "Quorvane desktop cue");
        EXPECT_DOUBLE_EQ(windowOpacity(built[i]), 0.4);
        EXPECT_TRUE(built[i]->isVisible());
        EXPECT_TRUE(built[i]->windowFlags().testFlag(Qt::WindowTransparentForInput));
    }
    settle();
    EXPECT_EQ(built[0]->grab().toImage().pixelColor(3, 3), QColor("#336699"));

    overlay.relayout();
    EXPECT_EQ(bands(), built);
    cue->opacity = 0.7;
    overlay.show(cue);
    EXPECT_EQ(bands(), built);
    EXPECT_DOUBLE_EQ(windowOpacity(built[1]), 0.7);
    EXPECT_EQ(overlay.applied().cue, cue);

    // A cue handed in although disabled is shown like any other; a change of it rebuilds.
    cue->enabled = false;
    overlay.show(cue);
    EXPECT_EQ(overlay.bands().size(), 2u);
    EXPECT_NE(bands(), built);
}

TEST_F(CueTest, NewBandsPaintBeforeTheOldOnesGo)
{
    std::optional<DesktopCue> cue = colour("#336699");
    overlay.show(cue);
    settle();
    EXPECT_EQ(overlay.leavingCount(), 0u);

    cue = colour("#993366", 0.4, true);
    overlay.show(cue);
    EXPECT_EQ(overlay.bands().size(), 2u);
    EXPECT_EQ(overlay.leavingCount(), 2u); // still covering until the new ones have painted
    settle();
    EXPECT_EQ(overlay.leavingCount(), 0u);

    // A changed screen arrangement lays the overlay out again by itself.
    const auto before = bands();
    screens.set({QRect(0, 0, 800, 500)});
    ASSERT_EQ(overlay.bands().size(), 1u);
    EXPECT_EQ(overlay.bands()[0]->geometry(), QRect(0, 0, 800, 500));
    EXPECT_NE(overlay.bands()[0].get(), before[0]);

    cue.reset();
    overlay.show(cue);
    EXPECT_TRUE(overlay.bands().empty());
    EXPECT_EQ(overlay.leavingCount(), 0u);
}

TEST_F(CueTest, AMissingImageShowsNothingUntilTheCueChanges)
{
    std::optional<DesktopCue> cue = colour("#336699");
    overlay.show(cue);

    const QString path = home.filePath("cue.png");
    DesktopCue image(true, DesktopCue::Fill::image(path), 0.5, false, false);
    cue = image;
    overlay.show(cue);
    EXPECT_TRUE(overlay.bands().empty());
    EXPECT_EQ(overlay.leavingCount(), 0u);

    QImage picture(4, 2, QImage::Format_RGB32);
    picture.fill(QColor("#204060"));
    ASSERT_TRUE(picture.save(path));
    overlay.relayout(); // unchanged: the file is not tried again
    EXPECT_TRUE(overlay.bands().empty());

    cue->aboveIcons = true;
    overlay.show(cue);
    ASSERT_EQ(overlay.bands().size(), 2u);
    settle();
    // Stretched over the whole screen on both axes.
    EXPECT_EQ(overlay.bands()[0]->grab().toImage().pixelColor(600, 390), QColor("#204060"));

    // Decoded once per path: the file going away changes nothing for a rebuild.
    ASSERT_TRUE(QFile::remove(path));
    cue->aboveIcons = false;
    overlay.show(cue);
    EXPECT_EQ(overlay.bands().size(), 2u);
    images.evict(path);
    cue->aboveIcons = true;
    overlay.show(cue);
    EXPECT_TRUE(overlay.bands().empty());
}

TEST_F(CueTest, WithoutACompositingManagerNoBandIsBuiltUntilOneStarts)
{
    compositor.on = false;
    std::optional<DesktopCue> cue = colour("#336699");
    overlay.show(cue);
    EXPECT_TRUE(overlay.bands().empty());
    EXPECT_EQ(overlay.applied().cue, cue);

    // One starts later: told so, the bands come without any change of the cue.
    compositor.on = true;
    ASSERT_TRUE(compositor.changed);
    compositor.changed();
    EXPECT_EQ(bands().size(), 2u);
    // It stops: an opaque band would hide the Desktop, so they go, also on a mere relayout.
    compositor.on = false;
    overlay.relayout();
    settle();
    EXPECT_TRUE(overlay.bands().empty());
    EXPECT_EQ(overlay.leavingCount(), 0u);
}

TEST_F(CueTest, AnUnreadableColourShowsTheDefaultAccent)
{
    std::optional<DesktopCue> cue = colour("nonsense");
    overlay.show(cue);
    settle();
    ASSERT_FALSE(overlay.bands().empty());
    EXPECT_EQ(overlay.bands()[0]->grab().toImage().pixelColor(1, 1), QColor("#C79A5B"));
}

// Where a program draws the icons in a window of its own and no host serves its wallpaper, a
// window of ours at the desktop's level would hide the icons: below them nothing shows.
TEST_F(CueTest, NoWindowGoesOverAnIconWindowWhoseWallpaperNoHostServes)
{
    Paths paths(home.path(), home.filePath("Desktop"));
    bool iconWindow = true;
    DesktopBackground background(
        paths, [] { return nullptr; }, [&] { return iconWindow; });
    DesktopCueOverlay withIcons(screens, compositor, &background);
    EXPECT_TRUE(background.belowIconsUnavailable());
    withIcons.show(colour("#336699", 0.4, false));
    withIcons.relayout();
    EXPECT_TRUE(withIcons.bands().empty());
    withIcons.show(colour("#336699", 0.4, true)); // above the icons: its bands
    withIcons.relayout();
    EXPECT_EQ(withIcons.bands().size(), 2u);

    iconWindow = false; // no icon window: the cue's own window lies at the desktop's level
    withIcons.show(colour("#336699", 0.5, false));
    withIcons.relayout();
    EXPECT_EQ(withIcons.bands().size(), 2u);
}

TEST_F(CueTest, BelowTheIconsADesktopHostShowsTheCueAsItsOwnBackground)
{
    auto host = std::make_shared<test::FakeBackgroundHost>();
    host->settings = {{"picture", "/home/me/mine.jpg"}};
    Paths paths(home.path(), home.filePath("Desktop"));
    DesktopBackground background(paths, [host] { return host; });
    DesktopCueOverlay withHost(screens, compositor, &background);
    // Another instance's cue is not this one's to take back.
    DesktopBackground(paths, [host] { return host; }).show(DesktopCue::Fill::color("#00FF00"));
    withHost.relayout();
    EXPECT_EQ(host->settings.value("color"), "#00FF00");
    background.putBack();

    std::optional<DesktopCue> hostCue = colour("#336699", 0.4, false);
    withHost.show(hostCue);
    EXPECT_TRUE(withHost.bands().empty()); // nothing of ours lies over the host's icons
    // At its opacity over the user's own: one picture of the screen's size, kept in the store.
    const QString picture = host->settings.value("picture").toString();
    EXPECT_TRUE(picture.startsWith(paths.store() + "/")) << picture.toStdString();
    EXPECT_EQ(QImage(picture).size(), screens.screens.front().size());

    // Above the icons: the click-through bands, and the user's own background back.
    hostCue = colour("#336699", 0.4, true);
    withHost.show(hostCue);
    EXPECT_EQ(withHost.bands().size(), 2u);
    EXPECT_EQ(host->settings, (QVariantMap{{"picture", "/home/me/mine.jpg"}}));

    hostCue = colour("#FF0000", 0.4, false);
    withHost.show(hostCue);
    EXPECT_TRUE(withHost.bands().empty());
    hostCue.reset();
    withHost.show(hostCue);
    EXPECT_EQ(host->settings, (QVariantMap{{"picture", "/home/me/mine.jpg"}}));
    EXPECT_FALSE(background.keeping());

    // An image that cannot be read shows nothing, there either.
    hostCue = DesktopCue(true, DesktopCue::Fill::image(home.filePath("gone.png")), 0.5, false, false);
    withHost.show(hostCue);
    EXPECT_EQ(host->settings, (QVariantMap{{"picture", "/home/me/mine.jpg"}}));
    EXPECT_TRUE(withHost.bands().empty());
}
