#include "KGlobalAccelHotKeyRegistrar.h"

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
    : HotKeyRegistrar(parent)
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

int KGlobalAccelHotKeyRegistrar::serviceKeyCode(QKeyCombination combination)
{
    return QKeyCombination(combination.keyboardModifiers() & ~Qt::KeypadModifier, combination.key()).toCombined();
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
                                SLOT(servicePressed(QString, QString, qlonglong)));
    return m_listening;
}

bool KGlobalAccelHotKeyRegistrar::registerHotKey(QKeyCombination combination, Id id, const std::optional<Command> &)
{
    const int key = serviceKeyCode(combination);
    if (m_registered.count(id))
        return false;
    for (const auto &[held, registered] : m_registered) {
        if (registered.key == key)
            return false;
    }
    const QString action = QStringLiteral("hotkey-%1").arg(id);
    const QStringList ids = actionId(action);
    // The action's registration needs no answer: setShortcut's, sent after it, tells whether
    // the service took the action and its key.
    tell(m_bus, "doRegister", {ids});
    const QDBusReply<QList<int>> set =
        call(m_bus, "setShortcut", {ids, QVariant::fromValue(QList<int>{key}), setPresent | noAutoloading});
    // The service answers with the keys it gave the action: another program's key is left out.
    if (!set.isValid() || !set.value().contains(key) || !listenToComponent()) {
        tell(m_bus, "unRegister", {ids});
        return false;
    }
    m_registered.emplace(id, Registered{action, key});
    return true;
}

void KGlobalAccelHotKeyRegistrar::unregisterHotKey(Id id)
{
    const auto it = m_registered.find(id);
    if (it == m_registered.end())
        return;
    tell(m_bus, "unRegister", {actionId(it->second.action)});
    m_registered.erase(it);
}

void KGlobalAccelHotKeyRegistrar::servicePressed(const QString &component, const QString &action, qlonglong)
{
    if (component != m_component)
        return;
    for (const auto &[id, registered] : m_registered) {
        if (registered.action == action) {
            emit pressed(id);
            return;
        }
    }
}

} // namespace quorvane
