#include "Session/LinuxSessionEvents.h"

#include <QCoreApplication>
#include <QDBusConnectionInterface>
#include <QDBusMessage>
#include <QDeadlineTimer>
#include <gtest/gtest.h>

using namespace quorvane;

namespace {

// logind as far as the wake goes: the name on the bus and its PrepareForSleep signal.
struct FakeLogind {
    QDBusConnection bus = QDBusConnection::connectToBus(QDBusConnection::SessionBus, QStringLiteral("fake-logind"));
    ~FakeLogind() { QDBusConnection::disconnectFromBus(QStringLiteral("fake-logind")); }
    bool own() { return bus.isConnected() && bus.registerService(QStringLiteral("org.freedesktop.login1")); }
    void prepareForSleep(bool sleeping)
    {
        QDBusMessage signal = QDBusMessage::createSignal(QStringLiteral("/org/freedesktop/login1"),
                                                         QStringLiteral("org.freedesktop.login1.Manager"),
                                                         QStringLiteral("PrepareForSleep"));
        signal << sleeping;
        bus.send(signal);
    }
};

void serve(
    int milliseconds, const std::function<bool()> &done = [] { return false; })
{
    QDeadlineTimer deadline(milliseconds);
    while (!done() && !deadline.hasExpired())
        QCoreApplication::processEvents(QEventLoop::AllEvents, 20);
}

} // namespace

// Run on a bus of its own (dbus-run-session): the test's bus stands in for the system bus.
TEST(SessionWake, PrepareForSleepFalseIsTheWake)
{
    if (qEnvironmentVariableIsEmpty("DBUS_SESSION_BUS_ADDRESS"))
        GTEST_SKIP() << "no session bus";
    FakeLogind logind;
    ASSERT_TRUE(logind.own());
    // As the application makes it: the bus is connected to once something observes.
    int connected = 0;
    LinuxSessionEvents session([&] {
        ++connected;
        return QDBusConnection::sessionBus();
    });
    EXPECT_EQ(connected, 0);
    int wakes = 0, workspaces = 0;
    session.observeWake([&] { ++wakes; });
    session.observeWorkspaceChange([&] { ++workspaces; });
    EXPECT_EQ(connected, 1);
    EXPECT_FALSE(session.watchesWorkspaces()); // off screen: no X11
    serve(200);                                // the match rule reaches the bus

    logind.prepareForSleep(true); // going to sleep: no wake yet
    serve(300);
    EXPECT_EQ(wakes, 0);
    logind.prepareForSleep(false);
    serve(3000, [&] { return wakes == 1; });
    EXPECT_EQ(wakes, 1);
    EXPECT_EQ(workspaces, 0);
}
