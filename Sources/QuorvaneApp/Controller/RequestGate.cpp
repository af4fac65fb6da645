#include "Controller/RequestGate.h"

#include "Controller/SessionState.h"
#include "Shared/Log.h"

#include <QScopedValueRollback>

#include <algorithm>

namespace quorvane {

RequestGate::RequestGate(SessionState &state, QObject *parent)
    : QObject(parent)
    , m_state(state)
{
    // The switch under way has ended: what waited is taken now, in order.
    connect(&m_state, &SessionState::changed, this, &RequestGate::takeWaiting);
}

bool RequestGate::free() const
{
    return !m_running && !m_state.swapping();
}

bool RequestGate::busy() const
{
    return !free() || !m_waiting.empty();
}

RequestGate::Taken RequestGate::submit(Request request)
{
    if (m_closed) {
        qCInfo(Log::app()).noquote() << QStringLiteral("%1 dropped: Quorvane is quitting").arg(request.label);
        return Taken::closed;
    }
    if (free() && m_waiting.empty()) {
        run(request);
        // What was asked while it ran (from an alert it showed) follows it.
        takeWaiting();
        return Taken::now;
    }
    if (!request.key.isEmpty()
        && std::any_of(m_waiting.begin(), m_waiting.end(), [&](const Request &waiting) { return waiting.key == request.key; }))
        return Taken::waiting;
    qCInfo(Log::swap()).noquote() << QStringLiteral("%1 waits for the %2 under way")
                                         .arg(request.label, m_state.swapping() ? QStringLiteral("switch") : QStringLiteral("request"));
    m_waiting.push_back(std::move(request));
    return Taken::waiting;
}

void RequestGate::run(Request &request)
{
    const QScopedValueRollback running(m_running, true);
    request.run();
}

void RequestGate::takeWaiting()
{
    // A request that runs, and the switch it started, take their turn whole: the next one waits
    // for this call to come round again (the switch's end, or the loop below).
    while (free() && !m_closed && !m_waiting.empty()) {
        Request next = std::move(m_waiting.front());
        m_waiting.pop_front();
        run(next);
    }
}

void RequestGate::close()
{
    m_closed = true;
    if (!m_waiting.empty())
        qCInfo(Log::app()).noquote() << QStringLiteral("%1 waiting requests dropped: Quorvane is quitting").arg(qsizetype(m_waiting.size()));
    m_waiting.clear();
}

} // namespace quorvane
