#pragma once

#include "Triggers/AppCommand.h"

#include <QDBusConnection>
#include <QString>

namespace quorvane {

// The command line's side: sends one request to the running instance over the session bus and
// says how it went. Never starts an instance: no bus activation, no launch.
class AppCommandClient {
public:
    struct Outcome {
        int status = appexit::done; // an exit status of appexit
        QString message;            // one line for the user
    };

    explicit AppCommandClient(QDBusConnection bus = QDBusConnection::sessionBus(), int timeoutMs = 10000);

    Outcome send(const AppCommand &command) const;

private:
    QDBusConnection m_bus;
    int m_timeoutMs;
};

} // namespace quorvane
