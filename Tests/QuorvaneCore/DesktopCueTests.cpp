#include "DecodeError.h"
#include "DesktopCue.h"
#include "TestEnvironment.h"

#include <QJsonDocument>
#include <gtest/gtest.h>

using namespace quorvane;
using quorvane::test::parse;

namespace {

std::string decodeFailure(const char *text)
{
    try {
        DesktopCue::fromJson(parse(text));
    } catch (const DecodeError &e) {
        return e.what();
    }
    return "decoded";
}

} // namespace

TEST(DesktopCue, ClampOpacityKeepsTheLimitsOfEachPlacement)
{
    struct Case {
        double value;
        bool aboveIcons;
        double expected;
    };
    const Case cases[] = {
        {0.0, false, 0.05},
        {-3.0, true, 0.05},
        {0.05, false, 0.05},
        {0.06, false, 0.06},
        {0.8, true, 0.8},
        {0.95, true, 0.8},
        {0.95, false, 0.95},
        {1.0, false, 1.0},
        {7.0, false, 1.0},
        {1.0, true, 0.8},
    };
    for (const Case &c : cases)
        EXPECT_DOUBLE_EQ(DesktopCue::clampOpacity(c.value, c.aboveIcons), c.expected)
            << c.value << " above " << c.aboveIcons;
    EXPECT_EQ(DesktopCue::maxOpacity(true), 0.8);
    EXPECT_EQ(DesktopCue::maxOpacity(false), 1.0);
}

TEST(DesktopCue, ConstructorClampsButLaterAssignmentsStoreWhatIsGiven)
{
    DesktopCue cue(true, DesktopCue::Fill::image("/tmp/a.png"), 0.95, true, false);
    EXPECT_DOUBLE_EQ(cue.opacity, 0.8);
    cue.aboveIcons = false;
    cue.opacity = 0.95;
    EXPECT_DOUBLE_EQ(cue.opacity, 0.95);
}

TEST(DesktopCue, EmptyObjectDecodesToTheDefaultsAndWritesAllFiveKeys)
{
    const DesktopCue cue = DesktopCue::fromJson(QJsonObject());
    EXPECT_FALSE(cue.enabled);
    EXPECT_EQ(cue.fill, DesktopCue::Fill::color("#000000"));
    EXPECT_DOUBLE_EQ(cue.opacity, 0.7);
    EXPECT_FALSE(cue.aboveIcons);
    EXPECT_FALSE(cue.aboveMenuBar);

    EXPECT_EQ(cue.toJson(), parse(R"({"enabled":false,"fill":{"color":{"_0":"#000000"}},"opacity":0.7,)"
                                  R"("aboveIcons":false,"aboveMenuBar":false})"));
}

TEST(DesktopCue, DecodesADocumentOfTheOriginalDesign)
{
    const DesktopCue cue = DesktopCue::fromJson(parse(
        R"({"enabled":true,"fill":{"image":{"_0":"/home/u/cues/sky.png"}},"opacity":0.45,"aboveIcons":true,"aboveMenuBar":true})"));
    EXPECT_EQ(cue, DesktopCue(true, DesktopCue::Fill::image("/home/u/cues/sky.png"), 0.45, true, true));
    EXPECT_EQ(DesktopCue::fromJson(cue.toJson()), cue);
}

TEST(DesktopCue, StoredOpacityIsClampedOnLoading)
{
    EXPECT_DOUBLE_EQ(DesktopCue::fromJson(parse(R"({"opacity":1.0,"aboveIcons":true})")).opacity, 0.8);
    EXPECT_DOUBLE_EQ(DesktopCue::fromJson(parse(R"({"opacity":0.95,"aboveIcons":true})")).opacity, 0.8);
    EXPECT_DOUBLE_EQ(DesktopCue::fromJson(parse(R"({"opacity":0})")).opacity, 0.05);
    // A tolerant Boolean of the wrong type reads as false, so the limit below the icons applies.
    const DesktopCue odd = DesktopCue::fromJson(parse(R"({"opacity":1.0,"aboveIcons":"yes","aboveMenuBar":1})"));
    EXPECT_FALSE(odd.aboveIcons);
    EXPECT_FALSE(odd.aboveMenuBar);
    EXPECT_DOUBLE_EQ(odd.opacity, 1.0);
    // Null counts as absent.
    EXPECT_EQ(DesktopCue::fromJson(parse(R"({"enabled":null,"fill":null,"opacity":null})")), DesktopCue());
}

TEST(DesktopCue, StrictKeysOfTheWrongTypeFail)
{
    EXPECT_NE(decodeFailure(R"({"enabled":"true"})"), "decoded");
    EXPECT_NE(decodeFailure(R"({"opacity":"0.5"})"), "decoded");
    EXPECT_NE(decodeFailure(R"({"fill":"#000000"})"), "decoded");
    EXPECT_NE(decodeFailure(R"({"fill":{"color":"#000000"}})"), "decoded");
    EXPECT_NE(decodeFailure(R"({"fill":{"color":{"_0":5}}})"), "decoded");
    EXPECT_NE(decodeFailure(R"({"fill":{"color":{}}})"), "decoded");
}

TEST(DesktopCue, FillNeedsExactlyOneCaseKey)
{
    const std::string message = "Invalid number of keys found, expected one.";
    EXPECT_EQ(decodeFailure(R"({"fill":{}})"), message);
    EXPECT_EQ(decodeFailure(R"({"fill":{"other":1}})"), message);
    EXPECT_EQ(decodeFailure(R"({"fill":{"color":{"_0":"#FFFFFF"},"image":{"_0":"/a.png"}}})"), message);

    const DesktopCue cue = DesktopCue::fromJson(parse(R"({"fill":{"color":{"_0":"#12AB34"},"extra":true}})"));
    EXPECT_EQ(cue.fill, DesktopCue::Fill::color("#12AB34"));
}

TEST(DesktopCue, EqualityComparesEveryField)
{
    const DesktopCue base(true, DesktopCue::Fill::color("#FFFFFF"), 0.5, false, false);
    EXPECT_EQ(base, DesktopCue(true, DesktopCue::Fill::color("#FFFFFF"), 0.5, false, false));
    EXPECT_NE(base, DesktopCue(false, DesktopCue::Fill::color("#FFFFFF"), 0.5, false, false));
    EXPECT_NE(base, DesktopCue(true, DesktopCue::Fill::image("#FFFFFF"), 0.5, false, false));
    EXPECT_NE(base, DesktopCue(true, DesktopCue::Fill::color("#FFFFFE"), 0.5, false, false));
    EXPECT_NE(base, DesktopCue(true, DesktopCue::Fill::color("#FFFFFF"), 0.6, false, false));
    EXPECT_NE(base, DesktopCue(true, DesktopCue::Fill::color("#FFFFFF"), 0.5, true, false));
    EXPECT_NE(base, DesktopCue(true, DesktopCue::Fill::color("#FFFFFF"), 0.5, false, true));
}
