#include "Triggers/HotKeyCenter.h"

#include "HotKeyCombination.h"
#include "Shared/DocumentService.h"
#include "Shared/Log.h"
#include "Triggers/KeyNames.h"

#include <algorithm>
#include <utility>

namespace quorvane {

HotKeyCenter::HotKeyCenter()
    : HotKeyCenter(std::make_unique<RefusingHotKeyRegistrar>())
{
}

HotKeyCenter::HotKeyCenter(std::unique_ptr<HotKeyRegistrar> registrar)
    : HotKeyCenter(registrar.get())
{
    m_owned = std::move(registrar);
}

HotKeyCenter::HotKeyCenter(HotKeyRegistrar *registrar, DocumentService *document, QObject *parent)
    : QObject(parent)
    , m_owned(registrar ? nullptr : std::make_unique<RefusingHotKeyRegistrar>())
    , m_registrar(registrar ? registrar : m_owned.get())
{
    connect(m_registrar, &HotKeyRegistrar::pressed, this, &HotKeyCenter::pressed);
    connect(m_registrar, &HotKeyRegistrar::refused, this, &HotKeyCenter::refusedLater);
    if (!document)
        return;
    using Change = DocumentService::Change;
    connect(document, &DocumentService::changed, this, [this](const Config &config, DocumentService::Changes what) {
        // The first document comes once the process holds the desktops: what a crashed one
        // left with the desktop goes first.
        if (!m_released) {
            m_released = true;
            m_registrar->releaseLeftovers();
        }
        // The desktops' own keys follow their records; the others the settings.
        if (what & (Change::settings | Change::state | Change::workspaces))
            reload(config);
    });
}

HotKeyCenter::~HotKeyCenter()
{
    reset();
    disconnect(m_registrar, nullptr, this, nullptr);
}

void HotKeyCenter::reload(const Config &config)
{
    reset();
    const std::vector<HotKeySpec> before = std::exchange(m_refused, {});
    const auto bind = [this](const std::optional<HotKeySpec> &spec, const HotKeyAssignment::Owner &owner) {
        if (spec && !registerHotKey(HotKeyAssignment{owner, *spec}))
            refuse(*spec);
    };
    using Owner = HotKeyAssignment::Owner;
    for (const Workspace &workspace : config.liveWorkspaces())
        bind(workspace.hotkey, Owner::workspace(workspace.name));
    const AppSettings &settings = config.settings;
    bind(settings.cycleNext, Owner::cycleNext());
    bind(settings.cyclePrevious, Owner::cyclePrevious());
    bind(settings.hideDesktopShortcut, Owner::hideDesktop());
    bind(settings.switchToLastShortcut, Owner::switchToLast());
    bind(settings.openSettingsShortcut, Owner::openSettings());
    bind(settings.openCalendarShortcut, Owner::openCalendar());
    bind(settings.sortNowShortcut, Owner::sortNow());
    bind(settings.floatingDockShortcut, Owner::floatingDock());
    if (m_refused != before)
        emit refusedChanged();
}

void HotKeyCenter::refuse(const HotKeySpec &spec)
{
    qCWarning(Log::app()).noquote() << QStringLiteral("the shortcut %1 was refused (another program holds it, "
                                                      "or the session takes no global shortcuts): it stays inactive")
                                           .arg(shortcutText(spec));
    m_refused.push_back(spec);
}

void HotKeyCenter::reset()
{
    for (const Registration &registration : m_registrations) {
        if (registration.held)
            m_registrar->unregisterHotKey(registration.id);
    }
    m_registrations.clear();
    m_nextId = 1;
}

bool HotKeyCenter::take(const Registration &registration)
{
    const std::optional<QKeyCombination> combination = keyCombination(registration.assignment.spec);
    return combination
        && m_registrar->registerHotKey(*combination, registration.id, command(registration.assignment.owner));
}

bool HotKeyCenter::registerHotKey(const HotKeyAssignment &assignment)
{
    Registration registration{assignment, m_nextId, false};
    if (!suspended()) {
        if (!take(registration))
            return false;
        registration.held = true;
    }
    m_registrations.push_back(registration);
    ++m_nextId;
    return true;
}

void HotKeyCenter::suspend()
{
    if (m_suspensions++ > 0)
        return;
    for (Registration &registration : m_registrations) {
        if (registration.held)
            m_registrar->unregisterHotKey(registration.id);
        registration.held = false;
    }
}

void HotKeyCenter::resume()
{
    if (m_suspensions == 0 || --m_suspensions > 0)
        return;
    // A key refused now is said to be, as a refusal at registration is.
    bool refusedNow = false;
    std::erase_if(m_registrations, [this, &refusedNow](Registration &registration) {
        registration.held = take(registration);
        if (!registration.held) {
            refuse(registration.assignment.spec);
            refusedNow = true;
        }
        return !registration.held;
    });
    if (refusedNow)
        emit refusedChanged();
}

void HotKeyCenter::pressed(quint32 id)
{
    for (const Registration &registration : m_registrations) {
        if (registration.id == id && registration.held) {
            // A copy: the receiver may register the keys anew, which drops this registration.
            const HotKeyAssignment::Owner owner = registration.assignment.owner;
            emit triggered(owner);
            return;
        }
    }
}

void HotKeyCenter::refusedLater(quint32 id)
{
    const auto found = std::find_if(m_registrations.begin(), m_registrations.end(),
                                    [id](const Registration &registration) { return registration.id == id; });
    if (found == m_registrations.end())
        return;
    const HotKeySpec spec = found->assignment.spec;
    m_registrations.erase(found);
    refuse(spec);
    emit refusedChanged();
}

std::optional<HotKeyRegistrar::Command> HotKeyCenter::command(const HotKeyAssignment::Owner &owner)
{
    using Kind = HotKeyAssignment::Owner::Kind;
    const auto titled = [](const QString &what, QStringList arguments) {
        return HotKeyRegistrar::Command{QStringLiteral("Quorvane: ") + what, std::move(arguments)};
    };
    switch (owner.kind) {
    case Kind::workspace:
        return titled(owner.name, {QStringLiteral("--switch-to"), owner.name});
    case Kind::cycleNext:
        return titled(tr("Cycle next"), {QStringLiteral("--next")});
    case Kind::cyclePrevious:
        return titled(tr("Cycle previous"), {QStringLiteral("--previous")});
    case Kind::hideDesktop:
        return titled(tr("Hide / show desktop"), {QStringLiteral("--hide-desktop")});
    case Kind::openSettings:
        // A plain start while one runs shows its settings.
        return titled(tr("Open Settings"), {});
    default:
        return std::nullopt;
    }
}

} // namespace quorvane
