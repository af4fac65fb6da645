#pragma once

#include <QByteArray>
#include <QObject>
#include <QString>

#include <memory>

class QSocketNotifier;

namespace quorvane {

// A client connection to a local stream socket, driven by the event loop and never waiting on it:
// what arrives is handed on as it comes, what is written goes out as the socket takes it. Only
// the window manager's IPC needs one, so the application does without Qt's network library.
class UnixStreamSocket final : public QObject {
    Q_OBJECT

public:
    explicit UnixStreamSocket(QObject *parent = nullptr);
    // Closes the connection without a word.
    ~UnixStreamSocket() override;

    // Connects to the socket at the path; connected() or closed() follows from the event loop.
    void connectTo(const QString &path);
    bool isConnected() const { return m_fd >= 0 && m_connected; }
    // Queued behind what is still waiting; dropped when not connected.
    void write(const QByteArray &data);
    // Closes the connection and says so (closed()), when there is one.
    void abort();

signals:
    void connected();
    void received(const QByteArray &data);
    // The connection could not be made, the other end went, or it was aborted.
    void closed();

private:
    void readAvailable();
    void writeWaiting();
    void close();

    int m_fd = -1;
    bool m_connected = false;
    QByteArray m_waiting;
    std::unique_ptr<QSocketNotifier> m_readable;
    std::unique_ptr<QSocketNotifier> m_writable;
};

} // namespace quorvane
