#pragma once

#include "HotKeyRegistrar.h"

#include <QDBusConnection>
#include <QObject>
#include <QString>

#include <map>

namespace quorvane {

// Global hot keys through KDE's shortcut service (org.kde.kglobalaccel on the session bus), which
// serves every window of a Plasma session, Wayland ones included. Each combination becomes an
// action of the application's component, set as its shortcut; the service refuses one that
// another program holds, and so does this registrar, as it refuses its own duplicates and keys
// outside the key-code table. Presses reach the handler from the service's component signal.
class KGlobalAccelHotKeyRegistrar final : public QObject, public HotKeyRegistrar {
    Q_OBJECT

public:
    static constexpr char service[] = "org.kde.kglobalaccel";

    KGlobalAccelHotKeyRegistrar(QDBusConnection bus, QString component, QString friendlyName,
                                QObject *parent = nullptr);
    ~KGlobalAccelHotKeyRegistrar() override;

    // True when the session bus has the shortcut service.
    static bool availableOn(const QDBusConnection &bus);
    // Qt's key and modifier code of a combination (command = Meta); none outside the key table.
    static std::optional<int> qtKeyCode(std::uint32_t keyCode, std::uint32_t modifiers);

    std::optional<Reference> registerHotKey(std::uint32_t keyCode, std::uint32_t modifiers, HotKeyId id) override;
    void unregisterHotKey(Reference reference) override;
    void setPressedHandler(std::function<void(HotKeyId)> handler) override;

private slots:
    void pressed(const QString &component, const QString &action, qlonglong timestamp);

private:
    struct Registered {
        QString action;
        int key = 0;
        HotKeyId id;
    };
    QStringList actionId(const QString &action) const;
    bool listenToComponent();

    QDBusConnection m_bus;
    QString m_component;
    QString m_friendlyName;
    bool m_listening = false;
    std::map<Reference, Registered> m_registered;
    Reference m_nextReference = 1;
    std::function<void(HotKeyId)> m_handler;
};

} // namespace quorvane
