#include "Keys/KGlobalAccelHotKeyRegistrar.h"

#include "Keys/KeyCodeTable.h"
#include "Keys/KeyLayout.h"

#include <map>
#include <optional>

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

namespace {

// What Shift makes of a key that types a digit or a sign, on the US layout: the service names
// such a key by the symbol it types ("Alt+!"), and a Wayland compositor matches a press whose
// Shift was used up in typing it under that name alone.
Qt::Key shiftedSymbol(int key)
{
    static const std::map<int, Qt::Key> shifted{
        {Qt::Key_1, Qt::Key_Exclam}, {Qt::Key_2, Qt::Key_At}, {Qt::Key_3, Qt::Key_NumberSign}, {Qt::Key_4, Qt::Key_Dollar}, {Qt::Key_5, Qt::Key_Percent}, {Qt::Key_6, Qt::Key_AsciiCircum}, {Qt::Key_7, Qt::Key_Ampersand}, {Qt::Key_8, Qt::Key_Asterisk}, {Qt::Key_9, Qt::Key_ParenLeft}, {Qt::Key_0, Qt::Key_ParenRight}, {Qt::Key_Minus, Qt::Key_Underscore}, {Qt::Key_Equal, Qt::Key_Plus}, {Qt::Key_BracketLeft, Qt::Key_BraceLeft}, {Qt::Key_BracketRight, Qt::Key_BraceRight}, {Qt::Key_Backslash, Qt::Key_Bar}, {Qt::Key_Semicolon, Qt::Key_Colon}, {Qt::Key_Apostrophe, Qt::Key_QuoteDbl}, {Qt::Key_QuoteLeft, Qt::Key_AsciiTilde}, {Qt::Key_Comma, Qt::Key_Less}, {Qt::Key_Period, Qt::Key_Greater}, {Qt::Key_Slash, Qt::Key_Question}};
    const auto found = shifted.find(key);
    return found == shifted.end() ? Qt::Key_unknown : found->second;
}

// What the key at the combination's place types with Shift on the layout, as the service's key:
// one character, named by its code point as Qt names keys (upper case for a letter). None where
// the layout tells no such character.
std::optional<Qt::Key> layoutShiftedKey(QKeyCombination combination, const KeyLayout &layout)
{
    const std::optional<std::uint8_t> code = keycodes::x11KeyCode(combination);
    const std::optional<std::uint32_t> virtualKey = code ? keycodes::virtualKeyCode(*code) : std::nullopt;
    const std::optional<QString> text = virtualKey ? layout.shiftedCharacters(*virtualKey) : std::nullopt;
    if (!text)
        return std::nullopt;
    const QList<uint> points = text->toUcs4();
    if (points.size() != 1 || QChar::isSpace(points[0]))
        return std::nullopt;
    return Qt::Key(QChar::toUpper(points[0]));
}

} // namespace

int KGlobalAccelHotKeyRegistrar::serviceKeyCode(QKeyCombination combination, const KeyLayout *layout)
{
    Qt::KeyboardModifiers modifiers = combination.keyboardModifiers() & ~Qt::KeypadModifier;
    Qt::Key key = combination.key();
    // Shift with a key of the main rows that types a sign: what it types, without Shift. Letters
    // keep their Shift ("Meta+Shift+W"), and the keypad's keys type no other sign with it. A key
    // that types a letter with Shift on the layout keeps its Shift and is named by that letter.
    if ((modifiers & Qt::ShiftModifier) && !(combination.keyboardModifiers() & Qt::KeypadModifier)) {
        if (const Qt::Key symbol = shiftedSymbol(key); symbol != Qt::Key_unknown) {
            const std::optional<Qt::Key> typed = layout ? layoutShiftedKey(combination, *layout) : std::nullopt;
            key = typed.value_or(symbol);
            if (!QChar::isLetter(char32_t(key)))
                modifiers &= ~Qt::ShiftModifier;
        }
    }
    return QKeyCombination(modifiers, key).toCombined();
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
    const int key = serviceKeyCode(combination, m_layout);
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
