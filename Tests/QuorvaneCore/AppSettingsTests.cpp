#include "AppSettings.h"
#include "DecodeError.h"
#include "TestEnvironment.h"

#include <QJsonArray>
#include <QJsonDocument>
#include <gtest/gtest.h>

using namespace quorvane;
using quorvane::test::parse;

TEST(AppSettings, EmptyObjectReadsAsTheDefaultTable)
{
    const AppSettings s = AppSettings::fromJson(QJsonObject());
    EXPECT_EQ(s, AppSettings::defaults());
    EXPECT_EQ(s.switchLook, SwitchLook::none);
    EXPECT_EQ(s.switchSpeed, SwitchSpeed::normal);
    EXPECT_EQ(s.switchIntensity, SwitchIntensity::medium);
    EXPECT_EQ(s.appearance, (Appearance{AppearanceMode::system, QString("#C79A5B")}));
    EXPECT_EQ(s.floatingDockCornerDwellMs, 50);
    EXPECT_EQ(s.sweepAngleDegrees, -20.0);
    EXPECT_EQ(AppSettings::optionClickCarouselLimit, 4);
}

TEST(AppSettings, DefaultRecordWritesSixtyKeysAndRoundTrips)
{
    const AppSettings defaults = AppSettings::defaults();
    const QJsonObject o = defaults.toJson();
    // 72 fields, of which the twelve optional ones are absent.
    EXPECT_EQ(o.size(), 60);
    for (const char *absent : {"cycleNext", "sortNowShortcut", "archiveRoot", "screenshotsWorkspace",
                               "screenshotNamePrefix", "floatingDockShortcut", "floatingDockPosition"})
        EXPECT_FALSE(o.contains(absent)) << absent;
    EXPECT_EQ(o["nativePositions"], true);
    EXPECT_EQ(o["floatingDockCornerSuppressFullScreen"], true);
    EXPECT_EQ(o["switchLook"], "none");
    EXPECT_EQ(o["floatingDockMaterial"], "solid");
    EXPECT_EQ(o["cleanupNotifyMinutes"], 540);
    EXPECT_EQ(o["sweepBandFraction"], 0.45);
    EXPECT_EQ(o["appearance"].toObject(), (QJsonObject{{"mode", "system"}, {"accentHex", "#C79A5B"}}));
    EXPECT_EQ(o["customFilters"], QJsonArray());
    EXPECT_EQ(AppSettings::fromJson(o), defaults);
}

