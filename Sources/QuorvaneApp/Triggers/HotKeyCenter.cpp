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
    for (const Registration &registration : m_registrations) {
        if (registration.reference)
            m_registrar->unregisterHotKey(*registration.reference);
    }
    m_registrations.clear();
    m_actions.clear();
    m_nextId = 1;
}

bool HotKeyCenter::registerHotKey(const HotKeySpec &spec, std::function<void()> action)
{
    const HotKeyRegistrar::HotKeyId id{signature, m_nextId};
    std::optional<HotKeyRegistrar::Reference> reference;
    if (!suspended()) {
        reference = m_registrar->registerHotKey(spec.keyCode, carbonModifiers(spec.modifiers), id);
        if (!reference)
            return false;
    }
    m_registrations.push_back({spec, id.id, reference});
    m_actions[id.id] = std::move(action);
    ++m_nextId;
    return true;
}

void HotKeyCenter::suspend()
{
    if (m_suspensions++ > 0)
        return;
    for (Registration &registration : m_registrations) {
        if (registration.reference)
            m_registrar->unregisterHotKey(*registration.reference);
        registration.reference.reset();
    }
}

void HotKeyCenter::resume()
{
    if (m_suspensions == 0 || --m_suspensions > 0)
        return;
    std::erase_if(m_registrations, [this](Registration &registration) {
        registration.reference = m_registrar->registerHotKey(
            registration.spec.keyCode, carbonModifiers(registration.spec.modifiers), {signature, registration.id});
        if (registration.reference)
            return false;
        m_actions.erase(registration.id);
        return true;
    });
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
