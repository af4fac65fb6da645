#include "Triggers/AppCommandClient.h"
#include "Triggers/AppCommandService.h"

#include <QCoreApplication>
#include <QDBusConnection>
#include <QDBusConnectionInterface>
#include <QDeadlineTimer>
#include <QSignalSpy>

#include <atomic>
#include <chrono>
#include <thread>

#include <gtest/gtest.h>

using namespace quorvane;

namespace {

// A bus no test can reach: requests are checked without one.
QDBusConnection noBus()
{
    return QDBusConnection(QStringLiteral("quorvane-no-bus"));
}

struct AppCommandServiceTest : ::testing::Test {
    AppCommandState state{{QStringLiteral("Default"), QStringLiteral("Caf\u00E9")}, QStringLiteral("Default")};
    AppCommandService service{noBus()};
    QSignalSpy requests{&service, &AppCommandService::requested};

    AppCommandServiceTest()
    {
        service.setStateSource([this] { return state; });
    }
    // The requests emitted once the event loop has run.
    QList<AppCommand> emitted()
    {
        QCoreApplication::processEvents();
        QList<AppCommand> commands;
        for (const QList<QVariant> &arguments : requests)
            commands << arguments.at(0).value<AppCommand>();
        return commands;
    }
};

} // namespace

TEST_F(AppCommandServiceTest, AnAcceptedRequestIsAnsweredFirstAndRunsFromTheEventLoopUnderTheStoredName)
{
    // "Café" typed decomposed names the stored, composed desktop.
    const auto answer = service.request({AppCommand::Kind::switchTo, QStringLiteral("Cafe\u0301")});
    EXPECT_TRUE(answer.error.isEmpty());
    EXPECT_EQ(answer.message, QStringLiteral("switching to \u201CCaf\u00E9\u201D"));
    EXPECT_EQ(requests.size(), 0);
    EXPECT_EQ(emitted(), QList<AppCommand>{(AppCommand{AppCommand::Kind::switchTo, QStringLiteral("Caf\u00E9")})});
}

TEST_F(AppCommandServiceTest, UnknownActiveAndRefusedRequestsRunNothingWhileABusyOneWaitsItsTurn)
{
    auto answer = service.request({AppCommand::Kind::switchTo, QStringLiteral("Nope")});
    EXPECT_EQ(answer.error, QString::fromLatin1(AppCommandService::unknownDesktopError));
    EXPECT_EQ(answer.message, QStringLiteral("there is no desktop named \u201CNope\u201D (the desktops are Default, Caf\u00E9)"));
    answer = service.request({AppCommand::Kind::switchTo, QStringLiteral("Default")});
    EXPECT_TRUE(answer.error.isEmpty());
    EXPECT_EQ(answer.message, QStringLiteral("\u201CDefault\u201D is already the active desktop"));
    EXPECT_TRUE(emitted().isEmpty());
    // During a switch a request is accepted as a hot key's is, and the active desktop is the
    // one being left: switching back to it is a request of its own.
    state.busy = true;
    answer = service.request({AppCommand::Kind::switchTo, QStringLiteral("Default")});
    EXPECT_TRUE(answer.error.isEmpty());
    EXPECT_EQ(answer.message, QStringLiteral("switching to \u201CDefault\u201D once the switch under way has ended"));
    EXPECT_EQ(emitted(), (QList<AppCommand>{AppCommand{AppCommand::Kind::switchTo, QStringLiteral("Default")}}));
    state.refusal = QStringLiteral("read-only");
    EXPECT_EQ(service.request({AppCommand::Kind::carousel}).error, QString::fromLatin1(AppCommandService::refusedError));
    EXPECT_EQ(emitted().size(), 1);
    // The settings window is shown whatever the switches' state.
    EXPECT_TRUE(service.request({AppCommand::Kind::showSettings}).error.isEmpty());
    EXPECT_EQ(emitted().back(), AppCommand{AppCommand::Kind::showSettings});
}

