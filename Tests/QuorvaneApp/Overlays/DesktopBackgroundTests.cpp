#include "FakeBackgroundHost.h"
#include "LogCapture.h"
#include "Overlays/DesktopBackground.h"
#include "TestEnvironment.h"

#include <QDir>
#include <QFile>
#include <QImage>
#include <gtest/gtest.h>

using namespace quorvane;
using quorvane::test::FakeBackgroundHost;

namespace {

struct BackgroundTest : ::testing::Test {
    quorvane::test::TempHome home;
    Paths paths{home.path(), home.filePath("Desktop")};
    std::shared_ptr<FakeBackgroundHost> host = std::make_shared<FakeBackgroundHost>();
    bool hostRuns = true;
    DesktopBackground background{paths, [this]() -> std::shared_ptr<BackgroundHost> {
                                     return hostRuns ? host : nullptr;
                                 }};
    const QVariantMap users{{"picture", "/home/me/mine.jpg"}, {"style", 5}, {"rgba", QVariantList{0.1, 0.2, 0.3, 1.0}}};

    void SetUp() override { host->settings = users; }
};

} // namespace

TEST_F(BackgroundTest, ACueIsShownAndTheUsersOwnComesBackExactly)
{
    ASSERT_TRUE(background.show(DesktopCue::Fill::color("336699")));
    EXPECT_EQ(host->settings.value("color"), "#336699");
    EXPECT_EQ(host->settings.value("style"), 0);
    EXPECT_TRUE(background.keeping());
    // The colour's picture lies in the store for hosts that show only pictures.
    EXPECT_EQ(QImage(paths.store() + "/background-336699.png").pixelColor(3, 3), QColor("#336699"));

    ASSERT_TRUE(background.show(DesktopCue::Fill::image("/cues/sea.png"))); // another cued desktop
    EXPECT_EQ(host->settings.value("picture"), "/cues/sea.png");

    background.putBack();
    EXPECT_EQ(host->settings, users); // the colour it never had is removed again
    EXPECT_FALSE(background.keeping());
    EXPECT_FALSE(QFile::exists(background.keptFile()));
}

// Below full opacity the host shows one picture of the screen's size: the cue over the user's
// own wallpaper, composed anew from the user's (never the previous cue's) at each opacity.
TEST_F(BackgroundTest, ATranslucentCueIsComposedOverTheUsersWallpaper)
{
    QImage blue(8, 8, QImage::Format_RGB32);
    blue.fill(QColor(0, 0, 255));
    const QString mine = home.filePath("mine.png");
    ASSERT_TRUE(blue.save(mine));
    host->settings = {{"picture", mine}, {"style", 5}};
    const auto shown = [&](double opacity) {
        EXPECT_TRUE(background.show(DesktopCue::Fill::color("#FF0000"), opacity, QSize(40, 30)));
        const QString path = host->settings.value("picture").toString();
        EXPECT_TRUE(path.startsWith(paths.store() + "/")) << path.toStdString();
        const QImage picture(path);
        EXPECT_EQ(picture.size(), QSize(40, 30));
        return picture.pixelColor(20, 15);
    };
    QColor pixel = shown(0.3);
    EXPECT_NEAR(pixel.red(), 77, 1);
    EXPECT_NEAR(pixel.blue(), 179, 1);
    pixel = shown(0.6);
    EXPECT_NEAR(pixel.red(), 153, 1);
    EXPECT_NEAR(pixel.blue(), 102, 1);
    EXPECT_EQ(QDir(paths.store()).entryList({"background-*.png"}).size(), 1);
    background.putBack();
    EXPECT_EQ(host->settings, (QVariantMap{{"picture", mine}, {"style", 5}}));

    host->settings = {}; // no wallpaper of the user's: the cue over black
    pixel = shown(0.3);
    EXPECT_NEAR(pixel.red(), 77, 1);
    EXPECT_EQ(pixel.green() + pixel.blue(), 0);
}

TEST_F(BackgroundTest, WhatTheUserChangedMeanwhileIsTheirNewValue)
{
    background.show(DesktopCue::Fill::color("#336699"));
    host->settings.insert("style", 4); // the user picks another style while the cue shows
    background.show(DesktopCue::Fill::color("#FF0000"));
    host->settings.insert("color", "#00FF00"); // and another colour
    background.putBack();
    QVariantMap expected = users;
    expected.insert("style", 4);
    expected.insert("color", "#00FF00");
    EXPECT_EQ(host->settings, expected);
}

TEST_F(BackgroundTest, ACrashLosesNothingAndAMissingHostKeepsTheBackground)
{
    background.show(DesktopCue::Fill::color("#336699"));
    {
        // The next process finds the user's values in the store, their types intact.
        DesktopBackground next(paths, [this] { return host; });
        hostRuns = false;
        background.putBack(); // no host: kept
        EXPECT_TRUE(next.keeping());
        next.putBack();
    }
    EXPECT_EQ(host->settings, users);
    EXPECT_FALSE(background.keeping());

    // Without a host the cue needs windows of its own.
    EXPECT_FALSE(background.show(DesktopCue::Fill::color("#336699")));
    EXPECT_FALSE(background.keeping());
}

