#include "Overlays/SystemAppearance.h"

#include "Paths.h"
#include "Shared/Log.h"
#include "Work/HostWork.h"

#include <QCoreApplication>
#include <QLoggingCategory>

namespace quorvane {

namespace {
const QLoggingCategory &appLog() { return Log::app(); }
} // namespace

SystemAppearance::SystemAppearance(const PreferenceReader &preferences, AppearanceSwitch &appearanceSwitch)
    : m_preferences(preferences)
    , m_switch(appearanceSwitch)
{
}

std::unique_ptr<SystemAppearance> SystemAppearance::ofSession(const QString &storeFolder)
{
    auto preferences = std::make_unique<LinuxPreferenceReader>();
    auto appearanceSwitch = std::make_unique<LinuxAppearanceSwitch>(SettingsLedger::inStore(storeFolder));
    auto appearance = std::make_unique<SystemAppearance>(*preferences, *appearanceSwitch);
    appearance->m_ownPreferences = std::move(preferences);
    appearance->m_ownSwitch = std::move(appearanceSwitch);
    return appearance;
}

SystemAppearance::~SystemAppearance()
{
    if (m_pending->jobs > 0)
        HostWork::drain(5000);
    m_pending->owner = nullptr;
}

bool SystemAppearance::currentIsDark() const
{
    if (m_pending->jobs > 0) {
        if (m_pending->mode)
            return *m_pending->mode;
        // A put back's outcome is the user's own mode: only the session can tell it.
        if (!HostWork::drain(3000))
            qCWarning(appLog, "the session's mode is read while a put back is still under way");
        // What was known before the put back (read at start, say, from a session a crashed
        // process had left dark) no longer holds.
        m_known.reset();
    }
    if (!m_known)
        m_known = readSession();
    return *m_known;
}

bool SystemAppearance::readSession() const
{
    const auto value = m_preferences.value(QString(), QStringLiteral("AppleInterfaceStyle"));
    if (!value || value->typeId() != QMetaType::QString)
        return false;
    return value->toString().compare(QStringLiteral("dark"), Qt::CaseInsensitive) == 0;
}

void SystemAppearance::sessionChanged()
{
    // Nothing to follow before the first read: that one asks the session anyway.
    if (!m_known)
        return;
    const PreferenceReader *preferences = &m_preferences;
    auto answer = std::make_shared<std::optional<bool>>();
    ++m_pending->jobs;
    HostWork::post(
        [preferences, answer] {
            const auto value = preferences->value(QString(), QStringLiteral("AppleInterfaceStyle"));
            *answer = value && value->typeId() == QMetaType::QString
                && value->toString().compare(QStringLiteral("dark"), Qt::CaseInsensitive) == 0;
        },
        [pending = m_pending, answer] {
            --pending->jobs;
            SystemAppearance *owner = pending->owner;
            // A flip asked for since has the last word; its own outcome is what the session holds.
            if (!owner || !*answer || pending->jobs > 0)
                return;
            const bool changed = owner->m_known != *answer;
            owner->m_known = *answer;
            if (changed && owner->onChange)
                owner->onChange(**answer);
        });
}

void SystemAppearance::setDark(bool dark)
{
    ++m_pending->jobs;
    m_pending->mode = dark;
    AppearanceSwitch *appearanceSwitch = &m_switch;
    const PreferenceReader *preferences = &m_preferences;
    // After a failure, the mode the session is in: its own look, whatever was asked.
    auto left = std::make_shared<std::optional<bool>>();
    HostWork::post(
        [appearanceSwitch, preferences, dark, left] {
            if (const auto error = appearanceSwitch->setDark(dark)) {
                qCCritical(appLog, "appearance flip to %s failed: %s", dark ? "dark" : "light",
                           qUtf8Printable(*error));
                const auto value = preferences->value(QString(), QStringLiteral("AppleInterfaceStyle"));
                *left = value && value->typeId() == QMetaType::QString
                    && value->toString().compare(QStringLiteral("dark"), Qt::CaseInsensitive) == 0;
            }
        },
        [pending = m_pending, dark, left] {
            --pending->jobs;
            SystemAppearance *owner = pending->owner;
            if (!owner)
                return;
            // What the session holds now: the mode asked for, or, after a failure, its own.
            if (!*left) {
                owner->m_known = dark;
                return;
            }
            owner->m_known.reset();
            if (pending->jobs > 0)
                return; // a flip asked for since has the last word
            owner->m_known = **left;
            if (**left == dark)
                return;
            // The windows followed what was asked: they follow the session's own look again,
            // told after the request itself was (the work may have run at once).
            QMetaObject::invokeMethod(
                QCoreApplication::instance(),
                [pending] {
                    SystemAppearance *owner = pending->owner;
                    if (owner && pending->jobs == 0 && owner->m_known && owner->onChange)
                        owner->onChange(*owner->m_known);
                },
                Qt::QueuedConnection);
        });
    if (onChange)
        onChange(dark);
}

void SystemAppearance::putBack()
{
    if (m_pending->jobs == 0 && !m_switch.borrowing())
        return;
    ++m_pending->jobs;
    m_pending->mode.reset();
    AppearanceSwitch *appearanceSwitch = &m_switch;
    auto borrowed = std::make_shared<bool>(false);
    HostWork::post(
        [appearanceSwitch, borrowed] {
            if (!appearanceSwitch->borrowing())
                return;
            *borrowed = true;
            if (const auto error = appearanceSwitch->putBack())
                qCCritical(appLog, "appearance not put back: %s", qUtf8Printable(*error));
        },
        [pending = m_pending, borrowed] {
            --pending->jobs;
            SystemAppearance *owner = pending->owner;
            // Given back: the session's own mode, which only the session can tell.
            if (owner && *borrowed)
                owner->m_known.reset();
            if (owner && *borrowed && owner->onChange)
                owner->onChange(owner->currentIsDark());
        });
}

} // namespace quorvane
