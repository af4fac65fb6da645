// How long after the pointer reaches the hot corner its dwell starts, on the X display of the
// environment (run by corner_arrival.sh): the pointer is moved by the server's test device, as
// a mouse moves it, and the time runs from the moment the move has been sent to the moment the
// watcher starts the dwell. Once with the server's motion events and once with the poll that
// remains where they are missing; medians and worst of 30 arrivals each.
#include "Triggers/CornerWatcher.h"
#include "Windows/PointerSource.h"
#include "Work/QtScheduler.h"

#include <QElapsedTimer>
#include <QGuiApplication>
#include <QProcess>
#include <QThread>

#include <algorithm>
#include <cstdio>
#include <vector>

using namespace quorvane;

namespace {

// The same pointer, read only by polling.
class PolledPointer final : public PointerSource {
public:
    explicit PolledPointer(PointerSource &inner)
        : m_inner(inner)
    {}
    std::optional<State> read() const override { return m_inner.read(); }
    bool notifyChanges(std::function<void()>) override { return false; }

private:
    PointerSource &m_inner;
};

bool moveBy(int dx, int dy)
{
    return QProcess::execute("xdotool", {"mousemove_relative", "--", QString::number(dx), QString::number(dy)}) == 0;
}

// Serves the event loop until the condition holds (or 2 s pass); the milliseconds it took.
double serveUntil(const std::function<bool()> &condition)
{
    QElapsedTimer timer;
    timer.start();
    while (!condition() && timer.elapsed() < 2000) {
        QCoreApplication::processEvents(QEventLoop::AllEvents | QEventLoop::WaitForMoreEvents, 1);
    }
    return double(timer.nsecsElapsed()) / 1e6;
}

void measure(const char *name, PointerSource &pointer)
{
    QtScheduler scheduler;
    CornerWatcher watcher(scheduler, pointer);
    QProcess::execute("xdotool", {"mousemove", "400", "300"});
    watcher.start(FloatingDockCorner::topLeft, 10000); // a dwell that never ends here
    serveUntil([] { return false; });
    std::vector<double> delays;
    for (int i = 0; i < 30; ++i) {
        moveBy(-2000, -2000);
        delays.push_back(serveUntil([&] { return watcher.trigger().isDwelling; }));
        moveBy(400, 300);
        serveUntil([&] { return !watcher.trigger().isInside; });
        QThread::msleep(7); // arrivals fall anywhere within a poll's interval
    }
    std::sort(delays.begin(), delays.end());
    std::printf("arrival to dwell, %s: median %.2f ms, worst %.2f ms (%s)\n", name, delays[delays.size() / 2],
                delays.back(), watcher.isNotified() ? "motion events" : "polled");
}

} // namespace

int main(int argc, char **argv)
{
    qputenv("QT_QPA_PLATFORM", "xcb");
    QGuiApplication app(argc, argv);
    LinuxPointerSource pointer;
    measure("motion events", pointer);
    PolledPointer polled(pointer);
    measure("poll", polled);
    return 0;
}
