#pragma once

#include "Workspaces/SpaceProvider.h"
#include "Workspaces/UnixStreamSocket.h"

#include <QByteArray>
#include <QObject>
#include <QString>

#include <vector>

namespace quorvane {

// sway's (and i3's) workspaces through the window manager's IPC socket: one display "Main" whose
// Spaces are its workspaces in the window manager's order, each a user Space known by its name
// ("wm-workspace-<name>") and carrying its name ("name"), the current one the focused workspace. The list is read with
// get_workspaces once connected and again after every workspace event of the subscription, never
// waiting on the socket: until the first answer, and after the window manager has gone, the
// workspaces are unavailable. Windows are not placed on workspaces here.
class SwayWorkspaces final : public QObject, public SpaceProvider {
    Q_OBJECT

public:
    // The IPC message types used and the workspace event's type.
    static constexpr std::uint32_t getWorkspaces = 1;
    static constexpr std::uint32_t subscribe = 2;
    static constexpr std::uint32_t workspaceEvent = 0x80000000u;

    // The socket SWAYSOCK names, else I3SOCK's; empty without either.
    static QString socketFromEnvironment();
    explicit SwayWorkspaces(const QString &socketPath, QObject *parent = nullptr);
    // Closes both connections without a word: nothing is reported while being destroyed.
    ~SwayWorkspaces() override;

    bool available() const override { return m_known; }
    std::optional<QVariantList> managedDisplaySpaces() const override;
    std::optional<QString> mainDisplayIdentifier() const override { return std::nullopt; }
    std::optional<std::int64_t> windowDesktop(WindowId) const override { return std::nullopt; }
    std::optional<std::int64_t> currentDesktop() const override;
    void moveToCurrentDesktop(WindowId) override {}

    static QString identity(const QString &name);
    // The workspace name an identity stands for, whether the workspace is there now or not (the
    // window manager removes an empty one, and makes it again when it is asked for); none for an
    // identity of another kind.
    static std::optional<QString> nameIn(const QString &identity);
    static inline const QString identityPrefix = QStringLiteral("wm-workspace-");
    // One message of the IPC protocol: "i3-ipc", the payload's length and the type, then the
    // payload.
    static QByteArray frame(std::uint32_t type, const QByteArray &payload);

signals:
    // The workspaces or the focused one changed (and once when they are first known).
    void changed();

private:
    struct Workspace {
        QString name;
        bool focused = false;
        bool operator==(const Workspace &) const = default;
    };

    void readReplies(const QByteArray &data);
    void readEvents(const QByteArray &data);
    void requestWorkspaces();
    // The whole messages at the front of the buffer, by type and payload; a buffer that does
    // not start with the protocol's magic is dropped (and the socket with it).
    static std::vector<std::pair<std::uint32_t, QByteArray>> takeMessages(QByteArray &buffer, bool &garbled);
    void adopt(const QByteArray &payload);

    UnixStreamSocket m_requests;
    UnixStreamSocket m_events;
    QByteArray m_requestBuffer;
    QByteArray m_eventBuffer;
    std::vector<Workspace> m_workspaces;
    bool m_known = false;
};

} // namespace quorvane
