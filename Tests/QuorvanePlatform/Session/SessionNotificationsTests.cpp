#include "LogCapture.h"
#include "Session/SessionNotifications.h"

#include <QCoreApplication>
#include <QDBusConnectionInterface>
#include <QDBusMetaType>
#include <QDBusVirtualObject>
#include <QElapsedTimer>
#include <QFile>
#include <QProcess>
#include <QStandardPaths>
#include <QTemporaryDir>
#include <QTextDocument>
#include <gtest/gtest.h>

using namespace quorvane;

Q_LOGGING_CATEGORY(notifyTestLog, "quorvane.test.notify", QtDebugMsg)

namespace {

// A notification server on a private bus that answers its capabilities and records every other
// call it is given.
class RecordingServer final : public QDBusVirtualObject {
public:
    QStringList capabilities{"body"};
    std::vector<QDBusMessage> calls;

    QString introspect(const QString &) const override { return {}; }
    bool handleMessage(const QDBusMessage &message, const QDBusConnection &connection) override
    {
        if (message.member() == "GetCapabilities") {
            connection.send(message.createReply(QVariant::fromValue(capabilities)));
            return true;
        }
        calls.push_back(message);
        connection.send(message.createReply(QVariant::fromValue(uint(7))));
        return true;
    }
};

// A private message bus for one test, ended with it. It activates no services, so no real
// notification server is ever started.
class PrivateBus {
public:
    PrivateBus()
    {
        const QString daemon = QStandardPaths::findExecutable(QStringLiteral("dbus-daemon"));
        if (daemon.isEmpty() || !m_folder.isValid())
            return;
        QFile config(m_folder.filePath(QStringLiteral("bus.conf")));
        if (!config.open(QIODevice::WriteOnly))
            return;
        config.write("<!DOCTYPE busconfig PUBLIC \"-//freedesktop//DTD D-Bus Bus Configuration 1.0//EN\"\n"
                     " \"http://www.freedesktop.org/standards/dbus/1.0/busconfig.dtd\">\n"
                     "<busconfig><type>session</type><listen>unix:tmpdir=/tmp</listen>"
                     "<policy context=\"default\"><allow send_destination=\"*\" eavesdrop=\"true\"/><allow eavesdrop=\"true\"/><allow own=\"*\"/></policy>"
                     "</busconfig>\n");
        config.close();
        m_process.start(daemon, {QStringLiteral("--config-file=") + config.fileName(), QStringLiteral("--nofork"), QStringLiteral("--print-address=1")});
        if (!m_process.waitForStarted(5000))
            return;
        QElapsedTimer clock;
        clock.start();
        while (!m_process.canReadLine() && clock.elapsed() < 5000)
            m_process.waitForReadyRead(100);
        address = QString::fromUtf8(m_process.readLine()).trimmed();
    }
    ~PrivateBus()
    {
        QDBusConnection::disconnectFromBus(QStringLiteral("server"));
        QDBusConnection::disconnectFromBus(QStringLiteral("client"));
        m_process.kill();
        m_process.waitForFinished(5000);
    }
    QDBusConnection connect(const QString &name) const { return QDBusConnection::connectToBus(address, name); }

    QString address;

private:
    QTemporaryDir m_folder;
    QProcess m_process;
};

bool spinUntil(const std::function<bool()> &done)
{
    QElapsedTimer clock;
    clock.start();
    while (!done() && clock.elapsed() < 5000)
        QCoreApplication::processEvents(QEventLoop::AllEvents, 20);
    return done();
}

const NotificationSender sender{"Quorvane", "user-desktop", "app.quorvane.Quorvane"};

} // namespace

