#include "DesktopHosts/PlasmaBackgroundHost.h"

#include <QUrl>
#include <gtest/gtest.h>

using namespace quorvane;

// Plasma's shell is asked through scripts: what a script printed is read back per desktop, and
// a cue's values, and the user's, are written by one script each.
TEST(PlasmaBackground, ReadsEachDesktopsWallpaperAndSetsItThroughAScript)
{
    QStringList scripts;
    std::optional<QString> printed = QString("1\torg.kde.image\tfile:///home/me/it's mine.jpg\t0,0,0\n"
                                             "7\torg.kde.color\t\t51,102,153\n");
    PlasmaBackgroundHost host([&](const QString &script, QString &error) -> std::optional<QString> {
        scripts << script;
        if (!printed)
            error = "org.kde.plasmashell is not running";
        return printed;
    });
    QString error;
    const auto users = host.read(error);
    ASSERT_TRUE(users) << error.toStdString();
    EXPECT_EQ(users->value("1/plugin"), "org.kde.image");
    EXPECT_EQ(users->value("1/Image"), "file:///home/me/it's mine.jpg");
    EXPECT_EQ(users->value("7/Color"), "51,102,153");
    EXPECT_EQ(host.shownBy(*users)->image, "/home/me/it's mine.jpg");

    const QString picture = QUrl::fromLocalFile("/store/cue 1.png").toString();
    const QVariantMap cue = host.cueValues({BackgroundFill::Kind::image, {}, "/store/cue 1.png"}, *users);
    EXPECT_EQ(cue, (QVariantMap{{"1/plugin", "org.kde.image"}, {"1/Image", picture}, {"7/plugin", "org.kde.image"}, {"7/Image", picture}}));
    ASSERT_EQ(host.write(cue), std::nullopt);
    const QString script = scripts.back();
    EXPECT_TRUE(script.contains("if (d.id == 7) {")) << script.toStdString();
    EXPECT_LT(script.indexOf("writeConfig('Image'"), script.indexOf("d.wallpaperPlugin = \"org.kde.image\""));
    // The user's own values go back as literals of the script, whatever they hold.
    ASSERT_EQ(host.write({{"1/Image", "file:///home/me/\"it's\" mine.jpg"}}), std::nullopt);
    EXPECT_TRUE(scripts.back().contains("d.writeConfig('Image', \"file:///home/me/\\\"it's\\\" mine.jpg\");"))
        << scripts.back().toStdString();

    // A colour through the colour plugin; the user's own plugin and values go back alike.
    EXPECT_EQ(host.cueValues({BackgroundFill::Kind::color, "#336699", {}}, *users).value("1/Color"), "51,102,153");
    ASSERT_EQ(host.write({{"7/plugin", "org.kde.color"}, {"7/Color", "51,102,153"}}), std::nullopt);
    EXPECT_TRUE(scripts.back().contains("d.wallpaperPlugin = \"org.kde.color\"")) << scripts.back().toStdString();

    printed.reset();
    EXPECT_EQ(host.read(error), std::nullopt);
    EXPECT_EQ(host.write(cue), QString("org.kde.plasmashell is not running"));
}
