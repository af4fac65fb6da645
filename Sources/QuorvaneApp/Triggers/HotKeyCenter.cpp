#include "Triggers/HotKeyCenter.h"

#include <array>

namespace quorvane {

HotKeyCenter::HotKeyCenter()
    : HotKeyCenter(std::make_unique<LinuxHotKeyRegistrar>())
{
}

HotKeyCenter::HotKeyCenter(std::unique_ptr<HotKeyRegistrar> registrar)
    : m_registrar(std::move(registrar))
{
    m_registrar->setPressedHandler([this](HotKeyRegistrar::HotKeyId id) { pressed(id); });
}

void HotKeyCenter::reset()
{
    for (const auto &[reference, id] : m_registrations)
        m_registrar->unregisterHotKey(reference);
    m_registrations.clear();
    m_actions.clear();
    m_nextId = 1;
}

bool HotKeyCenter::registerHotKey(const HotKeySpec &spec, std::function<void()> action)
{
    const HotKeyRegistrar::HotKeyId id{signature, m_nextId};
    const auto reference = m_registrar->registerHotKey(spec.keyCode, carbonModifiers(spec.modifiers), id);
    if (!reference)
        return false;
    m_registrations.emplace_back(*reference, id.id);
    m_actions[id.id] = std::move(action);
    ++m_nextId;
    return true;
}

void HotKeyCenter::pressed(HotKeyRegistrar::HotKeyId id)
{
    const auto found = m_actions.find(id.id);
    if (found == m_actions.end())
        return;
    // A copy: the action may reset the registry, which destroys the stored one.
    const std::function<void()> action = found->second;
    if (action)
        action();
}

std::uint32_t carbonModifiers(std::uint32_t modifiers)
{
    std::uint32_t out = 0;
    if (modifiers & HotKeySpec::command)
        out |= 0x100;
    if (modifiers & HotKeySpec::option)
        out |= 0x800;
    if (modifiers & HotKeySpec::control)
        out |= 0x1000;
    if (modifiers & HotKeySpec::shift)
        out |= 0x200;
    return out;
}

namespace {

struct SpecialKey {
    std::uint32_t code;
    const char16_t *name;
};

constexpr std::array<SpecialKey, 26> specialKeys{{
    {49, u"Space"}, {36, u"↩"}, {48, u"⇥"}, {53, u"⎋"}, {51, u"⌫"}, {117, u"⌦"},
    {123, u"←"}, {124, u"→"}, {126, u"↑"}, {125, u"↓"}, {115, u"↖"}, {119, u"↘"},
    {116, u"⇞"}, {121, u"⇟"}, {122, u"F1"}, {120, u"F2"}, {99, u"F3"}, {118, u"F4"},
    {96, u"F5"}, {97, u"F6"}, {98, u"F7"}, {100, u"F8"}, {101, u"F9"}, {109, u"F10"},
    {103, u"F11"}, {111, u"F12"},
}};

} // namespace

QString keyName(std::uint32_t keyCode)
{
    for (const SpecialKey &key : specialKeys) {
        if (key.code == keyCode)
            return QString::fromUtf16(key.name);
    }
    if (auto printable = printableKeyName(keyCode))
        return *printable;
    return QStringLiteral("Key %1").arg(keyCode);
}

std::optional<QString> printableKeyName(std::uint32_t)
{
    // No keyboard layout data is read yet, so no key's characters are known.
    return std::nullopt;
}

QString modifierGlyphs(std::uint32_t mask)
{
    QString out;
    if (mask & HotKeySpec::control)
        out += QStringLiteral("⌃");
    if (mask & HotKeySpec::option)
        out += QStringLiteral("⌥");
    if (mask & HotKeySpec::shift)
        out += QStringLiteral("⇧");
    if (mask & HotKeySpec::command)
        out += QStringLiteral("⌘");
    return out;
}

} // namespace quorvane
