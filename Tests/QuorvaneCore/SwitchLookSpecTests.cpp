#include "AppSettings.h"
#include "DecodeError.h"
#include "FloatingDockTypes.h"
#include "JsonCoding.h"
#include "SwitchLookSpec.h"

#include <QJsonDocument>
#include <gtest/gtest.h>

using namespace quorvane;

TEST(SwitchLookSpec, PerLookTable)
{
    struct Row {
        SwitchLook look;
        SwitchTransition transition;
        SwitchBlurStyle style;
        std::optional<double> angle;
    };
    const Row rows[] = {
        {SwitchLook::none, SwitchTransition::none, SwitchBlurStyle::frost, std::nullopt},
        {SwitchLook::vertical, SwitchTransition::sweep, SwitchBlurStyle::frost, 0.0},
        {SwitchLook::horizontal, SwitchTransition::sweep, SwitchBlurStyle::frost, 90.0},
        {SwitchLook::angledDown, SwitchTransition::sweep, SwitchBlurStyle::frost, -20.0},
        {SwitchLook::angledUp, SwitchTransition::sweep, SwitchBlurStyle::frost, 20.0},
        {SwitchLook::frost, SwitchTransition::blur, SwitchBlurStyle::frost, std::nullopt},
        {SwitchLook::soft, SwitchTransition::blur, SwitchBlurStyle::soft, std::nullopt},
        {SwitchLook::dark, SwitchTransition::blur, SwitchBlurStyle::dark, std::nullopt},
    };
    ASSERT_EQ(std::size(rows), allCases<SwitchLook>().size());
    for (const Row &row : rows) {
        SCOPED_TRACE(toString(row.look).toStdString());
        EXPECT_EQ(SwitchLookSpec::transition(row.look), row.transition);
        EXPECT_EQ(SwitchLookSpec::blurStyle(row.look), row.style);
        EXPECT_EQ(SwitchLookSpec::angle(row.look), row.angle);
        EXPECT_EQ(isSweep(row.look), row.transition == SwitchTransition::sweep);
    }
}

TEST(SwitchLookSpec, IntensityAndSpeedTables)
{
    EXPECT_EQ(SwitchLookSpec::factor(SwitchSpeed::slow), 1.35);
    EXPECT_EQ(SwitchLookSpec::factor(SwitchSpeed::normal), 1.0);
    EXPECT_EQ(SwitchLookSpec::factor(SwitchSpeed::fast), 0.7);
    const SwitchIntensity levels[] = {SwitchIntensity::subtle, SwitchIntensity::medium, SwitchIntensity::strong};
    const double band[] = {0.2, 0.45, 0.72};
    const double sweepOpacity[] = {0.36, 0.5, 0.42}; // strong below medium
    const double coverOpacity[] = {0.3, 0.45, 0.6};
    for (int i = 0; i < 3; ++i) {
        EXPECT_EQ(SwitchLookSpec::bandFraction(levels[i]), band[i]);
        for (SwitchLook look : allCases<SwitchLook>())
            EXPECT_EQ(SwitchLookSpec::opacity(levels[i], look), isSweep(look) ? sweepOpacity[i] : coverOpacity[i])
                << toString(look).toStdString();
    }
}

TEST(SwitchLookSpec, StampTimingsPerSpeed)
{
    struct Row {
        SwitchSpeed speed;
        std::int64_t delay, duration, fadeIn, fadeOut, minimum;
    };
    // The fast sweep is 507: 725 × 0.7 is just below 507.5 in double precision.
    const Row rows[] = {{SwitchSpeed::slow, 378, 979, 351, 675, 1350},
                        {SwitchSpeed::normal, 280, 725, 260, 500, 1000},
                        {SwitchSpeed::fast, 196, 507, 182, 350, 700}};
    for (const Row &row : rows) {
        SCOPED_TRACE(toString(row.speed).toStdString());
        AppSettings s;
        SwitchLookSpec::stamp(SwitchLook::horizontal, row.speed, SwitchIntensity::medium, s);
        EXPECT_EQ(s.sweepStartDelayMs, row.delay);
        EXPECT_EQ(s.sweepDurationMs, row.duration);
        EXPECT_EQ(s.switchFadeInMs, row.fadeIn);
        EXPECT_EQ(s.switchFadeOutMs, row.fadeOut);
        EXPECT_EQ(s.switchMinDurationMs, row.minimum);
    }
}

