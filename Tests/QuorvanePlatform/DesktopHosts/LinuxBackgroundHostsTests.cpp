#include "DesktopHosts/LinuxBackgroundHosts.h"
#include "TestEnvironment.h"

#include <QDir>
#include <QFile>
#include <QProcess>
#include <QStandardPaths>
#include <QTemporaryDir>
#include <gtest/gtest.h>

using namespace quorvane;

// GNOME's background for real, on the keyfile backend in this process's temporary home.
TEST(GSettingsBackground, ShowsAColourOrAPictureAndTakesTheUsersValuesBack)
{
    if (QStandardPaths::findExecutable("gsettings").isEmpty())
        GTEST_SKIP() << "no gsettings tool";
    QFile::remove(QDir(qEnvironmentVariable("XDG_CONFIG_HOME")).filePath("glib-2.0/settings/keyfile"));
    const auto get = [](const char *key) {
        QProcess tool;
        tool.start("gsettings", {"get", "org.gnome.desktop.background", key});
        tool.waitForFinished(5000);
        return QString::fromUtf8(tool.readAllStandardOutput()).trimmed();
    };
    QProcess::execute("gsettings", {"set", "org.gnome.desktop.background", "picture-uri", "file:///home/me/it's mine.jpg"});

    GSettingsBackgroundHost host("org.gnome.desktop.background");
    QString error;
    const auto users = host.read(error);
    ASSERT_TRUE(users) << error.toStdString();
    EXPECT_EQ(users->value("picture-uri").toString(), get("picture-uri"));
    EXPECT_TRUE(users->contains("primary-color"));

    ASSERT_EQ(host.write(host.cueValues({BackgroundFill::Kind::color, "#336699", "/tmp/c.png"}, *users)), std::nullopt);
    EXPECT_EQ(get("picture-options"), "'none'");
    EXPECT_EQ(get("primary-color"), "'#336699'");
    EXPECT_EQ(get("color-shading-type"), "'solid'");
    ASSERT_EQ(host.write(host.cueValues({BackgroundFill::Kind::image, {}, "/tmp/a cue.png"}, *users)), std::nullopt);
    EXPECT_EQ(get("picture-uri"), "'file:///tmp/a%20cue.png'");
    EXPECT_EQ(get("picture-options"), "'stretched'");

    ASSERT_EQ(host.write(*users), std::nullopt);
    EXPECT_EQ(host.read(error), users);

    // A schema that is not installed cannot be read: nothing to show a cue on.
    GSettingsBackgroundHost missing("org.example.nothing.background");
    EXPECT_EQ(missing.read(error), std::nullopt);
    EXPECT_FALSE(error.isEmpty());
}

// MATE's background has no 'none' among its picture options: a colour shows through an empty
// picture name, a value outside a key's range writes nothing, and the user's values come back.
TEST(GSettingsBackground, MatesSchemaTakesOnlyValuesInItsRangeAndAllOfAChangeOrNone)
{
    GSettingsBackgroundHost host("org.mate.background");
    QString error;
    if (QStandardPaths::findExecutable("gsettings").isEmpty() || !host.choices("picture-options"))
        GTEST_SKIP() << "no gsettings tool or no MATE background schema";
    QFile::remove(QDir(qEnvironmentVariable("XDG_CONFIG_HOME")).filePath("glib-2.0/settings/keyfile"));
    const auto get = [](const char *key) {
        QProcess tool;
        tool.start("gsettings", {"get", "org.mate.background", key});
        tool.waitForFinished(5000);
        return QString::fromUtf8(tool.readAllStandardOutput()).trimmed();
    };
    QProcess::execute("gsettings", {"set", "org.mate.background", "picture-filename", "/home/me/mine.jpg"});
    const auto users = host.read(error);
    ASSERT_TRUE(users) << error.toStdString();
    EXPECT_FALSE(host.choices("picture-options")->contains("'none'"));

    const QVariantMap cue = host.cueValues({BackgroundFill::Kind::color, "#336699", "/tmp/c.png"}, *users);
    EXPECT_FALSE(cue.contains("picture-options"));
    ASSERT_EQ(host.write(cue), std::nullopt);
    EXPECT_EQ(get("picture-filename"), "''");
    EXPECT_EQ(get("primary-color"), "'#336699'");
    EXPECT_EQ(get("color-shading-type"), "'solid'");

    const auto refused = host.write({{"primary-color", "'#000000'"}, {"picture-options", "'none'"}});
    ASSERT_TRUE(refused);
    EXPECT_TRUE(refused->startsWith("picture-options")) << refused->toStdString();
    EXPECT_EQ(get("primary-color"), "'#336699'");

    ASSERT_EQ(host.write(*users), std::nullopt);
    EXPECT_EQ(host.read(error), users);
    EXPECT_EQ(get("picture-filename"), "'/home/me/mine.jpg'");
}