TEST(AppSettings, FullyPopulatedRecordRoundTrips)
{
    AppSettings s;
    s.cycleNext = HotKeySpec{1, HotKeySpec::command};
    s.cyclePrevious = HotKeySpec{2, HotKeySpec::shift | HotKeySpec::command};
    s.hideDesktopShortcut = HotKeySpec{3, HotKeySpec::option};
    s.switchToLastShortcut = HotKeySpec{4, HotKeySpec::control};
    s.openSettingsShortcut = HotKeySpec{5, 0x1E0000};
    s.openCalendarShortcut = HotKeySpec{6, 0x100};
    s.sortNowShortcut = HotKeySpec{7, 0};
    s.warnICloudDesktop = false;
    s.startMinimized = true;
    s.archiveRoot = "/data/Archive";
    s.appearance = Appearance{AppearanceMode::dark, std::nullopt};
    s.shownFirstSwitchNote = true;
    s.switchTransition = SwitchTransition::blur;
    s.switchLook = SwitchLook::dark;
    s.switchSpeed = SwitchSpeed::slow;
    s.switchIntensity = SwitchIntensity::strong;
    s.menuBarAnimation = MenuBarAnimation::mirror;
    s.iconPlacement = IconPlacement::batch;
    s.moveGapMs = 25;
    s.switchBlurOpacity = 0.61;
    s.switchRevealHoldMs = 150;
    s.switchMinDurationMs = 1500;
    s.switchBlurStyle = SwitchBlurStyle::light;
    s.switchFadeInMs = 111;
    s.switchFadeOutMs = 222;
    s.sweepDurationMs = 333;
    s.sweepBandFraction = 0.66;
    s.sweepStartDelayMs = 444;
    s.sweepAngleDegrees = 12.5;
    s.filterScreenshots = true;
    s.screenshotsWorkspace = "Shots";
    s.screenshotFilenameFallback = true;
    s.screenshotNamePrefix = "Bildschirmfoto";
    s.showScreenshotPauseInMenu = true;
    s.screenshotFilteringPaused = true;
    s.muteCleanupNotifications = true;
    s.cleanupNotifyMinutes = 1200;
    s.cleanupNotifyRepeat = true;
    s.cleanupNotifySound = false;
    s.confirmDrain = false;
    s.confirmArchive = false;
    s.customFiltersEnabled = true;
    s.customFilters = {CustomFilter{QUuid::createUuid(), false, "invoice", "Bills"},
                       CustomFilter{QUuid::createUuid(), true, "é", "Accents"}};
    s.customFiltersWatch = true;
    s.screenshotsOverruleCustom = false;
    s.overlaysMuted = true;
    s.hideMenuBarTintInFullScreen = true;
    s.optionClickCarousel = {"Work", "Home"};
    s.scrollToCycle = false;
    s.followSpaces = true;
    s.pinnedFolders = {"Inbox"};
    s.floatingDockShortcut = HotKeySpec{8, HotKeySpec::option | HotKeySpec::shift};
    s.showFloatingDockInMenu = false;
    s.showCleanupCalendarInMenu = false;
    s.showShortcutsInMenu = true;
    s.floatingDockRememberPosition = true;
    s.floatingDockPosition = FloatingDockPosition{0.25, 0.75};
    s.floatingDockFastTransition = false;
    s.floatingDockColorFolders = true;
    s.floatingDockMaterial = FloatingDockMaterial::clearGlass;
    s.floatingDockAppearance = AppearanceMode::light;
    s.floatingDockAxis = FloatingDockAxis::vertical;
    s.floatingDockSize = FloatingDockSize::large;
    s.floatingDockCorner = FloatingDockCorner::bottomLeft;
    s.floatingDockCornerDwellMs = 900;
    s.floatingDockShowFlipButtons = false;
    s.showDeskListHint = false;
    s.showMoveHint = false;
    s.showShortcutHint = false;
    s.declinedMoveToApplications = true;

    const QJsonObject o = s.toJson();
    EXPECT_EQ(o.size(), 72);
    // Through text, as the document is stored.
    const QJsonObject reread = QJsonDocument::fromJson(QJsonDocument(o).toJson()).object();
    EXPECT_EQ(AppSettings::fromJson(reread), s);
}

TEST(AppSettings, LegacySweepDocumentDerivesLookSpeedAndIntensity)
{
    const AppSettings s = AppSettings::fromJson(parse(
        R"({"switchTransition":"sweep","sweepAngleDegrees":90,"sweepDurationMs":500,"sweepBandFraction":0.7})"));
    EXPECT_EQ(s.switchLook, SwitchLook::horizontal);
    EXPECT_EQ(s.switchSpeed, SwitchSpeed::fast);
    EXPECT_EQ(s.switchIntensity, SwitchIntensity::strong);
    // The numbers themselves are kept as stored.
    EXPECT_EQ(s.sweepDurationMs, 500);
    EXPECT_EQ(s.sweepBandFraction, 0.7);
}

TEST(AppSettings, LegacyBlurDocumentDerivesLookAndIntensityFromOpacity)
{
    struct Row {
        const char *style;
        SwitchLook look;
    };
    for (const Row &row : {Row{"frost", SwitchLook::frost}, Row{"soft", SwitchLook::soft},
                           Row{"light", SwitchLook::frost}, Row{"dark", SwitchLook::frost}}) {
        QJsonObject o{{"switchTransition", "blur"}, {"switchBlurStyle", row.style}, {"switchBlurOpacity", 0.58}, {"sweepBandFraction", 0.2}};
        const AppSettings s = AppSettings::fromJson(o);
        EXPECT_EQ(s.switchLook, row.look) << row.style;
        // A blur look compares the opacity, not the band.
        EXPECT_EQ(s.switchIntensity, SwitchIntensity::strong) << row.style;
    }
    // A stored sweep look with no intensity compares the band instead.
    const AppSettings sweep = AppSettings::fromJson(
        QJsonObject{{"switchLook", "vertical"}, {"switchBlurOpacity", 0.58}, {"sweepBandFraction", 0.2}});
    EXPECT_EQ(sweep.switchIntensity, SwitchIntensity::subtle);
}

