#pragma once

#include <QKeyCombination>
#include <QObject>
#include <QString>
#include <QStringList>

#include <optional>

namespace quorvane {

// The desktop's registry of global hot keys. A combination is registered under an id its
// caller chooses; a press is told by pressed() with that id, on the main thread.
class HotKeyRegistrar : public QObject {
    Q_OBJECT

public:
    using Id = quint32;

    // What a key runs where the desktop itself runs it (its own list of custom shortcuts): the
    // entry's title and the application's command-line arguments. Registrars that report
    // presses themselves ignore it.
    struct Command {
        QString title;
        QStringList arguments;
        bool operator==(const Command &) const = default;
    };

    explicit HotKeyRegistrar(QObject *parent = nullptr)
        : QObject(parent)
    {
    }

    // Takes the combination under the id; false when it is refused (another program holds it,
    // this registrar holds it already, or the desktop cannot serve it). A registrar that asks
    // the desktop away from the main thread may take it first and refuse it later, through
    // refused().
    virtual bool registerHotKey(QKeyCombination combination, Id id, const std::optional<Command> &command) = 0;
    // Lets go of the id's combination; an id not held is ignored.
    virtual void unregisterHotKey(Id id) = 0;
    // Takes back what an earlier process of the application left registered with the desktop
    // (it ended without letting go: a crash). Called once this process holds the desktops.
    virtual void releaseLeftovers() {}

signals:
    void pressed(quint32 id);
    // A registration taken at first and refused once the desktop answered.
    void refused(quint32 id);
};

// Where no window system grabs keys (off screen, Wayland): every registration is refused, so
// no key is ever reported as pressed.
class RefusingHotKeyRegistrar final : public HotKeyRegistrar {
public:
    using HotKeyRegistrar::HotKeyRegistrar;
    bool registerHotKey(QKeyCombination combination, Id id, const std::optional<Command> &command) override;
    void unregisterHotKey(Id id) override;
};

} // namespace quorvane
