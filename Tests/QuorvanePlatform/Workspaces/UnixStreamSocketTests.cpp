#include "Workspaces/UnixStreamSocket.h"

#include <QLocalServer>
#include <QLocalSocket>
#include <QSignalSpy>
#include <QTemporaryDir>

#include <gtest/gtest.h>

using namespace quorvane;

TEST(UnixStreamSocket, AMissingSocketClosesFromTheEventLoop)
{
    QTemporaryDir folder;
    UnixStreamSocket socket;
    QSignalSpy closed(&socket, &UnixStreamSocket::closed);
    socket.connectTo(folder.filePath(QStringLiteral("none.sock")));
    EXPECT_EQ(closed.count(), 0) << "said only once the caller has returned";
    ASSERT_TRUE(closed.wait(2000));
    EXPECT_FALSE(socket.isConnected());
    socket.write("dropped"); // not connected: nothing happens
}

// More than the socket takes at once (about 200 KB) goes out in order as the other end reads; what comes back
// arrives, and the other end going closes the connection.
TEST(UnixStreamSocket, WritesWhatWaitsAndTellsWhatArrivesAndTheEnd)
{
    QTemporaryDir folder;
    QLocalServer server;
    ASSERT_TRUE(server.listen(folder.filePath(QStringLiteral("ipc.sock"))));
    UnixStreamSocket socket;
    QSignalSpy connected(&socket, &UnixStreamSocket::connected);
    socket.connectTo(server.fullServerName());
    ASSERT_TRUE(connected.wait(2000));
    ASSERT_TRUE(server.hasPendingConnections() || server.waitForNewConnection(2000));
    QLocalSocket *peer = server.nextPendingConnection();

    QByteArray large(1024 * 1024, '\0');
    for (qsizetype i = 0; i < large.size(); ++i)
        large[i] = char(i % 251);
    socket.write(large.left(10));
    socket.write(large.mid(10));
    QByteArray got;
    for (int i = 0; i < 500 && got.size() < large.size(); ++i) {
        QCoreApplication::processEvents(QEventLoop::AllEvents, 10);
        peer->waitForReadyRead(10);
        got += peer->readAll();
    }
    EXPECT_TRUE(got == large) << got.size() << " bytes of " << large.size();

    QByteArray answer;
    QObject::connect(&socket, &UnixStreamSocket::received, [&answer](const QByteArray &data) { answer += data; });
    QSignalSpy closed(&socket, &UnixStreamSocket::closed);
    peer->write("answer");
    peer->flush();
    peer->disconnectFromServer();
    ASSERT_TRUE(closed.wait(2000));
    EXPECT_EQ(answer, QByteArray("answer"));
    EXPECT_FALSE(socket.isConnected());
}