TEST(SessionNotifications, NotifyCarriesTheRequestTheSenderAndABodyThatReadsAsWritten)
{
    PrivateBus bus;
    if (bus.address.isEmpty())
        GTEST_SKIP() << "no dbus-daemon";
    QDBusConnection server = bus.connect(QStringLiteral("server"));
    RecordingServer recorder;
    ASSERT_TRUE(server.registerVirtualObject(QStringLiteral("/org/freedesktop/Notifications"), &recorder));
    ASSERT_TRUE(server.registerService(QStringLiteral("org.freedesktop.Notifications")));
    QDBusConnection client = bus.connect(QStringLiteral("client"));

    postSessionNotification(client, sender, {"quiet", "Desktop cleanup", "“Old & New” is still waiting to be sorted.", false, {}},
                            notifyTestLog());
    postSessionNotification(client, sender, {"loud", "Desktop cleanup", "You have desktops to sort.", true, {}},
                            notifyTestLog());
    ASSERT_TRUE(spinUntil([&] { return recorder.calls.size() == 2; }));

    const QDBusMessage &quiet = recorder.calls[0];
    EXPECT_EQ(quiet.interface(), "org.freedesktop.Notifications");
    EXPECT_EQ(quiet.member(), "Notify");
    EXPECT_EQ(quiet.signature(), "susssasa{sv}i");
    const QList<QVariant> args = quiet.arguments();
    ASSERT_EQ(args.size(), 8);
    EXPECT_EQ(args[0].toString(), "Quorvane");
    EXPECT_EQ(args[1].toUInt(), 0u);
    EXPECT_EQ(args[2].toString(), "user-desktop");
    EXPECT_EQ(args[3].toString(), "Desktop cleanup");
    EXPECT_EQ(args[4].toString(), "“Old & New” is still waiting to be sorted."); // a server without markup: as it stands
    EXPECT_TRUE(args[5].toStringList().isEmpty());
    const QVariantMap hints = qdbus_cast<QVariantMap>(args[6]);
    EXPECT_EQ(hints.value("desktop-entry").toString(), "app.quorvane.Quorvane");
    EXPECT_EQ(hints.value("suppress-sound"), QVariant(true));
    EXPECT_EQ(args[7].toInt(), -1);

    const QVariantMap loudHints = qdbus_cast<QVariantMap>(recorder.calls[1].arguments()[6]);
    EXPECT_FALSE(loudHints.contains("suppress-sound"));
    EXPECT_EQ(recorder.calls[1].arguments()[4].toString(), "You have desktops to sort.");

    // A server that takes markup in a body gets a name that looks like markup escaped.
    const QString body = "“<b>Bold</b> & Co” is still waiting to be sorted.";
    recorder.capabilities << "body-markup";
    postSessionNotification(client, sender, {"markup", "Desktop cleanup", body, true, {}}, notifyTestLog());
    ASSERT_TRUE(spinUntil([&] { return recorder.calls.size() == 3; }));
    QTextDocument shown;
    shown.setHtml(recorder.calls[2].arguments()[4].toString());
    EXPECT_EQ(shown.toPlainText(), body);
}

TEST(SessionNotifications, NoBusOrNoServerShowsNothingAndSaysSoOnce)
{
    test::LogCapture log("quorvane.test.notify");
    postSessionNotification(QDBusConnection(QStringLiteral("never connected")), sender,
                            {"a", "Desktop cleanup", "b", true, {}}, notifyTestLog());
    ASSERT_EQ(log.lines.size(), 1);
    EXPECT_TRUE(log.lines[0].contains("no session bus")) << log.lines[0].toStdString();

    PrivateBus bus;
    if (bus.address.isEmpty())
        GTEST_SKIP() << "no dbus-daemon";
    postSessionNotification(bus.connect(QStringLiteral("client")), sender, {"b", "Desktop cleanup", "b", true, {}},
                            notifyTestLog());
    ASSERT_TRUE(spinUntil([&] { return log.lines.size() == 2; }));
    EXPECT_TRUE(log.lines[1].contains("not shown")) << log.lines[1].toStdString();
}

// A notice taken back is closed by the id the server gave it, whether its answer came before or
// after; taken back twice, it is closed once; taken back before it went out, it never does.
TEST(SessionNotifications, AWithdrawnNoticeIsClosedByItsId)
{
    PrivateBus bus;
    if (bus.address.isEmpty())
        GTEST_SKIP() << "no dbus-daemon";
    QDBusConnection server = bus.connect(QStringLiteral("server"));
    RecordingServer recorder;
    ASSERT_TRUE(server.registerVirtualObject(QStringLiteral("/org/freedesktop/Notifications"), &recorder));
    ASSERT_TRUE(server.registerService(QStringLiteral("org.freedesktop.Notifications")));
    QDBusConnection client = bus.connect(QStringLiteral("client"));
    const auto members = [&] {
        QStringList seen;
        for (const QDBusMessage &call : recorder.calls)
            seen << call.member() + (call.member() == "CloseNotification" ? QString::number(call.arguments().value(0).toUInt()) : QString());
        return seen;
    };
    const NotificationRequest notice{"status-area", "No status area", "Add one.", false, {}};

    const auto withdraw = postWithdrawableNotification(client, sender, notice, notifyTestLog());
    ASSERT_TRUE(spinUntil([&] { return recorder.calls.size() == 1; }));
    withdraw();
    withdraw();
    ASSERT_TRUE(spinUntil([&] { return recorder.calls.size() >= 2; }));
    EXPECT_EQ(members(), (QStringList{"Notify", "CloseNotification7"}));

    // Taken back at once; a plain notification after it shows when its turn has passed.
    recorder.calls.clear();
    postWithdrawableNotification(client, sender, notice, notifyTestLog())();
    postSessionNotification(client, sender, {"later", "Later", "Shown.", false, {}}, notifyTestLog());
    ASSERT_TRUE(spinUntil([&] { return !recorder.calls.empty(); }));
    EXPECT_EQ(members(), QStringList{"Notify"});
    EXPECT_EQ(recorder.calls[0].arguments().value(3).toString(), "Later");
}
