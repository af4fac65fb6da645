#include "SettingsModelHarness.h"

#include "Overlays/CueImageCache.h"

#include <QFileInfo>
#include <QRegularExpression>

using namespace quorvane;
using namespace quorvane::test;

using SettingsModelLooks = SettingsModelHarness;

TEST_F(SettingsModelLooks, CueEditsStartFromTheDefaultCueAndClampTheOpacity)
{
    SettingsModel &m = openWith({"Work", "Play"});
    m.setCueColor("Work", "#112233");
    EXPECT_EQ(stored().workspace("Work")->cue, (DesktopCue(false, DesktopCue::Fill::color("#112233"), 0.7, false, false)));
    m.setCueOpacity("Work", 0);
    EXPECT_DOUBLE_EQ(stored().workspace("Work")->cue->opacity, 0.05);
    m.setCueOpacity("Work", 0.95);
    EXPECT_DOUBLE_EQ(stored().workspace("Work")->cue->opacity, 0.95);
    m.setCueAboveIcons("Work", true);
    EXPECT_DOUBLE_EQ(stored().workspace("Work")->cue->opacity, 0.8);
    m.setCueAboveIcons("Work", false);
    EXPECT_DOUBLE_EQ(stored().workspace("Work")->cue->opacity, 0.8);

    m.setSpaceBinding("Work", QString("ewmh-desktop-1"));
    m.setSpaceBinding("Play", QString("ewmh-desktop-1"));
    EXPECT_EQ(stored().workspace("Work")->spaceUUID, std::nullopt);
    EXPECT_EQ(stored().workspace("Play")->spaceUUID, QString("ewmh-desktop-1"));

    const int before = changes;
    m.setCueEnabled("Nobody", true);
    EXPECT_EQ(changes, before + 1);
}

TEST_F(SettingsModelLooks, APickedImageIsCopiedAndOnlyTheOwnOldCopyGoes)
{
    SettingsModel &m = openWith({"Work", "Play"});
    const QString photo = home.filePath("photo.JPG");
    const QString plain = home.filePath("plain");
    test::writeFile(photo, "jpeg");
    test::writeFile(plain, "raw");

    m.setCueImage("Work", photo);
    const QString first = stored().workspace("Work")->cue->fill.value;
    EXPECT_TRUE(QRegularExpression("^[0-9A-F]{8}-[0-9A-F]{4}-[0-9A-F]{4}-[0-9A-F]{4}-[0-9A-F]{12}\\.JPG$")
                    .match(QFileInfo(first).fileName())
                    .hasMatch())
        << first.toStdString();
    EXPECT_EQ(QFileInfo(first).absolutePath(), paths.cues());
    EXPECT_EQ(test::readFile(first), "jpeg");
    EXPECT_EQ(test::readFile(photo), "jpeg");
    EXPECT_FALSE(stored().workspace("Work")->cue->enabled);

    CueImageCache images;
    m.useCueImages(&images);
    images.image(first);
    m.setCueImage("Work", plain);
    const QString second = stored().workspace("Work")->cue->fill.value;
    EXPECT_TRUE(second.endsWith(".img"));
    EXPECT_FALSE(QFileInfo::exists(first));
    EXPECT_FALSE(images.contains(first));

    // A copy another desktop still shows, or the user's own picture a document names: kept.
    Config c = stored();
    c.workspace("Play")->cue = c.workspace("Work")->cue;
    store.saveConfig(c);
    m.reload();
    m.setCueImage("Work", plain);
    EXPECT_EQ(test::readFile(second), "raw");
    c = stored();
    c.workspace("Play")->cue->fill = DesktopCue::Fill::image(photo);
    store.saveConfig(c);
    m.reload();
    m.setCueImage("Play", plain);
    EXPECT_EQ(test::readFile(photo), "jpeg");
}
