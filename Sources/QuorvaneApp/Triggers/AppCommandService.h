#pragma once

#include "Triggers/AppCommand.h"

#include <QDBusConnection>
#include <QDBusContext>
#include <QObject>
#include <QStringList>

#include <functional>

namespace quorvane {

// Where the running instance stands when a request arrives.
struct AppCommandState {
    QStringList liveDesktops;
    QString activeDesktop;
    bool blankActive = false;
    // A switch or another request is under way: an accepted request waits its turn.
    bool busy = false;
    // Why nothing may be switched at all (a read-only document, an unsafe Desktop folder); empty
    // when switching may go ahead.
    QString refusal = {};
};

// The running instance on the session bus, under the application's own name: the command line's
// requests (app.quorvane.Quorvane.Commands, each answered with a line for the user or an error
// naming why not) and org.freedesktop.Application's Activate and ActivateAction. A call is
// answered at once; what it asks for runs afterwards from the event loop, as a hot key's action.
class AppCommandService final : public QObject, protected QDBusContext {
    Q_OBJECT
    Q_CLASSINFO("D-Bus Interface", "app.quorvane.Quorvane.Commands")

public:
    static constexpr const char *busName = "app.quorvane.Quorvane";
    static constexpr const char *objectPath = "/app/quorvane/Quorvane";
    static constexpr const char *interfaceName = "app.quorvane.Quorvane.Commands";
    static constexpr const char *unknownDesktopError = "app.quorvane.Quorvane.Error.UnknownDesktop";
    static constexpr const char *refusedError = "app.quorvane.Quorvane.Error.Refused";

    explicit AppCommandService(QDBusConnection bus = QDBusConnection::sessionBus(), QObject *parent = nullptr);
    ~AppCommandService() override;

    // Asked anew for every request; without it every switch is refused.
    void setStateSource(std::function<AppCommandState()> state) { m_state = std::move(state); }
    // Exports the object and takes the bus name. False (with a log line) when the bus is
    // missing or another process holds the name.
    bool publish();
    bool published() const { return m_published; }

    // The answer to a request: a line for the user, or the error's name and message.
    struct Answer {
        QString message;
        QString error = {}; // a D-Bus error name; empty: accepted
    };
    // Checks the request against the state and, when it is accepted, emits requested() from the
    // event loop.
    Answer request(const AppCommand &command);

public slots:
    Q_SCRIPTABLE QString SwitchTo(const QString &name);
    Q_SCRIPTABLE QString Next();
    Q_SCRIPTABLE QString Previous();
    Q_SCRIPTABLE QString HideDesktop();
    Q_SCRIPTABLE QString Carousel();
    Q_SCRIPTABLE QString ShowSettings();

signals:
    // An accepted request, for the controller to run the hot key's road; a desktop's name is
    // the stored one.
    void requested(const quorvane::AppCommand &command);

private:
    QString answerCall(const AppCommand &command);

    QDBusConnection m_bus;
    std::function<AppCommandState()> m_state;
    bool m_published = false;
};

} // namespace quorvane
