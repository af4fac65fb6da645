#pragma once

#include "Keys/HotKeyRegistrar.h"

#include <QDBusConnection>
#include <QObject>
#include <QString>

#include <map>

namespace quorvane {

class KeyLayout;

// Global hot keys through KDE's shortcut service (org.kde.kglobalaccel on the session bus), which
// serves every window of a Plasma session, Wayland ones included. Each combination becomes an
// action of the application's component, set as its shortcut; the service refuses one that
// another program holds, and so does this registrar, as it refuses its own duplicates. Presses
// are told by pressed() from the service's component signal.
class KGlobalAccelHotKeyRegistrar final : public HotKeyRegistrar {
    Q_OBJECT

public:
    static constexpr char service[] = "org.kde.kglobalaccel";

    KGlobalAccelHotKeyRegistrar(QDBusConnection bus, QString component, QString friendlyName,
                                QObject *parent = nullptr);
    ~KGlobalAccelHotKeyRegistrar() override;

    // True when the session bus has the shortcut service.
    static bool availableOn(const QDBusConnection &bus);
    // The service's key code of a combination: Qt's, without the keypad's modifier, and Shift
    // with a digit or a sign of the main rows as the symbol that key types with Shift on the
    // layout (Alt+Shift+1 is "Alt+!" on a US layout, "Alt+1" on a French one), as the service
    // names it and as a Wayland compositor matches the press. Without a layout, or where it does
    // not tell, the US layout's symbol.
    static int serviceKeyCode(QKeyCombination combination, const KeyLayout *layout = nullptr);
    // The layout keys are named on from now on; null: the US layout. Kept, not owned.
    void setKeyLayout(const KeyLayout *layout) { m_layout = layout; }

    bool registerHotKey(QKeyCombination combination, Id id, const std::optional<Command> &command) override;
    void unregisterHotKey(Id id) override;

private slots:
    void servicePressed(const QString &component, const QString &action, qlonglong timestamp);

private:
    struct Registered {
        QString action;
        int key = 0;
    };
    QStringList actionId(const QString &action) const;
    bool listenToComponent();

    QDBusConnection m_bus;
    QString m_component;
    QString m_friendlyName;
    const KeyLayout *m_layout = nullptr;
    bool m_listening = false;
    std::map<Id, Registered> m_registered;
};

} // namespace quorvane
