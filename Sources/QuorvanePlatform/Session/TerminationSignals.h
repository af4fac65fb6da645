#pragma once

#include <QObject>

class QSocketNotifier;

namespace quorvane {

// Turns SIGINT, SIGTERM and SIGHUP into a clean quit of the event loop (through a self-pipe,
// so the handler itself only writes one byte).
class TerminationSignals : public QObject {
    Q_OBJECT

public:
    explicit TerminationSignals(QObject *parent = nullptr);
    ~TerminationSignals() override;

signals:
    void received(int signalNumber);

private:
    QSocketNotifier *m_notifier = nullptr;
};

} // namespace quorvane
