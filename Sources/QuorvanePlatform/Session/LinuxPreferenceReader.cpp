#include "Session/AppearanceSwitch.h"
#include "Session/PreferenceReader.h"
#include "Session/SessionDockPreferences.h"
#include "Work/HostWork.h"

namespace quorvane {

LinuxPreferenceReader::LinuxPreferenceReader(Sources sources)
    : m_known(std::make_shared<Known>())
{
    m_known->sources = sources ? std::move(sources) : Sources(&SessionSources::live);
}

std::optional<QVariant> LinuxPreferenceReader::value(const QString &domain, const QString &key) const
{
    if (domain == QLatin1String("com.apple.dock")) {
        const auto known = m_known->values.find(key);
        if (known == m_known->values.end()) {
            const auto read = sessionDockPreference(m_known->sources(), key);
            m_known->values.emplace(key, read);
            return read;
        }
        refresh();
        return m_known->values[key];
    }
    if (!domain.isEmpty() || key != QLatin1String("AppleInterfaceStyle"))
        return std::nullopt;
    if (LinuxAppearanceSwitch::sessionLooksDark())
        return QVariant(QStringLiteral("Dark"));
    return std::nullopt;
}

void LinuxPreferenceReader::refresh() const
{
    if (m_known->refreshing)
        return;
    m_known->refreshing = true;
    QStringList keys;
    for (const auto &[key, value] : m_known->values)
        keys << key;
    auto answers = std::make_shared<std::map<QString, std::optional<QVariant>>>();
    HostWork::post(
        [sources = m_known->sources, keys, answers] {
            const SessionSources session = sources();
            for (const QString &key : keys)
                (*answers)[key] = sessionDockPreference(session, key);
        },
        [weak = std::weak_ptr<Known>(m_known), answers] {
            if (const auto known = weak.lock()) {
                known->refreshing = false;
                for (auto &[key, value] : *answers)
                    known->values[key] = std::move(value);
            }
        });
}

} // namespace quorvane
