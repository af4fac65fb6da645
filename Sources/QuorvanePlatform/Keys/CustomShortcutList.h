#pragma once

#include "Keys/HotKeyRegistrar.h"
#include "Session/GSettingsAccess.h"
#include "SettingsLedger.h"

#include <QStringList>

#include <map>
#include <memory>

namespace quorvane {

// Global hot keys as entries of the desktop's own list of custom shortcuts, which its shell
// runs over any window, Wayland ones included: each key becomes an entry named after what it
// does ("Quorvane: Work") whose command is the application's command line for it
// (`quorvane --switch-to Work`), so a press reaches the running instance over the bus, not
// through pressed(). A key without a command is refused.
//
// The desktop is asked away from the main thread (HostWork), in the order asked: a key is
// taken at once and refused later (refused()) when the desktop already binds its combination
// (one of the user's own entries, or the shell's, window manager's or media keys' settings),
// when the list cannot be read or written, or when the ledger cannot keep the entry. Every entry
// is kept in the store's ledger before it is written (facility "shortcuts:<desktop>", the entry
// as setting, its title as the value written), so that quitting, unregistering, or the next
// start after a crash (releaseLeftovers()) takes it out again; the user's own entries are never
// touched, and an entry of ours the user renamed is theirs from then on. Only a place that
// holds no keys becomes an entry of ours: one parked outside the list (by the user or another
// tool) is left as it is.
class CustomShortcutList final : public HotKeyRegistrar {
    Q_OBJECT

public:
    // Where a desktop keeps its list.
    struct Dialect {
        QString desktop;         // in the ledger's facility
        QString listSchema;      // the key listing the entries; none where every folder of
        QString listKey;         // basePath in the settings store is an entry (MATE)
        QString entrySchema;     // relocatable: name, the command, binding
        QString basePath;        // the entries' places, each a folder of it
        bool listHoldsPaths;     // GNOME lists places; Cinnamon entry names
        bool bindingIsList;      // Cinnamon binds a list of accelerators
        QStringList usedSchemas; // the settings whose accelerators the desktop binds already
        QString commandKey = QStringLiteral("command");
        QString itemPrefix = QStringLiteral("quorvane"); // our entries' folders, numbered

        static Dialect gnome();
        static Dialect cinnamon();
        static Dialect mate();
        QString facility() const { return QStringLiteral("shortcuts:") + desktop; }
    };

    // The dialect of a session's desktop (XDG_CURRENT_DESKTOP's names): GNOME's, Cinnamon's,
    // MATE's; none for another desktop, or one whose entries' schema is not installed.
    static std::optional<Dialect> forDesktop(const QString &currentDesktop);

    // executable: the installed application the entries run.
    CustomShortcutList(Dialect dialect, std::unique_ptr<GSettingsAccess> settings, SettingsLedger ledger,
                       QString executable, QObject *parent = nullptr);
    // Takes every entry of this process out again (waiting a few seconds at most).
    ~CustomShortcutList() override;

    bool registerHotKey(QKeyCombination combination, Id id, const std::optional<Command> &command) override;
    void unregisterHotKey(Id id) override;
    void releaseLeftovers() override;

    // A command line as the desktop's shell reads it, each argument quoted where it needs to be.
    static QString commandLine(const QStringList &arguments);

    struct State;

private:
    std::shared_ptr<State> m_state;
    std::map<Id, QString> m_held; // the normalized accelerators taken, by id
};

} // namespace quorvane
