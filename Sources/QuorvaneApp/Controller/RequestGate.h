#pragma once

#include <QObject>
#include <QString>

#include <deque>
#include <functional>

namespace quorvane {

class SessionState;

// The one way in for every request that switches or changes the Desktop or the desktops'
// folders: hot keys, the status menu, the wheel and the carousel, the dock and its drops, the
// workspace follower, the command line, the settings window, sort now, the uninstall and the
// Trash offer, the timers and the Desktop watcher's sweeps.
//
// A request is an intent ("next", "to Work", "hide"), resolved when it is taken, not when it is
// made: while a switch is under way (its files move on the worker, its alerts may be open) or
// another request is running, it waits its turn, and the ones waiting are taken one at a time,
// in the order made, once the switch has ended. Two "next" presses from A so end on C, and an
// uninstall confirmed during a switch runs once the files have arrived. GUI thread only.
class RequestGate final : public QObject {
    Q_OBJECT

public:
    struct Request {
        // For the log: what was asked ("next", "switch to Work", "sort now").
        QString label;
        // Run when taken; reads the document as it is then.
        std::function<void()> run;
        // Requests with the same non-empty key wait only once (a timer's job, the watcher's
        // sweep): a second one made while the first waits is the same request.
        QString key = {};
    };

    explicit RequestGate(SessionState &state, QObject *parent = nullptr);

    enum class Taken {
        now,     // ran at once
        waiting, // waits for the switch or request under way
        closed,  // the gate is closed: nothing more runs in this process
    };
    Taken submit(Request request);

    // A switch or a request is under way, or requests wait.
    bool busy() const;
    int waiting() const { return int(m_waiting.size()); }
    // After the uninstall: nothing more is taken, and what waits is dropped.
    void close();
    bool closed() const { return m_closed; }

private:
    bool free() const;
    void takeWaiting();
    void run(Request &request);

    SessionState &m_state;
    std::deque<Request> m_waiting;
    bool m_running = false;
    bool m_closed = false;
};

} // namespace quorvane
