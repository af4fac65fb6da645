// The XFCE settings daemon for real, on a bus of the test's own (dbus-run-session, which sets
// QUORVANE_PRIVATE_BUS): xfdesktop's background and the XSETTINGS theme. Skipped elsewhere.
#include "DesktopHosts/LinuxBackgroundHosts.h"
#include "Session/AppearanceSwitch.h"
#include "Session/XfconfChannel.h"
#include "Wait.h"

#include <QDBusConnectionInterface>
#include <QDir>
#include <QFile>
#include <QProcess>
#include <QTemporaryDir>
#include <gtest/gtest.h>

using namespace quorvane;

namespace {

QString xfconfd()
{
    for (const char *path : {"/usr/lib/x86_64-linux-gnu/xfce4/xfconf/xfconfd", "/usr/lib/xfce4/xfconf/xfconfd",
                             "/usr/libexec/xfce4/xfconf/xfconfd"}) {
        if (QFile::exists(path))
            return path;
    }
    return {};
}

struct XfconfOnABus : ::testing::Test {
    void SetUp() override
    {
        if (!qEnvironmentVariableIsSet("QUORVANE_PRIVATE_BUS") || !QDBusConnection::sessionBus().isConnected())
            GTEST_SKIP() << "needs a bus of its own";
        if (xfconfd().isEmpty())
            GTEST_SKIP() << "no xfconfd";
        // Started here, in this process's temporary home, never by the bus.
        daemon.start(xfconfd(), {});
        ASSERT_TRUE(daemon.waitForStarted(5000));
        auto *bus = QDBusConnection::sessionBus().interface();
        ASSERT_TRUE(test::waitUntil([&] { return bus->isServiceRegistered(QStringLiteral("org.xfce.Xfconf")).value(); }, 5000));
    }
    void TearDown() override
    {
        if (daemon.state() != QProcess::NotRunning) {
            daemon.terminate();
            daemon.waitForFinished(5000);
        }
    }
    static QString query(const QStringList &arguments)
    {
        QProcess tool;
        tool.start(QStringLiteral("xfconf-query"), arguments);
        tool.waitForFinished(5000);
        return QString::fromUtf8(tool.readAllStandardOutput()).trimmed();
    }
    QProcess daemon;
};

const QString workspace0 = QStringLiteral("/backdrop/screen0/monitorVNC-0/workspace0");
const QString workspace1 = QStringLiteral("/backdrop/screen0/monitorVNC-0/workspace1");

} // namespace

TEST_F(XfconfOnABus, XfdesktopBackgroundReadAndWrittenWithItsOwnTypes)
{
    XfconfChannel channel(QStringLiteral("xfce4-desktop"));
    ASSERT_EQ(channel.setProperty(workspace0 + "/last-image", QStringLiteral("/usr/share/backgrounds/mine.png")), std::nullopt);
    ASSERT_EQ(channel.setProperty(workspace0 + "/image-style", 5), std::nullopt);
    ASSERT_EQ(channel.setProperty(workspace1 + "/image-style", 4), std::nullopt);
    ASSERT_EQ(channel.setProperty("/backdrop/single-workspace-mode", true), std::nullopt); // not a background

    XfdesktopBackgroundHost host;
    QString error;
    const auto users = host.read(error);
    ASSERT_TRUE(users) << error.toStdString();
    EXPECT_EQ(*users, (QVariantMap{{workspace0 + "/last-image", QStringLiteral("/usr/share/backgrounds/mine.png")}, {workspace0 + "/image-style", 5}, {workspace1 + "/image-style", 4}}));

    // A colour on every workspace the channel holds: no picture, one solid colour.
    const QVariantMap cue = host.cueValues({BackgroundFill::Kind::color, "#336699", "/x.png"}, *users);
    EXPECT_EQ(cue.size(), 6);
    ASSERT_EQ(host.write(cue), std::nullopt);
    EXPECT_EQ(query({"-c", "xfce4-desktop", "-p", workspace1 + "/image-style"}), "0");
    EXPECT_EQ(query({"-c", "xfce4-desktop", "-p", workspace1 + "/rgba1"}),
              "Value is an array with 4 items:\n\n0.200000\n0.400000\n0.600000\n1.000000");
    const auto shown = host.read(error);
    ASSERT_TRUE(shown);
    EXPECT_EQ(shown->value(workspace1 + "/rgba1"), (QVariantList{0.2, 0.4, 0.6, 1.0}));

    // Back: the user's values, and what they did not have removed.
    QVariantMap back = *users;
    back.insert(workspace0 + "/rgba1", QVariant());
    back.insert(workspace1 + "/rgba1", QVariant());
    back.insert(workspace0 + "/color-style", QVariant());
    back.insert(workspace1 + "/color-style", QVariant());
    ASSERT_EQ(host.write(back), std::nullopt);
    EXPECT_EQ(host.read(error), users);
    EXPECT_EQ(query({"-c", "xfce4-desktop", "-p", workspace0 + "/image-style"}), "5");
}

TEST_F(XfconfOnABus, XsettingsThemeTurnsToItsDarkVariantAndBack)
{
    QTemporaryDir themes;
    QDir(themes.path()).mkpath("Greybird/gtk-3.0");
    QDir(themes.path()).mkpath("Greybird-dark/gtk-3.0");
    QDir(themes.path()).mkpath("Plain/gtk-3.0");
    XfconfChannel xsettings(QStringLiteral("xsettings"));
    const auto theme = [&] { return query({"-c", "xsettings", "-p", "/Net/ThemeName"}); };
    ASSERT_EQ(xsettings.setProperty("/Net/ThemeName", QStringLiteral("Greybird")), std::nullopt);

    LinuxAppearanceSwitch appearance(SettingsLedger::inStore(themes.path()), LinuxAppearanceSwitch::Desktop::xfce,
                                     {themes.path()});
    EXPECT_FALSE(appearance.isDark());
    EXPECT_EQ(appearance.setDark(true), std::nullopt);
    EXPECT_EQ(theme(), "Greybird-dark");
    EXPECT_TRUE(appearance.isDark());
    EXPECT_EQ(appearance.setDark(false), std::nullopt);
    EXPECT_EQ(theme(), "Greybird");

    // A theme the user picks while dark is theirs and stays.
    appearance.setDark(true);
    xsettings.setProperty("/Net/ThemeName", QStringLiteral("Plain"));
    EXPECT_EQ(appearance.setDark(false), std::nullopt);
    EXPECT_EQ(theme(), "Plain");

    // No dark variant: said, and nothing changed.
    EXPECT_EQ(appearance.setDark(true), QString("/Net/ThemeName: no dark variant of Plain"));
    EXPECT_EQ(theme(), "Plain");
}
