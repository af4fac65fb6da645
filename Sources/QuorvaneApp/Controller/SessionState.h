#pragma once

#include "DataLock.h"

#include <QObject>
#include <QString>

#include <optional>

namespace quorvane {

// Where this session stands, in one place: the switch under way (the desktop it leaves and the
// one it goes to), the desktop the last switch left, whether the document is read-only, and the
// desktops folder's lock. The switch's coordinator writes it; everyone else reads it, and
// changed() tells each change. GUI thread only.
class SessionState final : public QObject {
    Q_OBJECT

public:
    explicit SessionState(const QString &dataLockPath, QObject *parent = nullptr);

    // A switch is under way (from its guards until its bookkeeping has ended).
    bool swapping() const { return m_pending.has_value(); }
    // The desktop the switch under way goes to; none between switches.
    const std::optional<QString> &pending() const { return m_pending; }
    // The desktop active before the last switch.
    const std::optional<QString> &previous() const { return m_previous; }
    // The document is of a newer version: nothing is written or moved in this session.
    bool readOnly() const { return m_readOnly; }
    // Held from the launch on, for the life of the process.
    DataLock &dataLock() { return m_dataLock; }
    const DataLock &dataLock() const { return m_dataLock; }

    void beginSwitch(const QString &target);
    // The switch under way has ended; `left` is the desktop it left when it changed anything.
    void endSwitch(const std::optional<QString> &left);
    void setReadOnly();

signals:
    void changed();

private:
    std::optional<QString> m_pending;
    std::optional<QString> m_previous;
    bool m_readOnly = false;
    DataLock m_dataLock;
};

} // namespace quorvane