// Runs the client on a thread of its own while this thread serves the service's calls.
static AppCommandClient::Outcome sendWhileServing(const AppCommand &command)
{
    std::atomic<bool> finished{false};
    AppCommandClient::Outcome outcome;
    std::thread caller([&] {
        outcome = AppCommandClient(QDBusConnection::sessionBus(), 5000).send(command);
        finished = true;
    });
    const QDeadlineTimer deadline(10000);
    while (!finished && !deadline.hasExpired()) {
        QCoreApplication::processEvents();
        std::this_thread::sleep_for(std::chrono::milliseconds(5));
    }
    caller.join();
    QCoreApplication::processEvents();
    return outcome;
}

// On a session bus of the test's own (dbus-run-session).
TEST(AppCommandOnABus, TheClientReachesTheServiceAndSaysWhenNoneRuns)
{
    if (!qEnvironmentVariableIsSet("QUORVANE_PRIVATE_BUS") || !QDBusConnection::sessionBus().isConnected())
        GTEST_SKIP() << "needs a private session bus";
    EXPECT_EQ(sendWhileServing({AppCommand::Kind::next}).status, appexit::notRunning);

    // The service on a connection of its own, as another process would be.
    QDBusConnection own = QDBusConnection::connectToBus(QDBusConnection::SessionBus, QStringLiteral("quorvane-service"));
    {
        AppCommandService service(own);
        service.setStateSource([] { return AppCommandState{{QStringLiteral("Work")}, QStringLiteral("Default")}; });
        QSignalSpy requests(&service, &AppCommandService::requested);
        ASSERT_TRUE(service.publish());
        EXPECT_FALSE(AppCommandService(QDBusConnection::sessionBus()).publish()) << "a second holder of the name";

        auto outcome = sendWhileServing({AppCommand::Kind::switchTo, QStringLiteral("Nope")});
        EXPECT_EQ(outcome.status, appexit::refused);
        EXPECT_TRUE(outcome.message.startsWith(QStringLiteral("there is no desktop named"))) << outcome.message.toStdString();
        EXPECT_EQ(requests.size(), 0);

        outcome = sendWhileServing({AppCommand::Kind::switchTo, QStringLiteral("Work")});
        EXPECT_EQ(outcome.status, appexit::done);
        EXPECT_EQ(outcome.message, QStringLiteral("switching to \u201CWork\u201D"));
        ASSERT_EQ(requests.size(), 1);
        EXPECT_EQ(requests.at(0).at(0).value<AppCommand>(), (AppCommand{AppCommand::Kind::switchTo, QStringLiteral("Work")}));

        // An instance held past the caller's patience (nothing serves its calls here): the caller
        // says so in words, and the call it left behind is not served once the instance runs
        // again, so a retry never switches twice.
        QString impatientName;
        {
            QDBusConnection impatient = QDBusConnection::connectToBus(QDBusConnection::SessionBus, QStringLiteral("impatient"));
            impatientName = impatient.baseService();
            const auto late = AppCommandClient(impatient, 300).send({AppCommand::Kind::next});
            EXPECT_EQ(late.status, appexit::refused);
            EXPECT_TRUE(late.message.startsWith(QStringLiteral("Quorvane did not answer within"))) << late.message.toStdString();
        }
        QDBusConnection::disconnectFromBus(QStringLiteral("impatient"));
        const QDeadlineTimer gone(5000);
        while (own.interface()->isServiceRegistered(impatientName).value() && !gone.hasExpired())
            std::this_thread::sleep_for(std::chrono::milliseconds(10));
        const QDeadlineTimer served(300);
        while (!served.hasExpired())
            QCoreApplication::processEvents();
        EXPECT_EQ(requests.size(), 1);
    }
    QDBusConnection::disconnectFromBus(QStringLiteral("quorvane-service"));
    EXPECT_EQ(sendWhileServing({AppCommand::Kind::carousel}).status, appexit::notRunning);
}
