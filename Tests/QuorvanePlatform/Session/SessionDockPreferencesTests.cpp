#include "Session/PreferenceReader.h"
#include "Session/SessionDockPreferences.h"
#include "TestEnvironment.h"
#include "Wait.h"
#include "Work/HostWork.h"

#include <QDir>
#include <QProcess>
#include <QStandardPaths>
#include <QTemporaryDir>
#include <QThread>
#include <gtest/gtest.h>

#include <atomic>

using namespace quorvane;

namespace {

// XFCE's own first-start panels: a thin one along the top, a 48-point one at the bottom that
// hides when a window overlaps it.
const QString xfceListing = QStringLiteral(
    "/configver                                   2\n"
    "/panels                                      <<UNSUPPORTED>>\n"
    "/panels/dark-mode                            true\n"
    "/panels/panel-1/icon-size                    16\n"
    "/panels/panel-1/position                     p=6;x=0;y=0\n"
    "/panels/panel-1/size                         26\n"
    "/panels/panel-2/autohide-behavior            1\n"
    "/panels/panel-2/position                     p=10;x=0;y=0\n"
    "/panels/panel-2/size                         48\n");

SessionSources session(const QString &desktop)
{
    SessionSources sources;
    sources.currentDesktop = desktop;
    return sources;
}

std::optional<QVariant> pref(const SessionSources &sources, const char *key)
{
    return sessionDockPreference(sources, QString::fromLatin1(key));
}

// Changes an environment variable for the life of the object.
struct ScopedVariable {
    QByteArray name, previous;
    ScopedVariable(const char *n, const QByteArray &value)
        : name(n)
        , previous(qgetenv(n))
    {
        qputenv(n, value);
    }
    ~ScopedVariable() { qputenv(name.constData(), previous); }
};

} // namespace

TEST(SessionDockPreferences, XfceFirstPanelOffTheTopIsTheDock)
{
    SessionSources xfce = session(QStringLiteral("XFCE"));
    QString listing = xfceListing;
    xfce.xfconfListing = [&](const QString &channel) -> std::optional<QString> {
        return channel == QLatin1String("xfce4-panel") ? std::optional<QString>(listing) : std::nullopt;
    };
    EXPECT_EQ(pref(xfce, "tilesize"), QVariant(48.0));
    EXPECT_EQ(pref(xfce, "orientation"), QVariant(QStringLiteral("bottom")));
    EXPECT_EQ(pref(xfce, "autohide"), QVariant(true));

    // A vertical panel at the left edge that never hides.
    listing.replace(QStringLiteral("p=10;x=0;y=0"), QStringLiteral("p=5;x=0;y=0"));
    listing.replace(QStringLiteral("/panels/panel-2/autohide-behavior            1"),
                    QStringLiteral("/panels/panel-2/autohide-behavior 0\n/panels/panel-2/mode 1"));
    EXPECT_EQ(pref(xfce, "orientation"), QVariant(QStringLiteral("left")));
    EXPECT_EQ(pref(xfce, "autohide"), QVariant(false));

    // Only a top panel, another session, or no xfconf: nothing is known.
    listing = xfceListing.section(QStringLiteral("/panels/panel-2"), 0, 0);
    EXPECT_FALSE(pref(xfce, "tilesize"));
    EXPECT_FALSE(pref(session(QStringLiteral("GNOME")), "tilesize"));
    xfce.xfconfListing = [](const QString &) { return std::optional<QString>(); };
    EXPECT_FALSE(pref(xfce, "orientation"));
}