// pcmanfm's own values, from its profile's file.
TEST(PcmanfmBackground, ReadsTheProfilesPictureAndMode)
{
    QTemporaryDir config;
    PcmanfmBackgroundHost host(config.path(), "LXDE");
    QString error;
    EXPECT_EQ(host.read(error), QVariantMap()); // no file yet: the desktop's defaults
    QDir().mkpath(config.filePath("pcmanfm/LXDE"));
    QFile file(host.configFile());
    ASSERT_TRUE(file.open(QIODevice::WriteOnly));
    file.write("[*]\nwallpaper_mode=crop\nwallpaper_common=1\nwallpaper=/home/me/a=b.jpg\ndesktop_bg=#000000\n"
               "[other]\nwallpaper=/elsewhere.png\n");
    file.close();
    EXPECT_EQ(host.read(error), (QVariantMap{{"wallpaper", "/home/me/a=b.jpg"}, {"wallpaper_mode", "crop"}}));
    EXPECT_EQ(host.name(), "pcmanfm/LXDE");
    EXPECT_EQ(host.cueValues({BackgroundFill::Kind::color, "#336699", "/s/background-336699.png"}, {}),
              (QVariantMap{{"wallpaper", "/s/background-336699.png"}, {"wallpaper_mode", "stretch"}}));
}

// pcmanfm's desktop takes the command at once and saves its profile a moment later: a write is
// done once the profile names what was written, so that the next read is what the desktop shows.
// Here a stand-in on PATH that saves a fifth of a second late, or never.
TEST(PcmanfmBackground, AWriteIsDoneOnceTheDesktopHasSavedIt)
{
    QTemporaryDir bin;
    QTemporaryDir config;
    PcmanfmBackgroundHost host(config.path(), "LXDE", 1000);
    QDir().mkpath(config.filePath("pcmanfm/LXDE"));
    test::writeFile(host.configFile(), "[*]\nwallpaper_mode=fit\nwallpaper=/home/me/mine.jpg\n");
    QFile tool(bin.filePath("pcmanfm"));
    ASSERT_TRUE(tool.open(QIODevice::WriteOnly));
    tool.write("#!/bin/sh\n[ -e \"$0.mute\" ] && exit 0\nfor a; do case $a in --set-wallpaper=*) w=${a#*=};; "
               "--wallpaper-mode=*) m=${a#*=};; esac; done\n"
               "(sleep 0.2; printf '[*]\\nwallpaper_mode=%s\\nwallpaper=%s\\n' \"$m\" \"$w\" > \"$PROFILE\") &\n");
    tool.close();
    tool.setPermissions(QFile::ReadOwner | QFile::WriteOwner | QFile::ExeOwner);
    const QByteArray path = qgetenv("PATH");
    qputenv("PATH", QFile::encodeName(bin.path()) + ':' + path);
    qputenv("PROFILE", QFile::encodeName(host.configFile()));

    const QVariantMap cue{{"wallpaper", "/s/background-cue-1.png"}, {"wallpaper_mode", "stretch"}};
    EXPECT_EQ(host.write(cue), std::nullopt);
    QString error;
    EXPECT_EQ(host.read(error), cue);

    test::writeFile(bin.filePath("pcmanfm.mute"), ""); // takes the command, saves nothing
    const auto failure = host.write({{"wallpaper", "/home/me/mine.jpg"}, {"wallpaper_mode", "fit"}});
    qputenv("PATH", path);
    ASSERT_TRUE(failure);
    EXPECT_TRUE(failure->contains("did not save")) << failure->toStdString();
}
