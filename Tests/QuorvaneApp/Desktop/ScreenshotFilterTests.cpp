#include "Desktop/ScreenshotFilter.h"

#include <gtest/gtest.h>

#include <map>

using namespace quorvane;

namespace {

class FakePreferences : public ScreenshotPreferences {
public:
    std::optional<QString> savedLocation;
    std::optional<QString> savedPrefix;
    std::optional<QString> location() override { return savedLocation; }
    std::optional<QString> namePrefix() override { return savedPrefix; }
    std::optional<QRegularExpression> namePattern() override { return std::nullopt; }
};

class FakeMetadata : public CaptureMetadata {
public:
    std::map<QString, bool> flags; // file name → capture flag; others have no answer
    std::optional<bool> isScreenCapture(const QString &path) override
    {
        const auto found = flags.find(path.section('/', -1));
        return found == flags.end() ? std::nullopt : std::optional<bool>(found->second);
    }
};

TEST(ScreenshotFilter, RecognitionFollowsTheFlagThenTheImageAndNameRule)
{
    FakeMetadata metadata;
    metadata.flags = {{"Recording.mov", true}, {"Screenshot 1.png", false}, {"photo.png", true}};
    const struct {
        const char *name;
        const char *prefix;
        bool expected;
    } cases[] = {
        {"photo.png", "Screenshot", true},         // flagged image, whatever its name
        {"Screenshot 1.png", "Screenshot", false}, // the flag says no
        {"Recording.mov", "Screenshot", true},     // flagged non-image
        {"Screenshot 2.mov", "Screenshot", false}, // non-image without a flag
        {"Screenshot 2.png", "Screenshot", true},  // no flag: the name decides
        {"Screenshot 2026-01-05 at 10.00.00.png", "Screenshot", true},
        {"Screenshots.png", "Screenshot", false},
        {"screenshot 2.png", "Screenshot", false}, // case matters
        {"Screenshot", "Screenshot", false},
        {"Shot 1.jpg", "Shot", true},
    };
    for (const auto &c : cases) {
        EXPECT_EQ(ScreenshotFilter::isScreenshot(QStringLiteral("/home/u/Desktop/") + c.name,
                                                 ScreenshotNames::prefixed(c.prefix), metadata),
                  c.expected)
            << c.name;
    }
}

TEST(ScreenshotFilter, OnThisSystemTheNamesOfCommonToolsMatchTheDefaultPrefix)
{
    EXPECT_EQ(ScreenshotFilter::effectiveNamePrefix(std::nullopt), "Screenshot");
    const ScreenshotNames names = ScreenshotNames::of(std::nullopt);
    EXPECT_TRUE(ScreenshotFilter::isScreenshot("/d/Screenshot from 2026-12-09 10-00-00.png", names));
    EXPECT_FALSE(ScreenshotFilter::isScreenshot("/d/Screen recording 2026-12-09.png", names));
    EXPECT_FALSE(ScreenshotFilter::screencaptureLocation().has_value());
}

TEST(ScreenshotFilter, ImagesAreKnownByTheirExtension)
{
    for (const char *name : {"a.png", "a.PNG", "a.jpg", "a.jpeg", "a.gif", "a.tiff", "a.webp", "a.svg"})
        EXPECT_TRUE(ScreenshotFilter::isImage(QStringLiteral("/d/") + name)) << name;
    for (const char *name : {"a.txt", "a.mov", "a.pdf", "png", "a.zzunknown", "a."})
        EXPECT_FALSE(ScreenshotFilter::isImage(QStringLiteral("/d/") + name)) << name;
}

TEST(ScreenshotFilter, ThePrefixIsTheTrimmedOverrideThenTheSystemsThenTheDefault)
{
    const struct {
        std::optional<QString> override;
        std::optional<QString> system;
        QString expected;
    } cases[] = {
        {QStringLiteral(" \tShot \t"), QStringLiteral("Capture"), "Shot"},
        {QStringLiteral("   "), QStringLiteral(" Capture "), "Capture"},
        {QString::fromUtf8("\xc2\xa0\xe2\x80\x83"), std::nullopt, "Screenshot"}, // no-break and em spaces
        {std::nullopt, QStringLiteral(" \t "), "Screenshot"},
        {std::nullopt, std::nullopt, "Screenshot"},
        {QStringLiteral("\nShot"), std::nullopt, "\nShot"}, // line breaks are not blanks
        {QStringLiteral("My Shot"), std::nullopt, "My Shot"},
    };
    for (const auto &c : cases) {
        FakePreferences preferences;
        preferences.savedPrefix = c.system;
        EXPECT_EQ(ScreenshotFilter::effectiveNamePrefix(c.override, preferences), c.expected) << c.expected.toStdString();
    }
}

TEST(ScreenshotFilter, TheSaveLocationExpandsTheHomeFolderAndIsStandardised)
{
    const struct {
        std::optional<QString> stored;
        std::optional<QString> expected;
    } cases[] = {
        {std::nullopt, std::nullopt},
        {QString(), std::nullopt},
        {QStringLiteral("~"), QStringLiteral("/home/u")},
        {QStringLiteral("~/Pictures/../Shots/./x/"), QStringLiteral("/home/u/Shots/x")},
        {QStringLiteral("/srv/shots"), QStringLiteral("/srv/shots")},
    };
    for (const auto &c : cases) {
        FakePreferences preferences;
        preferences.savedLocation = c.stored;
        EXPECT_EQ(ScreenshotFilter::screencaptureLocation(preferences, "/home/u"), c.expected) << c.stored.value_or("(none)").toStdString();
    }
}

} // namespace
