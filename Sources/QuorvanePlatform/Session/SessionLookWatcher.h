#pragma once

#include <QAbstractNativeEventFilter>
#include <QObject>

#include <functional>

namespace quorvane {

// Tells when the session's look may have changed where no settings key is watched otherwise: an
// XSETTINGS manager publishing new settings (a theme changed through xsettingsd, a manager that
// starts or goes) and KDE's colour scheme (its global settings' change signal). Without X11 or a
// session bus only what is there is watched.
class SessionLookWatcher final : public QObject, public QAbstractNativeEventFilter {
    Q_OBJECT
public:
    explicit SessionLookWatcher(std::function<void()> changed, QObject *parent = nullptr);
    ~SessionLookWatcher() override;

    bool nativeEventFilter(const QByteArray &eventType, void *message, qintptr *result) override;

private Q_SLOTS:
    void kdeSettingsChanged(int type, int argument);

private:
    // Listens to the manager's window of now (none: only to the root for a new manager).
    void watchManager();

    std::function<void()> m_changed;
    quint32 m_manager = 0;
};

} // namespace quorvane
