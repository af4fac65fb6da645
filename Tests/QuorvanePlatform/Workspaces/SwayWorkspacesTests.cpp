#include "Workspaces/SwayWorkspaces.h"

#include <QLocalServer>
#include <QLocalSocket>
#include <QSignalSpy>
#include <QTemporaryDir>

#include <gtest/gtest.h>

#include <cstring>
#include <memory>
#include <vector>

using namespace quorvane;

namespace {

// A window manager's IPC socket: answers get_workspaces with its list and subscribe with
// success, and sends workspace events to the subscribed connection.
struct FakeWindowManager : QObject {
    QTemporaryDir folder;
    QLocalServer server;
    QByteArray workspaces = R"([{"name":"1","focused":true},{"name":"web","focused":false}])";
    std::vector<QLocalSocket *> clients;
    QLocalSocket *subscriber = nullptr;

    FakeWindowManager()
    {
        server.listen(folder.filePath(QStringLiteral("ipc.sock")));
        connect(&server, &QLocalServer::newConnection, this, [this] {
            while (QLocalSocket *client = server.nextPendingConnection()) {
                clients.push_back(client);
                connect(client, &QLocalSocket::readyRead, this, [this, client] { answer(client); });
            }
        });
    }
    void answer(QLocalSocket *client)
    {
        // Requests arrive whole in these tests; the header is 14 bytes.
        QByteArray data = client->readAll();
        while (data.size() >= 14) {
            std::uint32_t length = 0, type = 0;
            std::memcpy(&length, data.constData() + 6, 4);
            std::memcpy(&type, data.constData() + 10, 4);
            if (type == SwayWorkspaces::getWorkspaces)
                client->write(SwayWorkspaces::frame(type, workspaces));
            if (type == SwayWorkspaces::subscribe) {
                subscriber = client;
                client->write(SwayWorkspaces::frame(type, R"({"success":true})"));
            }
            data.remove(0, 14 + length);
        }
    }
    // The event comes in two pieces, as a stream may cut it.
    void focus(const QByteArray &list)
    {
        workspaces = list;
        const QByteArray event = SwayWorkspaces::frame(SwayWorkspaces::workspaceEvent, R"({"change":"focus"})");
        subscriber->write(event.left(9));
        subscriber->flush();
        subscriber->write(event.mid(9));
    }
};

QString currentIdentity(const SwayWorkspaces &workspaces)
{
    return workspaces.managedDisplaySpaces()->at(0).toMap().value(QStringLiteral("Current Space")).toMap().value(QStringLiteral("uuid")).toString();
}

} // namespace

TEST(SwayWorkspaces, FollowsTheFocusedWorkspaceByNameThroughTheSubscription)
{
    FakeWindowManager wm;
    SwayWorkspaces workspaces(wm.server.fullServerName());
    EXPECT_FALSE(workspaces.available()) << "nothing is known before the first answer";
    QSignalSpy changes(&workspaces, &SwayWorkspaces::changed);
    ASSERT_TRUE(changes.wait(5000));
    ASSERT_TRUE(workspaces.available());
    const QVariantList spaces = workspaces.managedDisplaySpaces()->at(0).toMap().value(QStringLiteral("Spaces")).toList();
    ASSERT_EQ(spaces.size(), 2);
    EXPECT_EQ(spaces[1].toMap().value(QStringLiteral("uuid")).toString(), QStringLiteral("wm-workspace-web"));
    EXPECT_EQ(currentIdentity(workspaces), QStringLiteral("wm-workspace-1"));
    EXPECT_EQ(workspaces.currentDesktop(), 0);

    for (int i = 0; i < 50 && !wm.subscriber; ++i)
        QCoreApplication::processEvents(QEventLoop::AllEvents, 20);
    ASSERT_NE(wm.subscriber, nullptr) << "no subscription";
    wm.focus(R"([{"name":"1","focused":false},{"name":"web","focused":true}])");
    ASSERT_TRUE(changes.wait(5000));
    EXPECT_EQ(currentIdentity(workspaces), QStringLiteral("wm-workspace-web"));
    EXPECT_EQ(workspaces.currentDesktop(), 1);

    // The window manager gone: no workspaces any more.
    changes.clear();
    for (QLocalSocket *client : wm.clients)
        client->disconnectFromServer();
    ASSERT_TRUE(changes.wait(5000));
    EXPECT_FALSE(workspaces.available());
    EXPECT_EQ(workspaces.managedDisplaySpaces(), std::nullopt);
}

TEST(SwayWorkspaces, GoesQuietlyWhileConnected)
{
    FakeWindowManager wm;
    auto workspaces = std::make_unique<SwayWorkspaces>(wm.server.fullServerName());
    QSignalSpy changes(workspaces.get(), &SwayWorkspaces::changed);
    ASSERT_TRUE(changes.wait(5000));
    int reports = 0;
    QObject::connect(workspaces.get(), &SwayWorkspaces::changed, [&reports] { ++reports; });
    workspaces.reset();
    EXPECT_EQ(reports, 0);
}

TEST(SwayWorkspaces, NoSocketAndAnUnreadableAnswerGiveNoWorkspaces)
{
    SwayWorkspaces none{QString()};
    EXPECT_FALSE(none.available());

    FakeWindowManager wm;
    wm.workspaces = "not json";
    SwayWorkspaces workspaces(wm.server.fullServerName());
    QSignalSpy changes(&workspaces, &SwayWorkspaces::changed);
    EXPECT_FALSE(changes.wait(300));
    EXPECT_FALSE(workspaces.available());
}
