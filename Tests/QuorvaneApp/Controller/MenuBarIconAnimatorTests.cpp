#include "Controller/MenuBarGlyph.h"
#include "Controller/MenuBarIconAnimator.h"
#include "FakeStatusItem.h"
#include "ManualScheduler.h"
#include "Shared/DocumentService.h"
#include "TestEnvironment.h"

#include <QDir>
#include <QImage>
#include <gtest/gtest.h>

#include <algorithm>
#include <set>

using namespace quorvane;
using Widths = MenuBarIconAnimator::Widths;

namespace {

void expectWidths(const Widths &actual, const Widths &expected, double tolerance = 0.005)
{
    ASSERT_EQ(actual.size(), expected.size());
    for (std::size_t i = 0; i < actual.size(); ++i)
        EXPECT_NEAR(actual[i], expected[i], tolerance) << "bar " << i;
}

// The runs of opaque pixel columns along the middle row: [first, last] pixel of each.
std::vector<std::pair<int, int>> opaqueRuns(const QImage &image)
{
    std::vector<std::pair<int, int>> runs;
    const int y = image.height() / 2;
    bool inside = false;
    for (int x = 0; x < image.width(); ++x) {
        const bool opaque = qAlpha(image.pixel(x, y)) > 128;
        if (opaque && !inside)
            runs.push_back({x, x});
        if (opaque)
            runs.back().second = x;
        inside = opaque;
    }
    return runs;
}

struct Fixture {
    test::ManualScheduler clock;
    std::shared_ptr<test::FakeStatusItem> item = std::make_shared<test::FakeStatusItem>();
    MenuBarIconAnimator animator{clock};
};

} // namespace

TEST(MenuBarIconAnimator, NudgeFramesPassTwoBumpsAndKeepTheTotal)
{
    const auto frame = MenuBarIconAnimator::nudgeFrame(MenuBarIconAnimator::restWidths);
    const Widths peak = frame(0.4);
    expectWidths(peak, {108.63, 55, 34.37});
    EXPECT_NEAR(peak[0] + peak[1] + peak[2], 198, 1e-9);
    expectWidths(frame(0), {126, 44, 28}, 1e-12);
    expectWidths(frame(1), {126, 44, 28}, 1e-12);
    // Before the second bump starts only the middle bar has grown.
    const Widths early = frame(0.05);
    EXPECT_GT(early[1], 44);
    EXPECT_DOUBLE_EQ(early[2], 28);

    // From a mirrored rest the first bump still widens bar 1; bar 0 is now the smallest.
    const Widths mirrored = MenuBarIconAnimator::nudgeFrame({28, 44, 126})(0.4);
    expectWidths(mirrored, {34.37, 55, 108.63});
}

TEST(MenuBarIconAnimator, MirrorFramesTradePlacesAndFlipBack)
{
    const auto there = MenuBarIconAnimator::mirrorFrame(MenuBarIconAnimator::restWidths);
    expectWidths(there(0), {126, 44, 28}, 1e-12);
    expectWidths(there(0.5), {44, 126, 28}, 1e-12);
    expectWidths(there(1), {28, 44, 126}, 1e-12);
    // Quadratic easing in and out within each half: at f = 0.5 half-way, at f = 0.25 an eighth.
    expectWidths(there(0.25), {126 + 0.5 * (44 - 126), 44 + 0.5 * (126 - 44), 28}, 1e-12);
    expectWidths(there(0.125), {126 + 0.125 * (44 - 126), 44 + 0.125 * (126 - 44), 28}, 1e-12);

    const auto back = MenuBarIconAnimator::mirrorFrame({28, 44, 126});
    expectWidths(back(0.5), {44, 126, 28}, 1e-12);
    expectWidths(back(1), {126, 44, 28}, 1e-12);
}

TEST(MenuBarIconAnimator, RadiiFollowTheRestLayoutAndNeverExceedHalfTheWidth)
{
    const struct {
        double width;
        double radius;
    } cases[] = {{126, 16}, {44, 14}, {28, 13}, {200, 16}, {20, 10}, {10, 5}, {36, 13.5}, {85, 15}, {0, 0}};
    for (const auto &c : cases)
        EXPECT_NEAR(MenuBarIconAnimator::radii({c.width})[0], c.radius, 1e-12) << "width " << c.width;
}