TEST(SessionDockPreferences, GnomeHotCornerAndDashToDock)
{
    QHash<QString, QString> keys{{"org.gnome.desktop.interface/enable-hot-corners", "true"},
                                 {"org.gnome.shell/enabled-extensions", "['dash-to-dock@micxgx.gmail.com']"},
                                 {"org.gnome.shell.extensions.dash-to-dock/dash-max-icon-size", "36"},
                                 {"org.gnome.shell.extensions.dash-to-dock/dock-position", "'LEFT'"},
                                 {"org.gnome.shell.extensions.dash-to-dock/dock-fixed", "false"}};
    SessionSources gnome = session(QStringLiteral("ubuntu:GNOME"));
    gnome.gsetting = [&](const QString &schema, const QString &key) -> std::optional<QString> {
        const auto it = keys.constFind(schema + '/' + key);
        return it == keys.constEnd() ? std::nullopt : std::optional<QString>(*it);
    };
    EXPECT_EQ(pref(gnome, "wvous-tl-corner"), QVariant(2));
    EXPECT_EQ(pref(gnome, "wvous-tl-modifier"), QVariant(0));
    EXPECT_FALSE(pref(gnome, "wvous-br-corner"));
    EXPECT_EQ(pref(gnome, "tilesize"), QVariant(36.0));
    EXPECT_EQ(pref(gnome, "orientation"), QVariant(QStringLiteral("left")));
    EXPECT_EQ(pref(gnome, "autohide"), QVariant(true));

    keys["org.gnome.desktop.interface/enable-hot-corners"] = "false";
    keys["org.gnome.shell/enabled-extensions"] = "@as []";
    EXPECT_FALSE(pref(gnome, "wvous-tl-corner"));
    EXPECT_FALSE(pref(gnome, "tilesize")); // the extension is installed but off
}

TEST(SessionDockPreferences, KdeScreenEdgesFromKwinrc)
{
    QTemporaryDir config;
    SessionSources kde = session(QStringLiteral("KDE"));
    kde.configHome = config.path();
    // Unchanged, KWin's overview sits in the top-left corner.
    EXPECT_EQ(pref(kde, "wvous-tl-corner"), QVariant(2));
    EXPECT_FALSE(pref(kde, "wvous-tr-corner"));

    test::writeFile(config.filePath("kwinrc"), "[ElectricBorders]\nBottomRight=ShowDesktop\nTopRight=LockScreen\n\n"
                                               "[Effect-overview]\nBorderActivate=9\n\n[Effect-windowview]\nBorderActivateAll=5\n");
    EXPECT_FALSE(pref(kde, "wvous-tl-corner")); // the overview was moved off it
    EXPECT_EQ(pref(kde, "wvous-br-corner"), QVariant(4));
    EXPECT_EQ(pref(kde, "wvous-tr-corner"), QVariant(13));
    EXPECT_EQ(pref(kde, "wvous-bl-corner"), QVariant(2));
    EXPECT_FALSE(pref(session(QStringLiteral("XFCE")), "wvous-tl-corner"));
    // Only the four corners and the two suffixes are corner keys.
    for (const char *key : {"wvous-tx-corner", "wvous-tl-cornerx", "wvous-tl_corner", "xwvous-tl-corner", "wvous-tl-"})
        EXPECT_FALSE(pref(kde, key)) << key;
}

// The reader asks the session's tools once per key; later questions are answered from what it
// read while the tools are asked again on the worker, so a change lands by the next question.
TEST(SessionDockPreferencesReader, AsksTheToolsOnceThenRefreshesAwayFromTheCaller)
{
    HostWork::setInline(false);
    std::atomic<int> size = 48;
    std::atomic<int> reads = 0;
    std::atomic<QThread *> lastReadOn = nullptr;
    LinuxPreferenceReader reader([&] {
        SessionSources sources;
        sources.currentDesktop = QStringLiteral("XFCE");
        sources.xfconfListing = [&](const QString &) -> std::optional<QString> {
            ++reads;
            lastReadOn = QThread::currentThread();
            return QString(xfceListing).replace(QStringLiteral("size                         48"), QStringLiteral("size                         %1").arg(size.load()));
        };
        return sources;
    });

    EXPECT_EQ(reader.value("com.apple.dock", "tilesize"), QVariant(48.0)); // the first question waits
    EXPECT_EQ(reads, 1);
    EXPECT_EQ(lastReadOn.load(), QThread::currentThread());

    size = 64;
    // Answered from what was read; the tools are asked again on the worker.
    EXPECT_EQ(reader.value("com.apple.dock", "tilesize"), QVariant(48.0));
    ASSERT_TRUE(test::waitUntil([&] { return reader.value("com.apple.dock", "tilesize") == QVariant(64.0); }));
    EXPECT_NE(lastReadOn.load(), QThread::currentThread());
    EXPECT_FALSE(reader.value("com.example.other", "tilesize")); // other domains stay absent
    HostWork::drain();
    QCoreApplication::processEvents();
    HostWork::setInline(true);
}

