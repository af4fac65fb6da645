#include "Triggers/HotKeyCenter.h"

namespace quorvane {

HotKeyCenter::HotKeyCenter()
    : HotKeyCenter(std::make_unique<RefusingHotKeyRegistrar>())
{
}

HotKeyCenter::HotKeyCenter(std::unique_ptr<HotKeyRegistrar> registrar)
    : m_owned(std::move(registrar))
    , m_registrar(m_owned.get())
{
    m_registrar->setPressedHandler([this](HotKeyRegistrar::HotKeyId id) { pressed(id); });
}

HotKeyCenter::HotKeyCenter(HotKeyRegistrar *registrar)
    : m_owned(registrar ? nullptr : std::make_unique<RefusingHotKeyRegistrar>())
    , m_registrar(registrar ? registrar : m_owned.get())
{
    m_registrar->setPressedHandler([this](HotKeyRegistrar::HotKeyId id) { pressed(id); });
}

HotKeyCenter::~HotKeyCenter()
{
    reset();
    m_registrar->setPressedHandler({});
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

} // namespace quorvane