TEST(MenuBarIconAnimator, GlyphAtRestIsThreeSeparateBarsOfTheLayout)
{
    const double dpr = 4;
    const QImage frame = MenuBarGlyph::image(MenuBarIconAnimator::restWidths, MenuBarIconAnimator::restRadii, dpr);
    EXPECT_EQ(frame.deviceIndependentSize(), QSizeF(22, 13));
    test::TempHome folder;
    const QString png = folder.filePath("glyph.png");
    ASSERT_TRUE(frame.save(png));
    const QImage saved(png);
    ASSERT_EQ(saved.size(), QSize(88, 52));

    const auto runs = opaqueRuns(saved);
    ASSERT_EQ(runs.size(), 3u);
    // Bars from x = 0, 13.18 and 19.15 points, 11.07, 3.86 and 2.46 points wide.
    const double starts[] = {0, 13.18, 19.15};
    const double ends[] = {11.07, 17.04, 21.61};
    for (std::size_t i = 0; i < 3; ++i) {
        EXPECT_NEAR(runs[i].first, starts[i] * dpr, 1.0) << "bar " << i;
        EXPECT_NEAR(runs[i].second + 1, ends[i] * dpr, 1.0) << "bar " << i;
    }
    // Full height in the middle of a bar, rounded at its corners.
    EXPECT_GT(qAlpha(saved.pixel(20, 0)), 128);
    EXPECT_GT(qAlpha(saved.pixel(20, 51)), 128);
    EXPECT_LT(qAlpha(saved.pixel(0, 0)), 128);
    EXPECT_TRUE(opaqueRuns(MenuBarGlyph::image({}, {}, dpr)).empty());

    // The tray icon is square with the glyph in its middle, in the tint.
    const QImage square = MenuBarGlyph::traySquare(frame, QColor(Qt::red));
    EXPECT_EQ(square.size(), QSize(88, 88));
    EXPECT_EQ(qAlpha(square.pixel(20, 10)), 0);
    EXPECT_EQ(square.pixelColor(20, 44), QColor(Qt::red));
    EXPECT_EQ(opaqueRuns(square).size(), 3u);
}

TEST(MenuBarIconAnimator, InstallShowsTheRestAndACompletedMirrorBecomesTheRest)
{
    Fixture f;
    f.animator.playSwitch(MenuBarAnimation::mirror); // no item yet: nothing
    EXPECT_FALSE(f.animator.isPlaying());
    EXPECT_DOUBLE_EQ(f.animator.frameInterval(), 1.0 / 60.0);

    f.animator.install(f.item);
    ASSERT_EQ(f.item->images.size(), 1u);
    EXPECT_EQ(f.item->images[0], MenuBarIconAnimator::trayImage({126, 44, 28}, {16, 14, 13}));

    f.animator.playSwitch(MenuBarAnimation::mirror);
    EXPECT_TRUE(f.animator.isPlaying());
    EXPECT_EQ(f.item->images.size(), 1u); // nothing before the first tick
    f.clock.advance(0.26);
    EXPECT_EQ(f.item->images.size(), 16u); // one frame every 1/60 s
    expectWidths(f.animator.restingWidths(), {126, 44, 28}, 0);
    f.clock.advance(0.3);
    EXPECT_FALSE(f.animator.isPlaying());
    expectWidths(f.animator.restingWidths(), {28, 44, 126}, 0);
    expectWidths(f.animator.restingRadii(), {13, 14, 16}, 0);
    EXPECT_EQ(f.item->images.back(), MenuBarIconAnimator::trayImage({28, 44, 126}, {13, 14, 16}));
    const auto frames = f.item->images.size();
    f.clock.advance(1);
    EXPECT_EQ(f.item->images.size(), frames); // the timer has stopped

    f.animator.playSwitch(MenuBarAnimation::nudge);
    f.clock.advance(1.2);
    expectWidths(f.animator.restingWidths(), {28, 44, 126}, 1e-9); // a nudge keeps the rest

    EXPECT_FALSE(f.animator.isPlaying());
    const auto afterNudge = f.item->images.size();
    EXPECT_GE(afterNudge, frames + 69u); // 1.15 s of frames at 60 a second
    EXPECT_LE(afterNudge, frames + 70u);
    f.animator.playSwitch(MenuBarAnimation::none);
    f.clock.advance(1);
    EXPECT_EQ(f.item->images.size(), afterNudge); // none leaves the glyph alone
    f.animator.resetToRest();
    expectWidths(f.animator.restingWidths(), {126, 44, 28}, 0);
    EXPECT_EQ(f.item->images.back(), f.item->images.front());
}

