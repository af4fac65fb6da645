#pragma once

#include "AppSettings.h"
#include "Shared/DocumentService.h"
#include "Work/Scheduler.h"

#include <QObject>

#include <QString>

#include <cstdint>
#include <functional>
#include <optional>

class QSocketNotifier;

namespace quorvane {

// Notices that something was added to, removed from or renamed in one folder (not changes
// inside the items) and calls onChange once the changes have settled: `debounce` seconds after
// the last event, through the scheduler. It never reads the folder and does not say what
// changed. When the folder itself is deleted, replaced or renamed away, the watch is reopened
// on whatever now stands at the path, or the watcher goes idle when nothing does.
//
// Given the document service, the watcher follows the document: it watches while the custom
// sweep rules ask for it (watched, and one enabled rule with a pattern) and is idle otherwise.
//
// Runs on the thread of the Qt event loop; the scheduler must outlive the watcher.
class DesktopWatcher {
public:
    DesktopWatcher(const QString &path, double debounce, std::function<void()> onChange, Scheduler &scheduler,
                   DocumentService *documents = nullptr);
    ~DesktopWatcher();
    DesktopWatcher(const DesktopWatcher &) = delete;
    DesktopWatcher &operator=(const DesktopWatcher &) = delete;

    // Begins watching; does nothing while a watch is active. A folder that cannot be watched
    // leaves the watcher idle, silently; start() may be called again later.
    void start();
    // Drops the pending call and ends the watch.
    void stop();
    // While paused, events schedule nothing and a pending call is dropped.
    void pause();
    // Schedules nothing by itself: changes made while paused are never reported.
    void resume();

    // Whether the settings ask for the Desktop to be watched.
    static bool wanted(const AppSettings &settings);

    QString path() const { return m_path; }
    bool isWatching() const { return m_source != nullptr; }
    bool isPaused() const { return m_paused; }
    // The descriptor of the active watch; -1 when idle.
    int descriptor() const { return m_fd; }

private:
    void readEvents();
    void handleEvent(std::uint32_t mask);

    QString m_path;
    std::function<void()> m_onChange;
    double m_debounceInterval;
    Scheduler &m_scheduler;
    QSocketNotifier *m_source = nullptr;
    int m_fd = -1;
    std::optional<Scheduler::Token> m_pending;
    bool m_paused = false;
    // Set while an event delivery is handled: the notifier delivering it is released later.
    bool m_handling = false;
    QObject m_listening;
};

} // namespace quorvane
