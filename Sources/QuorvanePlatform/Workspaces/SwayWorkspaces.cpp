#include "Workspaces/SwayWorkspaces.h"

#include <QJsonArray>
#include <QJsonDocument>
#include <QJsonObject>
#include <QVariantMap>

#include <cstring>

namespace quorvane {

namespace {

constexpr char magic[] = "i3-ipc";
constexpr qsizetype magicSize = 6;
constexpr qsizetype headerSize = magicSize + 8;
// No answer of the window manager's about workspaces comes near this; a larger length is a
// garbled stream.
constexpr std::uint32_t largestPayload = 16 * 1024 * 1024;

} // namespace

QString SwayWorkspaces::socketFromEnvironment()
{
    const QString sway = qEnvironmentVariable("SWAYSOCK");
    return sway.isEmpty() ? qEnvironmentVariable("I3SOCK") : sway;
}

SwayWorkspaces::SwayWorkspaces(const QString &socketPath, QObject *parent)
    : QObject(parent)
{
    connect(&m_requests, &UnixStreamSocket::received, this, &SwayWorkspaces::readReplies);
    connect(&m_events, &UnixStreamSocket::received, this, &SwayWorkspaces::readEvents);
    connect(&m_requests, &UnixStreamSocket::connected, this, &SwayWorkspaces::requestWorkspaces);
    connect(&m_events, &UnixStreamSocket::connected, this,
            [this] { m_events.write(frame(subscribe, QByteArrayLiteral("[\"workspace\"]"))); });
    // The window manager gone: its workspaces are no more.
    const auto lost = [this] {
        if (!m_known)
            return;
        m_known = false;
        m_workspaces.clear();
        emit changed();
    };
    connect(&m_requests, &UnixStreamSocket::closed, this, lost);
    if (socketPath.isEmpty())
        return;
    m_requests.connectTo(socketPath);
    m_events.connectTo(socketPath);
}

SwayWorkspaces::~SwayWorkspaces()
{
    m_requests.disconnect(this);
    m_events.disconnect(this);
}

QByteArray SwayWorkspaces::frame(std::uint32_t type, const QByteArray &payload)
{
    QByteArray message(magic, magicSize);
    const std::uint32_t length = std::uint32_t(payload.size());
    // The protocol's integers are in the machine's own byte order.
    message.append(reinterpret_cast<const char *>(&length), sizeof length);
    message.append(reinterpret_cast<const char *>(&type), sizeof type);
    return message + payload;
}

std::vector<std::pair<std::uint32_t, QByteArray>> SwayWorkspaces::takeMessages(QByteArray &buffer, bool &garbled)
{
    std::vector<std::pair<std::uint32_t, QByteArray>> messages;
    garbled = false;
    while (buffer.size() >= headerSize) {
        if (std::memcmp(buffer.constData(), magic, magicSize) != 0) {
            garbled = true;
            buffer.clear();
            break;
        }
        std::uint32_t length = 0;
        std::uint32_t type = 0;
        std::memcpy(&length, buffer.constData() + magicSize, sizeof length);
        std::memcpy(&type, buffer.constData() + magicSize + 4, sizeof type);
        if (length > largestPayload) {
            garbled = true;
            buffer.clear();
            break;
        }
        if (buffer.size() < headerSize + qsizetype(length))
            break;
        messages.emplace_back(type, buffer.mid(headerSize, length));
        buffer.remove(0, headerSize + length);
    }
    return messages;
}

void SwayWorkspaces::requestWorkspaces()
{
    if (m_requests.isConnected())
        m_requests.write(frame(getWorkspaces, {}));
}

void SwayWorkspaces::readReplies(const QByteArray &data)
{
    m_requestBuffer += data;
    bool garbled = false;
    for (const auto &[type, payload] : takeMessages(m_requestBuffer, garbled)) {
        if (type == getWorkspaces)
            adopt(payload);
    }
    if (garbled)
        m_requests.abort();
}

void SwayWorkspaces::readEvents(const QByteArray &data)
{
    m_eventBuffer += data;
    bool garbled = false;
    bool workspaces = false;
    for (const auto &message : takeMessages(m_eventBuffer, garbled))
        workspaces = workspaces || message.first == workspaceEvent;
    // Every workspace event (focus, init, empty, rename, move …) is answered by reading the
    // whole list again: the list is the one truth, whatever the event said.
    if (workspaces)
        requestWorkspaces();
    if (garbled)
        m_events.abort();
}

void SwayWorkspaces::adopt(const QByteArray &payload)
{
    const QJsonDocument document = QJsonDocument::fromJson(payload);
    if (!document.isArray())
        return;
    std::vector<Workspace> workspaces;
    for (const QJsonValue &value : document.array()) {
        const QJsonObject object = value.toObject();
        const QString name = object.value(QLatin1String("name")).toString();
        if (!name.isEmpty())
            workspaces.push_back({name, object.value(QLatin1String("focused")).toBool()});
    }
    if (m_known && workspaces == m_workspaces)
        return;
    m_workspaces = std::move(workspaces);
    m_known = true;
    emit changed();
}

QString SwayWorkspaces::identity(const QString &name)
{
    return identityPrefix + name;
}

std::optional<QString> SwayWorkspaces::nameIn(const QString &identity)
{
    if (!identity.startsWith(identityPrefix) || identity.size() == identityPrefix.size())
        return std::nullopt;
    return identity.mid(identityPrefix.size());
}

std::optional<std::int64_t> SwayWorkspaces::currentDesktop() const
{
    for (std::size_t i = 0; i < m_workspaces.size(); ++i) {
        if (m_workspaces[i].focused)
            return std::int64_t(i);
    }
    return std::nullopt;
}

std::optional<QVariantList> SwayWorkspaces::managedDisplaySpaces() const
{
    if (!m_known)
        return std::nullopt;
    QVariantList spaces;
    QVariantMap current;
    for (const Workspace &workspace : m_workspaces) {
        const QVariantMap space{{QStringLiteral("uuid"), identity(workspace.name)},
                                {QStringLiteral("type"), 0},
                                {QStringLiteral("name"), workspace.name}};
        spaces << space;
        if (workspace.focused)
            current = space;
    }
    QVariantMap display{{QStringLiteral("Display Identifier"), QStringLiteral("Main")}, {QStringLiteral("Spaces"), spaces}};
    if (!current.isEmpty())
        display.insert(QStringLiteral("Current Space"), current);
    return QVariantList{display};
}

} // namespace quorvane
