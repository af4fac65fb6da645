#include "Session/ScreenshotPreferences.h"
#include "TestEnvironment.h"

#include <QTemporaryDir>
#include <gtest/gtest.h>

using namespace quorvane;

namespace {

struct Session {
    QTemporaryDir config;
    QHash<QString, QString> keys;

    LinuxScreenshotPreferences preferences(const QString &desktop)
    {
        SessionSources sources;
        sources.currentDesktop = desktop;
        sources.configHome = config.path();
        sources.gsetting = [this](const QString &schema, const QString &key) -> std::optional<QString> {
            const auto it = keys.constFind(schema + '/' + key);
            return it == keys.constEnd() ? std::nullopt : std::optional<QString>(*it);
        };
        return LinuxScreenshotPreferences(sources, QStringLiteral("/home/u/Pictures"));
    }
};

} // namespace

// Where each desktop's own screenshot tool saves, and under which name.
TEST(LinuxScreenshotPreferences, EachSessionsToolAndItsDefaults)
{
    Session s;
    EXPECT_EQ(s.preferences("GNOME").location(), "/home/u/Pictures/Screenshots");
    EXPECT_EQ(s.preferences("GNOME").namePrefix(), "Screenshot from");
    s.keys["org.gnome.gnome-screenshot/auto-save-directory"] = "'file:///home/u/Desktop'";
    EXPECT_EQ(s.preferences("ubuntu:GNOME").location(), "/home/u/Desktop");

    EXPECT_EQ(s.preferences("XFCE").location(), "/home/u/Pictures");
    EXPECT_FALSE(s.preferences("XFCE").namePrefix());
    test::writeFile(s.config.filePath("xfce4/xfce4-screenshooter"),
                    "app=display\nscreenshot_dir=file:///home/u/Desktop\ntitle=Shot\n");
    EXPECT_EQ(s.preferences("XFCE").location(), "/home/u/Desktop");
    EXPECT_EQ(s.preferences("XFCE").namePrefix(), "Shot");

    EXPECT_EQ(s.preferences("KDE").location(), "/home/u/Pictures");
    test::writeFile(s.config.filePath("spectaclerc"),
                    "[GuiConfig]\ndefaultSaveLocation=file:///elsewhere\n[General]\n"
                    "defaultSaveLocation=file:///home/u/Pictures/Screenshots/\nsaveFilenameFormat=Capture_%Y%M%D\n");
    EXPECT_EQ(s.preferences("KDE").location(), "/home/u/Pictures/Screenshots/");
    EXPECT_EQ(s.preferences("KDE").namePrefix(), "Capture_");

    EXPECT_FALSE(s.preferences("LXDE").location());
    EXPECT_FALSE(s.preferences("LXDE").namePattern());
    EXPECT_FALSE(s.preferences("").namePrefix());
}