TEST(AppSettings, PresentChoicesAreKeptEvenWhenInconsistent)
{
    const AppSettings s = AppSettings::fromJson(parse(
        R"({"switchTransition":"sweep","sweepAngleDegrees":90,"sweepDurationMs":500,"sweepBandFraction":0.72,
            "switchLook":"dark","switchSpeed":"slow","switchIntensity":"subtle"})"));
    EXPECT_EQ(s.switchLook, SwitchLook::dark);
    EXPECT_EQ(s.switchSpeed, SwitchSpeed::slow);
    EXPECT_EQ(s.switchIntensity, SwitchIntensity::subtle);
    EXPECT_EQ(s.switchTransition, SwitchTransition::sweep);
}

TEST(AppSettings, NullCountsAsAbsent)
{
    const AppSettings s = AppSettings::fromJson(parse(
        R"({"switchTransition":"sweep","sweepAngleDegrees":45,"switchLook":null,"appearance":null,
            "cycleNext":null,"moveGapMs":null,"customFilters":null})"));
    EXPECT_EQ(s.switchLook, SwitchLook::angledUp);
    EXPECT_EQ(s.appearance, AppSettings::defaults().appearance);
    EXPECT_EQ(s.cycleNext, std::nullopt);
    EXPECT_EQ(s.moveGapMs, 10);
    EXPECT_TRUE(s.customFilters.empty());
}

TEST(AppSettings, CornerDwellIsClamped)
{
    const std::pair<QJsonValue, std::int64_t> rows[] = {
        {5, 20}, {19, 20}, {20, 20}, {300, 300}, {2000, 2000}, {2001, 2000}, {5000, 2000}, {-7, 20}, {QJsonValue(), 50}};
    for (const auto &[stored, expected] : rows) {
        QJsonObject o;
        if (!stored.isNull())
            o.insert("floatingDockCornerDwellMs", stored);
        EXPECT_EQ(AppSettings::fromJson(o).floatingDockCornerDwellMs, expected) << stored.toInteger();
    }
}

TEST(AppSettings, ForcedFlagsAreAlwaysOnAfterReading)
{
    const AppSettings s = AppSettings::fromJson(
        QJsonObject{{"nativePositions", false}, {"floatingDockCornerSuppressFullScreen", false}});
    EXPECT_TRUE(s.nativePositions);
    EXPECT_TRUE(s.floatingDockCornerSuppressFullScreen);
    // They are never read at all, so not even a wrong type there fails.
    EXPECT_NO_THROW(AppSettings::fromJson(QJsonObject{{"nativePositions", "no"}}));
    // A stored false is written back as true.
    AppSettings off;
    off.nativePositions = false;
    EXPECT_TRUE(AppSettings::fromJson(off.toJson()).nativePositions);
}

TEST(AppSettings, MalformedValuesFailTheDecode)
{
    const char *documents[] = {
        R"({"switchLook":"diagonal"})",
        R"({"switchLook":"Frost"})",
        R"({"switchSpeed":"quick"})",
        R"({"menuBarAnimation":1})",
        R"({"floatingDockMaterial":"ClearGlass"})",
        R"({"floatingDockAppearance":"auto"})",
        R"({"moveGapMs":"10"})",
        R"({"moveGapMs":10.5})",
        R"({"switchBlurOpacity":"0.5"})",
        R"({"warnICloudDesktop":1})",
        R"({"archiveRoot":7})",
        R"({"optionClickCarousel":["Work",3]})",
        R"({"pinnedFolders":"Inbox"})",
        R"({"cycleNext":{"keyCode":1}})",
        R"({"floatingDockPosition":{"nx":0.5}})",
        R"({"customFilters":[{"id":"not-a-uuid"}]})",
        R"({"appearance":{"mode":"sepia"}})",
    };
    for (const char *text : documents)
        EXPECT_THROW(AppSettings::fromJson(parse(text)), DecodeError) << text;
    // Keys that name no field are ignored.
    EXPECT_EQ(AppSettings::fromJson(parse(R"({"noSuchSetting":"x"})")), AppSettings::defaults());
    // The clearGlass material reads with its exact spelling.
    EXPECT_EQ(AppSettings::fromJson(parse(R"({"floatingDockMaterial":"clearGlass"})")).floatingDockMaterial,
              FloatingDockMaterial::clearGlass);
}

