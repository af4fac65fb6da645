#include "Appearance.h"
#include "DecodeError.h"
#include "TestEnvironment.h"

#include <QJsonDocument>
#include <gtest/gtest.h>

#include <optional>

using namespace quorvane;
using quorvane::test::parse;

TEST(AppearanceMode, CasesAndRawStrings)
{
    EXPECT_EQ(allCases<AppearanceMode>(), (std::array{AppearanceMode::system, AppearanceMode::light, AppearanceMode::dark}));
    EXPECT_EQ(toString(AppearanceMode::dark), "dark");
    EXPECT_FALSE(fromString<AppearanceMode>(u"Dark"));
}

TEST(Appearance, LegacySlotSelectsFromTheCustomAccents)
{
    struct Case {
        const char *json;
        AppearanceMode mode;
        std::optional<QString> accent;
    };
    const Case cases[] = {
        {R"({"mode":"dark","accentSlot":2,"customAccents":["#111111","#222222"],"accentHex":"#333333"})",
         AppearanceMode::dark, "#222222"},
        {R"({"mode":"dark","accentSlot":1,"customAccents":["#111111","#222222"]})", AppearanceMode::dark, "#111111"},
        {R"({"mode":"dark","accentSlot":3,"customAccents":["#111111","#222222"]})", AppearanceMode::dark, "#C79A5B"},
        {R"({"mode":"dark","accentSlot":-1,"customAccents":["#111111","#222222"]})", AppearanceMode::dark, "#C79A5B"},
        {R"({"mode":"light","accentSlot":0,"customAccents":["#111111"],"accentHex":"#333333"})", AppearanceMode::light,
         std::nullopt},
        {R"({"accentSlot":1})", AppearanceMode::system, "#C79A5B"},
        // With a slot, accentHex is not read at all, not even its type.
        {R"({"accentSlot":0,"accentHex":17})", AppearanceMode::system, std::nullopt},
        {R"({"accentSlot":null,"accentHex":"#ABCDEF"})", AppearanceMode::system, "#ABCDEF"},
        {R"({"mode":"light"})", AppearanceMode::light, std::nullopt},
        // Without a slot, customAccents is not read.
        {R"({"customAccents":5,"accentHex":"#ABCDEF"})", AppearanceMode::system, "#ABCDEF"},
        {R"({})", AppearanceMode::system, std::nullopt},
    };
    for (const Case &c : cases) {
        const Appearance a = Appearance::fromJson(parse(c.json));
        EXPECT_EQ(a.mode, c.mode) << c.json;
        EXPECT_EQ(a.accentHex, c.accent) << c.json;
    }
}

TEST(Appearance, WritesOnlyModeAndAPresentAccent)
{
    const Appearance legacy =
        Appearance::fromJson(parse(R"({"mode":"dark","accentSlot":2,"customAccents":["#111111","#222222"]})"));
    EXPECT_EQ(legacy.toJson(), parse(R"({"mode":"dark","accentHex":"#222222"})"));
    EXPECT_EQ(Appearance{}.toJson(), parse(R"({"mode":"system"})"));
    EXPECT_EQ(Appearance::fromJson(legacy.toJson()), legacy);
}

TEST(Appearance, WrongTypesFail)
{
    for (const char *json : {R"({"mode":"night"})", R"({"mode":1})", R"({"accentHex":1})", R"({"accentSlot":"2"})",
                             R"({"accentSlot":1.5})", R"({"accentSlot":1,"customAccents":"#111111"})",
                             R"({"accentSlot":1,"customAccents":[1]})"})
        EXPECT_THROW(Appearance::fromJson(parse(json)), DecodeError) << json;
}

TEST(Appearance, AbsentAndPresentAccentDiffer)
{
    EXPECT_NE((Appearance{AppearanceMode::system, std::nullopt}), (Appearance{AppearanceMode::system, "#C79A5B"}));
    EXPECT_EQ((Appearance{AppearanceMode::dark, "#C79A5B"}), (Appearance{AppearanceMode::dark, "#C79A5B"}));
    EXPECT_EQ(Appearance::defaultAccentHex, "#C79A5B");
}
