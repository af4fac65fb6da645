#pragma once

#include "Config.h"
#include "HotKeyAssignment.h"
#include "HotKeySpec.h"
#include "Keys/HotKeyRegistrar.h"

#include <QObject>

#include <memory>
#include <optional>
#include <vector>

namespace quorvane {

class DocumentService;

// The process's global hot keys. Given the document service, it follows the document: each
// change of the settings or the desktops registers the live desktops' keys, in order, and then
// the global ones; a refused one stays inactive (logged, and in refusedHotKeys()), the others
// go ahead. A press is told by triggered() with what the key belongs to, on the main thread.
class HotKeyCenter final : public QObject {
    Q_OBJECT

public:
    // Without a registrar every key is refused.
    HotKeyCenter();
    explicit HotKeyCenter(std::unique_ptr<HotKeyRegistrar> registrar);
    // A registrar that outlives the centre (null: every key is refused), and the document to
    // follow (none: only what is registered here by hand).
    explicit HotKeyCenter(HotKeyRegistrar *registrar, DocumentService *document = nullptr, QObject *parent = nullptr);
    // Lets go of every hot key.
    ~HotKeyCenter() override;
    HotKeyCenter(const HotKeyCenter &) = delete;
    HotKeyCenter &operator=(const HotKeyCenter &) = delete;

    // Registers the keys of the document anew, as a change of it does.
    void reload(const Config &config);
    // Unregisters every hot key registered here; ids start again at 1.
    void reset();
    // Registers the assignment under the next id; false, with nothing changed, when it is
    // refused. While suspended the key is kept for resume() and counts as registered.
    bool registerHotKey(const HotKeyAssignment &assignment);

    // While a shortcut is being recorded its keys must reach the recorder, not the grabs: every
    // key is let go, and taken again under its id once each suspend() has its resume(). A key
    // refused on resuming stays inactive until the next registration, and is among the refused.
    void suspend();
    void resume();
    bool suspended() const { return m_suspensions > 0; }

    std::size_t registrationCount() const { return m_registrations.size(); }
    // The stored shortcuts refused since the last reload, in the order registered.
    const std::vector<HotKeySpec> &refusedHotKeys() const { return m_refused; }

    // What a key runs where the desktop's own shortcut list serves it: the command line's
    // request of the same action ("Quorvane: Work" runs --switch-to Work); none for an action
    // the command line has no request for.
    static std::optional<HotKeyRegistrar::Command> command(const HotKeyAssignment::Owner &owner);

signals:
    void triggered(const quorvane::HotKeyAssignment::Owner &owner);
    void refusedChanged();

private:
    struct Registration {
        HotKeyAssignment assignment;
        HotKeyRegistrar::Id id = 0;
        bool held = false; // false while suspended
    };

    bool take(const Registration &registration);
    void refuse(const HotKeySpec &spec);
    void pressed(quint32 id);
    void refusedLater(quint32 id);

    std::unique_ptr<HotKeyRegistrar> m_owned;
    HotKeyRegistrar *m_registrar;
    std::vector<Registration> m_registrations;
    std::vector<HotKeySpec> m_refused;
    HotKeyRegistrar::Id m_nextId = 1;
    int m_suspensions = 0;
    bool m_released = false;
};

} // namespace quorvane
