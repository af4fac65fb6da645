#pragma once

#include "Controller/StatusAreaNotice.h"

#include <QObject>

#include <functional>
#include <memory>
#include <optional>

namespace quorvane {

class AppController;

// Start-up: the hand-over from another running instance, then the launch in its fixed order,
// with the first-run bootstrap, the recovery of an interrupted switch and the start-up prompts;
// and, for the process's life, the watch for a status area.
class LaunchCoordinator : public QObject {
    Q_OBJECT

public:
    explicit LaunchCoordinator(AppController &app);
    ~LaunchCoordinator() override;

    // Called by main once the event loop runs: hands over from another running instance, then
    // completes the launch.
    void start();
    // The ordered start-up; every step runs even when an earlier one failed. On a first run the
    // steps after the bootstrap follow once the Desktop's icon positions have been read, away
    // from the event loop.
    void completeLaunch();
    // The process id of another running instance of this application.
    std::optional<qint64> otherInstance() const;

private:
    // True when this instance may go on now; false when it waits for another one to go.
    bool enforceSingleInstance();
    // Looks again for the other instance; looks again 0.5 s later while attempts are left,
    // quits at the last look.
    void awaitHandover(int attemptsLeft);
    // The document is of a newer version: the session becomes read-only, and says so.
    void warnIfConfigFromNewerVersion();
    // Bootstrap and recovery, one unit: its first error is shown and ends it; then the rest of
    // the launch.
    void recover();
    void finishRecovery();
    // The launch's steps after the bootstrap and the recovery.
    void launchAfterRecovery();
    // No status area after the grace: the notice, and the settings window as the way in. A
    // status area that comes later takes both back.
    void watchForAStatusArea();
    // Says once, visibly, that the desktop has no status area and what would give it one;
    // returns what takes the notice back (nothing when it can't be).
    std::function<void()> tellThereIsNoStatusArea();
    void collapseAtStartupIfWanted();
    void offerToMoveToApplications();

    AppController &m_app;
    std::unique_ptr<StatusAreaNotice> m_statusAreaNotice;
};

} // namespace quorvane
