// Positions as GIO metadata for real: gvfs's metadata daemon on a bus of the test's own
// (run_on_private_bus.sh sets QUORVANE_PRIVATE_BUS), started in the process's temporary home so
// that its database lands there. Skipped elsewhere.
#include "DesktopHosts/GioMetadataIconHost.h"
#include "DesktopHosts/LinuxDesktopIconHosts.h"
#include "TestEnvironment.h"
#include "Wait.h"

#include <QCoreApplication>
#include <QDBusConnection>
#include <QDBusConnectionInterface>
#include <QDir>
#include <QFile>
#include <QProcess>
#include <gtest/gtest.h>

using namespace quorvane;

namespace {

const QString metadataDaemon = QStringLiteral("/usr/libexec/gvfsd-metadata");
const QString vfsDaemon = QStringLiteral("/usr/libexec/gvfsd");

struct GioMetadataOnABus : ::testing::Test {
    void SetUp() override
    {
        if (!qEnvironmentVariableIsSet("QUORVANE_PRIVATE_BUS") || !QDBusConnection::sessionBus().isConnected())
            GTEST_SKIP() << "needs a bus of its own";
        if (!QFile::exists(metadataDaemon) || !QFile::exists(vfsDaemon))
            GTEST_SKIP() << "no gvfs daemons";
        // GIO takes metadata to gvfs only while its main daemon is on the bus.
        start(vfs, vfsDaemon, QStringLiteral("org.gtk.vfs.Daemon"));
        start(metadata, metadataDaemon, QStringLiteral("org.gtk.vfs.Metadata"));
        QDir().mkpath(desk);
        for (const char *name : {"a.txt", "b b", "c.txt", "odd"})
            test::writeFile(desk + "/" + name, "x");
    }
    void TearDown() override
    {
        for (QProcess *daemon : {&metadata, &vfs}) {
            if (daemon->state() != QProcess::NotRunning) {
                daemon->terminate();
                daemon->waitForFinished(5000);
            }
        }
    }
    static void start(QProcess &daemon, const QString &program, const QString &service)
    {
        daemon.start(program, {});
        ASSERT_TRUE(daemon.waitForStarted(5000));
        auto *bus = QDBusConnection::sessionBus().interface();
        ASSERT_TRUE(test::waitUntil([&] { return bus->isServiceRegistered(service).value(); }, 5000));
    }
    static QString gio(const QStringList &arguments)
    {
        QProcess tool;
        tool.start(QStringLiteral("gio"), arguments);
        tool.waitForFinished(5000);
        return QString::fromUtf8(tool.readAllStandardOutput() + tool.readAllStandardError());
    }
    test::TempHome home;
    QString desk = home.path() + "/Desktop";
    QProcess vfs;
    QProcess metadata;
};

} // namespace

TEST_F(GioMetadataOnABus, WritesReadsAndForgetsOnlyTheNamesGiven)
{
    GioMetadataIconHost host("nemo", "nemo-icon-position", desk);
    EXPECT_EQ(host.pickup(), DesktopIconHost::Pickup::onTheItem);
    gio({"set", desk + "/c.txt", "metadata::nemo-icon-position", "300,40"});
    gio({"set", desk + "/odd", "metadata::nemo-icon-position", "12,x"});
    gio({"set", desk + "/a.txt", "metadata::caja-icon-position", "1,1"}); // another host's

    // A name not on the Desktop takes nothing.
    EXPECT_TRUE(host.write({{"a.txt", {120, 80}}, {"b b", {5, 600}}, {"gone", {1, 2}}}, {}));
    EXPECT_EQ(host.read({"a.txt", "b b", "c.txt", "odd", "gone"}),
              (IconPositions{{"a.txt", {120, 80}}, {"b b", {5, 600}}, {"c.txt", {300, 40}}}))
        << "a damaged value must be absent";
    EXPECT_FALSE(host.write({{"a.txt", {120, 80}}}, {"gone"})) << "nothing changed";

    EXPECT_TRUE(host.write({}, {"a.txt"}));
    EXPECT_EQ(host.read({"a.txt", "b b", "c.txt"}), (IconPositions{{"b b", {5, 600}}, {"c.txt", {300, 40}}}));
    const QString other = gio({"info", "-a", "metadata::caja-icon-position", desk + "/a.txt"});
    EXPECT_TRUE(other.contains("metadata::caja-icon-position: 1,1")) << other.toStdString();
    EXPECT_TRUE(gio({"info", "-a", "metadata::nemo-icon-position", desk + "/odd"}).contains(": 12,x"));
}

TEST_F(GioMetadataOnABus, AHostWithoutTheMetadataDaemonIsNotServed)
{
    TearDown();
    GioMetadataIconHost host("caja", "caja-icon-position", desk);
    EXPECT_THROW(host.write({{"a.txt", {1, 2}}}, {}), IconStoreError);
}

TEST(GioMetadataHostDetection, NemosDesktopOfThisDisplayIsServedThroughItsKey)
{
    // A stand-in with the host's process name, on a display no other test uses.
    test::TempHome home;
    const QByteArray display = qgetenv("DISPLAY");
    qputenv("DISPLAY", ":" + QByteArray::number(QCoreApplication::applicationPid()) + ".77");
    const QString program = home.path() + "/nemo-desktop";
    ASSERT_TRUE(QFile::copy("/bin/sleep", program));
    QProcess standIn;
    standIn.start(program, {"30"});
    ASSERT_TRUE(standIn.waitForStarted(5000));
    forgetDesktopHost(); // what an earlier test's session had
    const qint64 pid = standIn.processId();
    const auto host = findDesktopIconHost(home.path() + "/Desktop");
    const auto followed = runningDesktopHost();
    // Followed by its process: once it has ended, it is no host any more.
    standIn.kill();
    EXPECT_TRUE(waitForProcessEnd(pid, 5000));
    const auto afterEnd = runningDesktopHost();
    standIn.waitForFinished(5000);
    forgetDesktopHost();
    qputenv("DISPLAY", display);
    ASSERT_TRUE(followed.has_value());
    EXPECT_EQ(followed->pid, pid);
    EXPECT_FALSE(afterEnd.has_value());
    ASSERT_NE(host, nullptr);
    EXPECT_EQ(host->name(), "nemo");
    EXPECT_EQ(host->pickup(), DesktopIconHost::Pickup::onTheItem);
}