TEST(AppSettings, DerivedLookTiesGoToTheEarlierCandidate)
{
    const std::pair<double, SwitchLook> rows[] = {
        {0, SwitchLook::vertical},
        {10, SwitchLook::vertical},
        {-10, SwitchLook::vertical},
        {11, SwitchLook::angledUp},
        {-11, SwitchLook::angledDown},
        {55, SwitchLook::horizontal},
        {54, SwitchLook::angledUp},
        {45, SwitchLook::angledUp},
        {90, SwitchLook::horizontal},
        {-90, SwitchLook::angledDown},
        {-20, SwitchLook::angledDown},
        {200, SwitchLook::horizontal},
    };
    for (const auto &[angle, look] : rows)
        EXPECT_EQ(AppSettings::derivedLook(SwitchTransition::sweep, SwitchBlurStyle::dark, angle), look) << angle;
    EXPECT_EQ(AppSettings::derivedLook(SwitchTransition::none, SwitchBlurStyle::soft, 90), SwitchLook::none);
    EXPECT_EQ(AppSettings::derivedLook(SwitchTransition::blur, SwitchBlurStyle::soft, 90), SwitchLook::soft);
    EXPECT_EQ(AppSettings::derivedLook(SwitchTransition::blur, SwitchBlurStyle::dark, 90), SwitchLook::frost);
}

TEST(AppSettings, SpeedFromSweepDurationBoundaries)
{
    const std::pair<std::int64_t, SwitchSpeed> rows[] = {
        {0, SwitchSpeed::fast},
        {507, SwitchSpeed::fast},
        {616, SwitchSpeed::fast},
        {617, SwitchSpeed::normal},
        {725, SwitchSpeed::normal},
        {851, SwitchSpeed::normal},
        {852, SwitchSpeed::slow},
        {979, SwitchSpeed::slow},
        {100000, SwitchSpeed::slow},
    };
    for (const auto &[duration, speed] : rows) {
        EXPECT_EQ(AppSettings::speedForSweepDuration(duration), speed) << duration;
        EXPECT_EQ(AppSettings::fromJson(QJsonObject{{"sweepDurationMs", qint64(duration)}}).switchSpeed, speed)
            << duration;
    }
}

TEST(AppSettings, DerivedIntensityPerLookFamily)
{
    struct Row {
        SwitchLook look;
        double band, opacity;
        SwitchIntensity expected;
    };
    const Row rows[] = {
        {SwitchLook::horizontal, 0.3, 0.6, SwitchIntensity::subtle},
        {SwitchLook::horizontal, 0.34, 0.6, SwitchIntensity::medium},
        {SwitchLook::angledDown, 0.6, 0.3, SwitchIntensity::strong},
        {SwitchLook::none, 0.72, 0.5, SwitchIntensity::medium},
        {SwitchLook::frost, 0.72, 0.37, SwitchIntensity::subtle},
        {SwitchLook::dark, 0.2, 0.55, SwitchIntensity::strong},
        {SwitchLook::soft, 0.2, 1.0, SwitchIntensity::strong},
        {SwitchLook::soft, 0.72, 0.0, SwitchIntensity::subtle},
    };
    for (const Row &row : rows)
        EXPECT_EQ(AppSettings::derivedIntensity(row.look, row.band, row.opacity), row.expected)
            << toString(row.look).toStdString() << " " << row.band << " " << row.opacity;
}