TEST(MenuBarIconAnimator, EverySwitchShowsTheSameKeptFramesAgain)
{
    // The status area keeps what it is given by image: new images every switch would make it
    // grow without end.
    Fixture f;
    f.animator.install(f.item);
    const auto keysOfAPlay = [&](MenuBarAnimation style, double played) {
        const std::size_t before = f.item->images.size();
        f.animator.playSwitch(style);
        for (double t = 0; t < played; t += 0.01)
            f.clock.advance(0.01); // a clock that drifts against the frames
        std::set<qint64> keys;
        for (std::size_t i = before; i < f.item->images.size(); ++i)
            keys.insert(f.item->images[i].cacheKey());
        return keys;
    };
    // The nudge has 69 steps (1.15 s at 60 a second): three plays, one interrupted, whatever
    // the clock's phase, show no more than those.
    std::set<qint64> nudges = keysOfAPlay(MenuBarAnimation::nudge, 1.3);
    EXPECT_GE(nudges.size(), 40u);
    nudges.merge(keysOfAPlay(MenuBarAnimation::nudge, 1.3));
    nudges.merge(keysOfAPlay(MenuBarAnimation::nudge, 0.2));
    EXPECT_LE(nudges.size(), 70u);
    const std::size_t kept = f.animator.keptFrameCount();
    for (int i = 0; i < 6; ++i)
        keysOfAPlay(MenuBarAnimation::mirror, 0.6); // the rest flips back and forth
    f.animator.resetToRest();
    keysOfAPlay(MenuBarAnimation::nudge, 1.3);
    // Both rests' mirrors (32 steps), the mirrored rest's nudge and that rest itself at most.
    EXPECT_LE(f.animator.keptFrameCount(), kept + 2 * 33 + 70 + 1);
    f.animator.resetToRest();
    EXPECT_EQ(f.item->images.back().cacheKey(), f.item->images.front().cacheKey()); // the rest, kept
}

TEST(MenuBarIconAnimator, AnInterruptedAnimationNeverUpdatesTheRest)
{
    Fixture f;
    f.animator.install(f.item);
    f.animator.playSwitch(MenuBarAnimation::mirror);
    f.clock.advance(0.3);
    f.animator.playSwitch(MenuBarAnimation::mirror); // starts again from the old rest
    f.clock.advance(0.3);
    expectWidths(f.animator.restingWidths(), {126, 44, 28}, 0);
    f.clock.advance(0.3);
    expectWidths(f.animator.restingWidths(), {28, 44, 126}, 0);

    f.animator.playSwitch(MenuBarAnimation::mirror);
    f.clock.advance(0.1);
    f.animator.resetToRest();
    EXPECT_FALSE(f.animator.isPlaying());
    const auto images = f.item->images.size();
    f.clock.advance(1);
    EXPECT_EQ(f.item->images.size(), images);
    expectWidths(f.animator.restingWidths(), {126, 44, 28}, 0);
}

TEST(MenuBarIconAnimator, AGoneItemOrAnimatorStopsEverything)
{
    test::ManualScheduler clock;
    auto item = std::make_shared<test::FakeStatusItem>();
    {
        MenuBarIconAnimator animator(clock);
        animator.install(item);
        animator.playSwitch(MenuBarAnimation::nudge);
        clock.advance(0.1);
    }
    EXPECT_EQ(clock.pendingCount(), 0u); // the animator took its timer with it

    MenuBarIconAnimator animator(clock);
    animator.install(item);
    animator.playSwitch(MenuBarAnimation::mirror);
    item.reset();
    clock.advance(1); // ticks without an item draw nothing and still finish
    EXPECT_FALSE(animator.isPlaying());
    animator.playSwitch(MenuBarAnimation::mirror);
    EXPECT_FALSE(animator.isPlaying());
    animator.resetToRest();
}

TEST(MenuBarIconAnimator, ADocumentThatTurnsTheAnimationOffBringsTheGlyphToRest)
{
    test::TempHome home;
    const QString store = home.filePath("store");
    QDir().mkpath(store);
    DocumentService documents(store + "/config.json", store + "/journal.json");
    test::ManualScheduler clock;
    auto item = std::make_shared<test::FakeStatusItem>();
    MenuBarIconAnimator animator(clock, &documents);
    animator.install(item);
    documents.announce();

    animator.playSwitch(MenuBarAnimation::nudge);
    documents.mutateConfig([](Config &config) { config.settings.menuBarAnimation = MenuBarAnimation::mirror; });
    EXPECT_TRUE(animator.isPlaying()); // another animation: this one plays on
    documents.mutateConfig([](Config &config) { config.settings.menuBarAnimation = MenuBarAnimation::none; });
    EXPECT_FALSE(animator.isPlaying());
    ASSERT_FALSE(item->images.empty());
    EXPECT_EQ(item->images.back(), MenuBarIconAnimator::trayImage(MenuBarIconAnimator::restWidths, MenuBarIconAnimator::restRadii));
}
