#include "KGlobalAccelHotKeyRegistrar.h"

#include "KeyCodeTable.h"

#include <QDBusConnectionInterface>
#include <QDBusMessage>
#include <QDBusObjectPath>
#include <QDBusReply>
#include <QList>

namespace quorvane {

namespace {

constexpr char path[] = "/kglobalaccel";
constexpr char interface[] = "org.kde.KGlobalAccel";
constexpr char componentInterface[] = "org.kde.kglobalaccel.Component";
constexpr int callTimeoutMs = 2000;
// setShortcut's flags: make the shortcut present now, and take the one given rather than one
// the service remembers.
constexpr uint setPresent = 2;
constexpr uint noAutoloading = 4;

QDBusMessage call(const QDBusConnection &bus, const char *method, const QVariantList &arguments)
{
    QDBusMessage message = QDBusMessage::createMethodCall(QLatin1String(KGlobalAccelHotKeyRegistrar::service),
                                                          QLatin1String(path), QLatin1String(interface),
                                                          QLatin1String(method));
    message.setArguments(arguments);
    return bus.call(message, QDBus::Block, callTimeoutMs);
}

// A call whose answer nothing waits for: sent, and the service takes it in the order the calls
// were sent on the connection.
void tell(const QDBusConnection &bus, const char *method, const QVariantList &arguments)
{
    QDBusMessage message = QDBusMessage::createMethodCall(QLatin1String(KGlobalAccelHotKeyRegistrar::service),
                                                          QLatin1String(path), QLatin1String(interface),
                                                          QLatin1String(method));
    message.setArguments(arguments);
    bus.send(message);
}

} // namespace

KGlobalAccelHotKeyRegistrar::KGlobalAccelHotKeyRegistrar(QDBusConnection bus, QString component,
                                                         QString friendlyName, QObject *parent)
    : QObject(parent)
    , m_bus(std::move(bus))
    , m_component(std::move(component))
    , m_friendlyName(std::move(friendlyName))
{
}

KGlobalAccelHotKeyRegistrar::~KGlobalAccelHotKeyRegistrar()
{
    while (!m_registered.empty())
        unregisterHotKey(m_registered.begin()->first);
}

bool KGlobalAccelHotKeyRegistrar::availableOn(const QDBusConnection &bus)
{
    return bus.isConnected() && bus.interface()
        && bus.interface()->isServiceRegistered(QLatin1String(service)).value();
}

std::optional<int> KGlobalAccelHotKeyRegistrar::qtKeyCode(std::uint32_t keyCode, std::uint32_t modifiers)
{
    const auto key = keycodes::qtKey(keyCode);
    if (!key)
        return std::nullopt;
    int code = *key;
    if (modifiers & 0x100)
        code |= Qt::META;
    if (modifiers & 0x200)
        code |= Qt::SHIFT;
    if (modifiers & 0x800)
        code |= Qt::ALT;
    if (modifiers & 0x1000)
        code |= Qt::CTRL;
    return code;
}

QStringList KGlobalAccelHotKeyRegistrar::actionId(const QString &action) const
{
    // The component's and the action's unique names, then their names as the service shows them.
    return {m_component, action, m_friendlyName, action};
}

bool KGlobalAccelHotKeyRegistrar::listenToComponent()
{
    if (m_listening)
        return true;
    const QDBusReply<QDBusObjectPath> component = call(m_bus, "getComponent", {m_component});
    if (!component.isValid())
        return false;
    m_listening = m_bus.connect(QLatin1String(service), component.value().path(), QLatin1String(componentInterface),
                                QStringLiteral("globalShortcutPressed"), this,
                                SLOT(pressed(QString, QString, qlonglong)));
    return m_listening;
}

std::optional<HotKeyRegistrar::Reference> KGlobalAccelHotKeyRegistrar::registerHotKey(std::uint32_t keyCode,
                                                                                      std::uint32_t modifiers, HotKeyId id)
{
    const auto key = qtKeyCode(keyCode, modifiers);
    if (!key)
        return std::nullopt;
    for (const auto &[reference, registered] : m_registered) {
        if (registered.key == *key)
            return std::nullopt;
    }
    const QString action = QStringLiteral("hotkey-%1-%2").arg(id.signature).arg(id.id);
    const QStringList ids = actionId(action);
    // The action's registration needs no answer: setShortcut's, sent after it, tells whether
    // the service took the action and its key.
    tell(m_bus, "doRegister", {ids});
    const QDBusReply<QList<int>> set =
        call(m_bus, "setShortcut", {ids, QVariant::fromValue(QList<int>{*key}), setPresent | noAutoloading});
    // The service answers with the keys it gave the action: another program's key is left out.
    if (!set.isValid() || !set.value().contains(*key) || !listenToComponent()) {
        tell(m_bus, "unRegister", {ids});
        return std::nullopt;
    }
    const Reference reference = m_nextReference++;
    m_registered.emplace(reference, Registered{action, *key, id});
    return reference;
}

void KGlobalAccelHotKeyRegistrar::unregisterHotKey(Reference reference)
{
    const auto it = m_registered.find(reference);
    if (it == m_registered.end())
        return;
    tell(m_bus, "unRegister", {actionId(it->second.action)});
    m_registered.erase(it);
}

void KGlobalAccelHotKeyRegistrar::setPressedHandler(std::function<void(HotKeyId)> handler)
{
    m_handler = std::move(handler);
}

void KGlobalAccelHotKeyRegistrar::pressed(const QString &component, const QString &action, qlonglong)
{
    if (component != m_component || !m_handler)
        return;
    for (const auto &[reference, registered] : m_registered) {
        if (registered.action == action) {
            const HotKeyId id = registered.id;
            m_handler(id);
            return;
        }
    }
}

} // namespace quorvane
