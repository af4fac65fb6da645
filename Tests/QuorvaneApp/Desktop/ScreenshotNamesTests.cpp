#include "Desktop/ScreenshotNames.h"
#include "TestEnvironment.h"

#include <QTemporaryDir>
#include <gtest/gtest.h>

using namespace quorvane;

namespace {

// The names each session's own screenshot tool writes, as Debian's tools write them.
struct Session {
    QTemporaryDir config;

    ScreenshotNames names(const QString &desktop, const std::optional<QString> &userOverride = std::nullopt)
    {
        SessionSources sources;
        sources.currentDesktop = desktop;
        sources.configHome = config.path();
        LinuxScreenshotPreferences preferences(sources, QStringLiteral("/home/u/Pictures"));
        return ScreenshotNames::of(userOverride, preferences);
    }
};

} // namespace

TEST(ScreenshotNames, EachSessionsToolIsKnownByItsSeparatorAndDate)
{
    Session s;
    const struct {
        const char *desktop;
        const char *name;
        bool expected;
    } cases[] = {
        {"XFCE", "Screenshot_2026-12-09_19-50-00.png", true},
        {"XFCE", "Screenshot_notes.png", false},
        {"XFCE", "Screenshot 2026-12-09.png", true}, // the prefix and a blank still count
        {"KDE", "Screenshot_20261209_195000.png", true},
        {"KDE", "Screenshot_2026-12-09.png", false},
        {"KDE", "Screenshots_20261209_195000.png", false},
        {"GNOME", "Screenshot from 2026-12-09 19-50-00.png", true},
        {"ubuntu:GNOME", "Screenshot from 2026-12-09 19-50-00.png", true},
        {"GNOME", "Screenshot_2026-12-09_19-50-00.png", false},
        {"LXDE", "Screenshot_2026-12-09_19-50-00.png", false},
        {"LXDE", "Screenshot 2026-12-09 at 19.50.00.png", true},
        {"LXDE", "Screenshots.png", false},
    };
    for (const auto &c : cases)
        EXPECT_EQ(s.names(c.desktop).matches(c.name), c.expected) << c.desktop << ": " << c.name;
}

TEST(ScreenshotNames, TheToolsOwnSettingsAndTheUsersPrefixAsTyped)
{
    Session s;
    test::writeFile(s.config.filePath("spectaclerc"), "[General]\nsaveFilenameFormat=Capture_%Y-%M-%D %T\n");
    EXPECT_TRUE(s.names("KDE").matches("Capture_2026-12-09 Terminal.png"));
    EXPECT_FALSE(s.names("KDE").matches("Capture_today.png"));
    test::writeFile(s.config.filePath("xfce4/xfce4-screenshooter"), "title=Shot.v\n");
    EXPECT_TRUE(s.names("XFCE").matches("Shot.v_2026-12-09_19-50-00.png"));
    EXPECT_FALSE(s.names("XFCE").matches("Shotxv_2026-12-09_19-50-00.png"));

    // The user's own prefix counts as typed, trimmed of blanks, and alone.
    EXPECT_TRUE(s.names("KDE", QStringLiteral(" Capture_ ")).matches("Capture_x.png"));
    EXPECT_TRUE(s.names("XFCE", QStringLiteral("Shot")).matches("Shot-1.png"));
    EXPECT_FALSE(s.names("XFCE", QStringLiteral("Shot")).matches("Screenshot_2026-12-09_19-50-00.png"));
    EXPECT_FALSE(s.names("XFCE", QStringLiteral("Shot")).matches("shot-1.png"));
    // A blank override is no override.
    EXPECT_TRUE(s.names("XFCE", QStringLiteral("  ")).matches("Shot.v_2026-12-09_19-50-00.png"));
}