// The real tools: GNOME's hot corner through the GSettings key file of the test's home, and
// XFCE's panels through an xfconf daemon on a bus of the test's own.
TEST(SessionDockPreferencesLive, GSettingsKeyFileAndXfconfChannel)
{
    if (QStandardPaths::findExecutable(QStringLiteral("gsettings")).isEmpty())
        GTEST_SKIP() << "gsettings is not installed";
    ScopedVariable gnome("XDG_CURRENT_DESKTOP", "GNOME");
    LinuxPreferenceReader reader;
    ASSERT_EQ(QProcess::execute("gsettings", {"set", "org.gnome.desktop.interface", "enable-hot-corners", "true"}), 0);
    EXPECT_EQ(reader.value("com.apple.dock", "wvous-tl-corner"), QVariant(2));
    ASSERT_EQ(QProcess::execute("gsettings", {"set", "org.gnome.desktop.interface", "enable-hot-corners", "false"}), 0);
    EXPECT_FALSE(reader.value("com.apple.dock", "wvous-tl-corner"));

    if (QStandardPaths::findExecutable(QStringLiteral("xfconf-query")).isEmpty()
        || QStandardPaths::findExecutable(QStringLiteral("dbus-daemon")).isEmpty())
        GTEST_SKIP() << "xfconf or dbus-daemon is not installed";
    const QString channels = qEnvironmentVariable("XDG_CONFIG_HOME") + "/xfce4/xfconf/xfce-perchannel-xml";
    test::writeFile(channels + "/xfce4-panel.xml",
                    "<?xml version=\"1.0\" encoding=\"UTF-8\"?>\n<channel name=\"xfce4-panel\" version=\"1.0\">\n"
                    " <property name=\"panels\" type=\"empty\">\n"
                    "  <property name=\"panel-1\" type=\"empty\"><property name=\"position\" type=\"string\" value=\"p=6;x=0;y=0\"/>"
                    "<property name=\"size\" type=\"uint\" value=\"26\"/></property>\n"
                    "  <property name=\"panel-2\" type=\"empty\"><property name=\"position\" type=\"string\" value=\"p=1;x=0;y=0\"/>"
                    "<property name=\"mode\" type=\"uint\" value=\"1\"/><property name=\"size\" type=\"uint\" value=\"40\"/></property>\n"
                    " </property>\n</channel>\n");
    // A bus of the test's own, started from this process so that the daemon it activates
    // reads the test's home.
    QProcess bus;
    bus.start("dbus-daemon", {"--session", "--nofork", "--print-address"});
    ASSERT_TRUE(bus.waitForReadyRead(5000));
    ScopedVariable address("DBUS_SESSION_BUS_ADDRESS", bus.readLine().trimmed());
    ScopedVariable xfce("XDG_CURRENT_DESKTOP", "XFCE");
    EXPECT_EQ(reader.value("com.apple.dock", "tilesize"), QVariant(40.0));
    EXPECT_EQ(reader.value("com.apple.dock", "orientation"), QVariant(QStringLiteral("right")));
    EXPECT_EQ(reader.value("com.apple.dock", "autohide"), QVariant(false));
    QProcess::execute("xfconf-query", {"-c", "xfce4-panel", "-p", "/panels/panel-2/size", "-s", "56"});
    EXPECT_EQ(reader.value("com.apple.dock", "tilesize"), QVariant(56.0));
    bus.terminate();
    bus.waitForFinished(3000);
}
