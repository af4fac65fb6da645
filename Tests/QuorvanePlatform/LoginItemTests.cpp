#include "LoginItem.h"
#include "TestEnvironment.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <gtest/gtest.h>

using namespace quorvane;
using namespace quorvane::test;

namespace {
const QString identifier = QStringLiteral("app.quorvane.Quorvane");
}

TEST(XdgAutostartLoginItem, EnableWritesTheEntryDisableRemovesIt)
{
    TempHome home;
    const QString folder = home.filePath("config/autostart");
    XdgAutostartLoginItem item(identifier, QStringLiteral("/opt/my apps/bin/quorvane"), folder);
    EXPECT_EQ(item.entryPath(), folder + "/app.quorvane.Quorvane.desktop");
    EXPECT_FALSE(item.enabled());
    EXPECT_EQ(item.disable(), std::nullopt); // nothing to remove is no failure

    EXPECT_EQ(item.enable(), std::nullopt);
    EXPECT_TRUE(item.enabled());
    const QString text = QString::fromUtf8(readFile(item.entryPath()));
    EXPECT_TRUE(text.startsWith("[Desktop Entry]\n")) << text.toStdString();
    EXPECT_TRUE(text.contains("\nType=Application\n"));
    EXPECT_TRUE(text.contains("\nExec=\"/opt/my apps/bin/quorvane\"\n")) << text.toStdString();
    EXPECT_EQ(item.enable(), std::nullopt); // again: still one entry, still enabled
    EXPECT_TRUE(item.enabled());

    EXPECT_EQ(item.disable(), std::nullopt);
    EXPECT_FALSE(QFileInfo::exists(item.entryPath()));
    EXPECT_FALSE(item.enabled());
}

TEST(XdgAutostartLoginItem, AHiddenEntryIsOffAndAFailedRemovalIsReported)
{
    TempHome home;
    const QString folder = home.filePath("autostart");
    XdgAutostartLoginItem item(identifier, QStringLiteral("/usr/bin/quorvane"), folder);
    writeFile(item.entryPath(), "[Desktop Entry]\nExec=quorvane\nHidden = true\n");
    EXPECT_FALSE(item.enabled());
    // Hidden in another group is not the entry's own key.
    writeFile(item.entryPath(), "[Desktop Entry]\nExec=quorvane\n[Desktop Action x]\nHidden=true\n");
    EXPECT_TRUE(item.enabled());

    // Something that is no file in the entry's place: both changes are refused and reported.
    QFile::remove(item.entryPath());
    writeFile(item.entryPath() + "/inside", "x");
    EXPECT_NE(item.disable(), std::nullopt);
    EXPECT_NE(item.enable(), std::nullopt);
    EXPECT_EQ(readFile(item.entryPath() + "/inside"), "x");
}

TEST(XdgAutostartLoginItem, TheBareExecutableHasNoEntry)
{
    TempHome home;
    XdgAutostartLoginItem item(QString(), QString(), home.filePath("autostart"));
    EXPECT_FALSE(item.enabled());
    EXPECT_NE(item.enable(), std::nullopt);
    EXPECT_EQ(item.disable(), std::nullopt);
    EXPECT_FALSE(QFileInfo::exists(home.filePath("autostart")));
}

TEST(XdgAutostartLoginItem, ExecQuotesTheWholePathAsTheFormatAsks)
{
    EXPECT_EQ(XdgAutostartLoginItem::execValue("/usr/bin/quorvane"), "\"/usr/bin/quorvane\"");
    // '$', '"', '`' and '\' escaped inside the quotes, '%' doubled, then every '\' doubled.
    EXPECT_EQ(XdgAutostartLoginItem::execValue("/a b/$x\"y`z\\w%u"), "\"/a b/\\\\$x\\\\\"y\\\\`z\\\\\\\\w%%u\"");
    EXPECT_EQ(XdgAutostartLoginItem::execValue("/a\nb"), "\"/a\\nb\"");
}

TEST(XdgAutostartLoginItem, TheStandardFolderFollowsTheConfigHome)
{
    const QByteArray saved = qgetenv("XDG_CONFIG_HOME");
    qputenv("XDG_CONFIG_HOME", "/somewhere/config/");
    EXPECT_EQ(XdgAutostartLoginItem::standardAutostartFolder(), "/somewhere/config/autostart");
    qputenv("XDG_CONFIG_HOME", "relative");
    EXPECT_TRUE(XdgAutostartLoginItem::standardAutostartFolder().endsWith("/.config/autostart"));
    qputenv("XDG_CONFIG_HOME", saved);
}
