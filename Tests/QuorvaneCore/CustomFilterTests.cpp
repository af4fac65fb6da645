#include "CustomFilter.h"
#include "DecodeError.h"
#include "TestEnvironment.h"

#include <QJsonDocument>
#include <gtest/gtest.h>

using namespace quorvane;
using quorvane::test::parse;

namespace {

CustomFilter rule(const QString &pattern, bool enabled = true)
{
    CustomFilter f;
    f.pattern = pattern;
    f.enabled = enabled;
    f.collection = "Target";
    return f;
}

QString u8(const char *text)
{
    return QString::fromUtf8(text);
}

} // namespace

TEST(CustomFilter, MatchesASubstringIgnoringCase)
{
    struct Case {
        QString pattern;
        QString name;
        bool expected;
    };
    const Case cases[] = {
        {"invoice", "Invoice-2024.pdf", true},
        {"invoice", "my INVOICE copy.png", true},
        {"invoice", "invoce.pdf", false},
        {".png", "shot.png.zip", true},
        {".png", "a.PNG", true},
        {".png", "png", false},
        {" ", "has blank", true},
        {" ", "noblank", false},
        {"a", "", false},
        // Full case folding: ß is "ss", and the capital ẞ too.
        {"STRASSE", u8("stra\xC3\x9F"
                       "e.txt"),
         true},
        {u8("stra\xC3\x9F"
            "e"),
         "STRASSE.txt", true},
        {u8("\xE1\xBA\x9E"), "ss", true},
        {"fi", u8("\xEF\xAC\x81le"), true},     // the "ﬁ" ligature
        {u8("\xCE\xA3"), u8("\xCF\x82"), true}, // capital sigma and final sigma
        // Diacritics are significant.
        {"cafe", u8("caf\xC3\xA9.txt"), false},
        {u8("caf\xC3\xA9"), "cafe.txt", false},
        {"cafe", u8("cafe\xCC\x81.txt"), false},            // decomposed é
        {"x", u8("x\xCC\x81"), false},                      // a mark with no composed form
        {u8("CAF\xC3\x89"), u8("Cafe\xCC\x81 menu"), true}, // canonically equivalent, other case
        {u8("\xC3\xA9"), u8("caf\xC3\xA9"), true},
    };
    for (const Case &c : cases)
        EXPECT_EQ(rule(c.pattern).matches(c.name), c.expected)
            << c.pattern.toStdString() << " in " << c.name.toStdString();
}

TEST(CustomFilter, DisabledOrEmptyRulesMatchNothing)
{
    EXPECT_FALSE(rule("invoice", false).matches("invoice.pdf"));
    EXPECT_FALSE(rule("").matches("anything"));
    EXPECT_FALSE(rule("").matches(""));
}

TEST(CustomFilter, DecodingFillsTheDefaults)
{
    const CustomFilter a = CustomFilter::fromJson(parse(R"({"pattern":"shot"})"));
    const CustomFilter b = CustomFilter::fromJson(parse(R"({"pattern":"shot"})"));
    EXPECT_TRUE(a.enabled);
    EXPECT_TRUE(a.collection.isEmpty());
    EXPECT_FALSE(a.id.isNull());
    EXPECT_NE(a.id, b.id);
    EXPECT_TRUE(a.matches("Screenshot.png"));
}

TEST(CustomFilter, RoundTripsADocumentOfTheOriginalDesign)
{
    const QJsonObject stored = parse(R"({"id":"0f8e6a3c-1b2d-4e5f-8a9b-0c1d2e3f4a5b","enabled":false,)"
                                     R"("pattern":"invoice","collection":"Finance","unknown":1})");
    const CustomFilter f = CustomFilter::fromJson(stored);
    EXPECT_EQ(f.id, QUuid::fromString(QStringLiteral("0F8E6A3C-1B2D-4E5F-8A9B-0C1D2E3F4A5B")));
    EXPECT_FALSE(f.enabled);
    EXPECT_EQ(f.collection, "Finance");
    const QJsonObject written = f.toJson();
    EXPECT_EQ(written.value("id").toString(), "0F8E6A3C-1B2D-4E5F-8A9B-0C1D2E3F4A5B");
    EXPECT_EQ(written.size(), 4);
    EXPECT_EQ(CustomFilter::fromJson(written), f);

    EXPECT_THROW(CustomFilter::fromJson(parse(R"({"enabled":"yes"})")), DecodeError);
    EXPECT_THROW(CustomFilter::fromJson(parse(R"({"id":"not-a-uuid"})")), DecodeError);
}