TEST_F(BackgroundTest, AFailingHostIsLoggedAndKeepsTheUsersValues)
{
    std::vector<test::LogCapture::Entry> lines;
    {
        test::LogCapture log;
        host->readFailure = "no bus";
        EXPECT_TRUE(background.show(DesktopCue::Fill::color("#336699"))); // shown nowhere, no windows either
        EXPECT_TRUE(host->writes.empty());
        host->readFailure.reset();
        background.show(DesktopCue::Fill::color("#336699"));
        host->writeFailure = "refused";
        background.putBack();
        lines = log.entries;
    }
    EXPECT_EQ(lines.size(), 2u);
    EXPECT_TRUE(background.keeping()); // not back yet: still kept
    host->writeFailure.reset();
    background.putBack();
    EXPECT_EQ(host->settings, users);
}

TEST_F(BackgroundTest, AnEarlierVersionsKeptBackgroundComesBackThroughTheLedger)
{
    // Shown by an earlier version, which kept the user's values in background.json; the
    // appearance's entry in the ledger is not the background's to give back.
    host->settings = {{"picture", "/cues/sea.png"}, {"style", 3}, {"rgba", QVariantList{0.1, 0.2, 0.3, 1.0}}};
    test::writeFile(paths.store() + "/background.json", R"({"host": "fake desktop",
        "user": {"picture": {"s": "/home/me/mine.jpg"}, "style": {"i": 5},
                 "rgba": {"a": [{"d": 0.1}, {"d": 0.2}, {"d": 0.3}, {"d": 1}]}},
        "written": {"picture": {"s": "/cues/sea.png"}, "style": {"i": 3}}})");
    SettingsLedger ledger = SettingsLedger::inStore(paths.store());
    const SettingsLedger::Entry look{"appearance", "theme", "Arc", "Arc-dark"};
    ASSERT_EQ(ledger.keep(look), std::nullopt);
    EXPECT_TRUE(background.keeping());

    background.putBack();
    EXPECT_EQ(host->settings, users);
    EXPECT_FALSE(QFile::exists(paths.store() + "/background.json"));
    EXPECT_FALSE(background.keeping());
    EXPECT_EQ(ledger.entries(), std::vector<SettingsLedger::Entry>{look});
}

// A host that saves its settings late, or a crash between the ledger and the host, leaves one of
// our earlier pictures where the user's stood: it is never taken as the user's wallpaper, so no
// cue is composed over a cue and the user's own comes back.
TEST_F(BackgroundTest, APictureOfOursIsNeverTakenAsTheUsersWallpaper)
{
    QImage blue(8, 8, QImage::Format_RGB32);
    blue.fill(QColor(0, 0, 255));
    const QString mine = home.filePath("mine.png");
    ASSERT_TRUE(blue.save(mine));
    const QVariantMap own{{"picture", mine}, {"style", 5}};
    host->settings = own;
    const auto shown = [&](DesktopBackground &on, double opacity) {
        EXPECT_TRUE(on.show(DesktopCue::Fill::color("#FF0000"), opacity, QSize(40, 30)));
        const QString path = host->settings.value("picture").toString();
        return std::make_pair(path, QImage(path).pixelColor(20, 15));
    };
    const QString first = shown(background, 0.7).first;
    const QString second = shown(background, 0.65).first;
    ASSERT_NE(first, second);
    host->settings.insert("picture", first); // the host still names the first cue
    auto [third, pixel] = shown(background, 0.6);
    EXPECT_NEAR(pixel.red(), 153, 1); // over the user's blue, not over a cue
    EXPECT_NEAR(pixel.blue(), 102, 1);
    host->settings.insert("picture", second); // late again when it is put back
    background.putBack();
    EXPECT_EQ(host->settings, own);

    // A crash: the next process finds the earlier cue on the host and composes over the user's.
    shown(background, 0.3);
    const QString crashed = host->settings.value("picture").toString();
    {
        SettingsLedger ledger = SettingsLedger::inStore(paths.store());
        auto entries = ledger.entries().value();
        for (auto &entry : entries)
            entry = entry.writing(entry.setting == "picture" ? QVariant(paths.store() + "/background-cue-next.png") : entry.written);
        ASSERT_EQ(ledger.replace(entries.front().facility, entries), std::nullopt); // kept, never written
    }
    DesktopBackground next(paths, [this] { return host; });
    pixel = shown(next, 0.3).second;
    EXPECT_NEAR(pixel.red(), 77, 1);
    EXPECT_NEAR(pixel.blue(), 179, 1);
    next.putBack();
    EXPECT_EQ(host->settings, own);

    // A picture of the store that no ledger names is nobody's: the cue over black, and the
    // picture not given back.
    host->settings = {{"picture", crashed}, {"style", 3}};
    pixel = shown(next, 0.3).second;
    EXPECT_NEAR(pixel.red(), 77, 1);
    EXPECT_EQ(pixel.green() + pixel.blue(), 0);
    next.putBack();
    EXPECT_EQ(host->settings, (QVariantMap{{"style", 3}}));
}