TEST(SwitchLookSpec, StampDarkSlowStrongKeepsTheAngle)
{
    AppSettings s;
    s.sweepAngleDegrees = 33.0;
    s.moveGapMs = 77;
    s.switchRevealHoldMs = 120;
    SwitchLookSpec::stamp(SwitchLook::dark, SwitchSpeed::slow, SwitchIntensity::strong, s);
    EXPECT_EQ(s.switchLook, SwitchLook::dark);
    EXPECT_EQ(s.switchSpeed, SwitchSpeed::slow);
    EXPECT_EQ(s.switchIntensity, SwitchIntensity::strong);
    EXPECT_EQ(s.switchTransition, SwitchTransition::blur);
    EXPECT_EQ(s.switchBlurStyle, SwitchBlurStyle::dark);
    EXPECT_EQ(s.switchBlurOpacity, 0.6);
    EXPECT_EQ(s.sweepBandFraction, 0.72);
    EXPECT_EQ(s.sweepAngleDegrees, 33.0);
    EXPECT_EQ(s.sweepStartDelayMs, 378);
    EXPECT_EQ(s.sweepDurationMs, 979);
    EXPECT_EQ(s.switchMinDurationMs, 1350);
    EXPECT_EQ(s.moveGapMs, 77);
    EXPECT_EQ(s.switchRevealHoldMs, 120);
}

TEST(SwitchLookSpec, StampAngledUpFastStrongAndNone)
{
    AppSettings s;
    SwitchLookSpec::stamp(SwitchLook::angledUp, SwitchSpeed::fast, SwitchIntensity::strong, s);
    EXPECT_EQ(s.switchTransition, SwitchTransition::sweep);
    EXPECT_EQ(s.switchBlurStyle, SwitchBlurStyle::frost);
    EXPECT_EQ(s.switchBlurOpacity, 0.42);
    EXPECT_EQ(s.sweepBandFraction, 0.72);
    EXPECT_EQ(s.sweepAngleDegrees, 20.0);
    EXPECT_EQ(s.sweepDurationMs, 507);
    EXPECT_EQ(s.switchMinDurationMs, 700);

    // none still rewrites the band and every timing, and leaves the angle.
    SwitchLookSpec::stamp(SwitchLook::none, SwitchSpeed::slow, SwitchIntensity::subtle, s);
    EXPECT_EQ(s.switchTransition, SwitchTransition::none);
    EXPECT_EQ(s.switchBlurStyle, SwitchBlurStyle::frost);
    EXPECT_EQ(s.switchBlurOpacity, 0.3);
    EXPECT_EQ(s.sweepBandFraction, 0.2);
    EXPECT_EQ(s.sweepAngleDegrees, 20.0);
    EXPECT_EQ(s.sweepStartDelayMs, 378);
    EXPECT_EQ(s.sweepDurationMs, 979);
    EXPECT_EQ(s.switchFadeInMs, 351);
    EXPECT_EQ(s.switchFadeOutMs, 675);
    EXPECT_EQ(s.switchMinDurationMs, 1350);
}

// Stamped numbers, read back without the three choices, derive the same choices again (the
// dark look excepted: a dark blur reads back as frost).
TEST(SwitchLookSpec, StampedNumbersDeriveTheSameChoices)
{
    for (SwitchLook look : allCases<SwitchLook>()) {
        for (SwitchSpeed speed : allCases<SwitchSpeed>()) {
            for (SwitchIntensity intensity : allCases<SwitchIntensity>()) {
                AppSettings s;
                SwitchLookSpec::stamp(look, speed, intensity, s);
                QJsonObject o = s.toJson();
                o.remove("switchLook");
                o.remove("switchSpeed");
                o.remove("switchIntensity");
                const AppSettings read = AppSettings::fromJson(o);
                SCOPED_TRACE(QJsonDocument(o).toJson(QJsonDocument::Compact).toStdString());
                EXPECT_EQ(read.switchLook, look == SwitchLook::dark ? SwitchLook::frost : look);
                EXPECT_EQ(read.switchSpeed, speed);
                if (look != SwitchLook::dark) {
                    EXPECT_EQ(read.switchIntensity, intensity);
                }
            }
        }
    }
}

TEST(SwitchLookSpec, EnumerationStringsAreExact)
{
    EXPECT_EQ(fromString<FloatingDockMaterial>(u"clearGlass"), FloatingDockMaterial::clearGlass);
    EXPECT_EQ(fromString<FloatingDockMaterial>(u"ClearGlass"), std::nullopt);
    EXPECT_THROW(json::toEnum<FloatingDockMaterial>(QJsonValue("ClearGlass"), QLatin1StringView("m")), DecodeError);
    EXPECT_EQ(toString(SwitchLook::angledDown), "angledDown");
    EXPECT_EQ(toString(FloatingDockCorner::bottomRight), "bottomRight");
}

TEST(FloatingDockPosition, BothKeysRequiredNoRangeCheck)
{
    EXPECT_THROW(FloatingDockPosition::fromJson(QJsonObject{{"nx", 0.5}}), DecodeError);
    EXPECT_THROW(FloatingDockPosition::fromJson(QJsonObject{{"nx", 0.5}, {"ny", QJsonValue()}}), DecodeError);
    EXPECT_THROW(FloatingDockPosition::fromJson(QJsonObject{{"nx", 0.5}, {"ny", "0.5"}}), DecodeError);
    const FloatingDockPosition p = FloatingDockPosition::fromJson(QJsonObject{{"nx", -0.25}, {"ny", 3.5}});
    EXPECT_EQ(p, (FloatingDockPosition{-0.25, 3.5}));
    EXPECT_EQ(FloatingDockPosition::fromJson(p.toJson()), p);
}
