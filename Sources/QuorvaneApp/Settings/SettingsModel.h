#pragma once

#include "Calendar/CalendarModel.h"
#include "Config.h"
#include "Date.h"
#include "Paths.h"
#include "Settings/DeleteFailure.h"
#include "StateStore.h"

#include <QObject>
#include <QString>
#include <QStringList>
#include <QUuid>

#include <exception>
#include <functional>
#include <memory>
#include <optional>
#include <stdexcept>
#include <vector>

namespace quorvane {

class CueImageCache;

class Archiver;
class DocumentService;
class FileOperations;

// The one model behind the settings window, the cleanup calendar and the new-desktop window.
// It publishes a copy of the document for the views; every lasting change goes through one of
// its operations, which loads the stored document, edits it, saves it whole, republishes it and
// then emits stored(); what follows the document hears of the change from the store itself. A refused or failed change leaves a text in errorMessage and changes
// nothing. Main thread only.
class SettingsModel : public CalendarModel {
    Q_OBJECT

public:
    using Clock = std::function<Date()>;

    // An edit's refusal: its text is what the user sees.
    struct Refusal : std::runtime_error {
        explicit Refusal(const QString &text)
            : std::runtime_error(text.toStdString())
            , text(text)
        {
        }
        QString text;
    };

    // The archiver and the file operations are not owned; no file operations: the system's.
    SettingsModel(StateStore &store, const Paths &paths, Archiver *archiver = nullptr,
                  FileOperations *files = nullptr, QObject *parent = nullptr);
    // Over the application's document service: the published copy follows every change the
    // service announces (a hand edit of config.json included) while the model lives.
    SettingsModel(DocumentService &service, const Paths &paths, Archiver *archiver = nullptr,
                  FileOperations *files = nullptr, QObject *parent = nullptr);

    // Published. A view may replace config (a binding); that saves nothing.
    const Config &config() const override { return m_config; }
    void setConfig(const Config &config);
    const std::optional<QString> &errorMessage() const override { return m_errorMessage; }
    void setErrorMessage(const std::optional<QString> &message) override;
    // Whether the message left is a claiming window's to show (see ErrorClaim).
    bool errorMessageClaimed() const { return m_errorMessage && m_errorClaimed; }
    const std::optional<DeleteFailure> &deleteFailure() const { return m_deleteFailure; }
    void setDeleteFailure(const std::optional<DeleteFailure> &failure);

    StateStore &store() const { return m_store; }
    QString workspacesRoot() const { return m_paths.workspaces(); }
    const Paths &paths() const { return m_paths; }
    Archiver *archiver() const { return m_archiver; }
    FileOperations &files() const { return m_files; }
    // The decoded cue pictures a replaced picture is evicted from; none: nothing is cached.
    void useCueImages(CueImageCache *images) { m_cueImages = images; }

    // Installed by the controller.
    std::function<void()> onSweepNow;
    std::function<void()> onShowFloatingDock;
    std::function<void(const QString &name)> onSwitch;
    std::function<void()> onPreviewTransition;
    std::function<void()> onUninstall;
    std::function<bool()> isBusy;
    // Where the model and its views learn the current time; none: the system's clock.
    void setClock(Clock clock) { m_clock = std::move(clock); }
    Date currentDate() const { return m_clock ? m_clock() : dateNow(); }

    // Publishes the stored document, or the fallback document when loading fails.
    void reload();

    // The text a failure shows: the store's own cases by name ("configNewerThanApp"), a file
    // error its text, a refusal its user text, anything else its message.
    static QString plainDescription(const std::exception &error);
    // Why a new desktop can't take the typed name, in the words createWorkspace refuses it with
    // (a reserved, hidden or path-like name, or one a desktop has); none when it can or when the
    // trimmed name is empty. Changes nothing.
    std::optional<QString> newWorkspaceNameProblem(const QString &typed) const override;

    // Simple settings.
    void setStartMinimized(bool on);
    void setAppearanceMode(AppearanceMode mode);
    void setAccent(const std::optional<QString> &hex);
    void setMenuBarAnimation(MenuBarAnimation animation);
    void setShowShortcutsInMenu(bool on);
    void setScrollToCycle(bool on);
    void setFloatingDockCorner(FloatingDockCorner corner);
    void setShowFloatingDockInMenu(bool on);
    void setFloatingDockAxis(FloatingDockAxis axis);
    void setFloatingDockSize(FloatingDockSize size);
    void setFloatingDockMaterial(FloatingDockMaterial material);
    void setFloatingDockAppearance(AppearanceMode mode);
    void setFloatingDockColorFolders(bool on);
    void setFloatingDockRememberPosition(bool on);
    void setFloatingDockShowFlipButtons(bool on);
    void setFloatingDockFastTransition(bool on);
    void setShowMoveHint(bool on);
    void setShowCleanupCalendarInMenu(bool on);
    void setMuteCleanupNotifications(bool on);
    void setCleanupNotifyMinutes(std::int64_t minutes);
    void setCleanupNotifyRepeat(bool on);
    void setCleanupNotifySound(bool on);
    void setConfirmDrain(bool on);
    void setConfirmArchive(bool on);
    void setScreenshotNamePrefix(const QString &prefix);
    void setShowScreenshotPauseInMenu(bool on);
    void setCustomFiltersEnabled(bool on);
    void setCustomFiltersWatch(bool on);
    void setScreenshotsOverruleCustom(bool on);
    void setFollowSpaces(bool on);
    void setOverlaysMuted(bool on);
    void dismissDeskListHint();
    void dismissShortcutHint() override;
    // Each missing value keeps the stored one; the transition timings follow the three.
    void stampSwitchAnimation(std::optional<SwitchLook> look, std::optional<SwitchSpeed> speed,
                              std::optional<SwitchIntensity> intensity);
    // Whether screenshots are saved to the Desktop (no other location set).
    bool screenshotsSaveToDesktop() const;

    // Desktops.
    // Answers whether the desktop was stored (the new-desktop window closes on true).
    bool createWorkspace(const QString &name, WorkspaceType type, std::optional<ArchiveTimer> timer,
                         std::optional<QString> drainTarget, bool createsCleanupTask,
                         std::optional<HotKeySpec> hotkey, bool addToCarousel) override;
    void rename(const QString &oldName, const QString &newName);
    void deleteWorkspace(const QString &name);
    // Folders of the desktops folder that could become desktops, in the locale's order.
    QStringList unlistedFolders() const;
    void adoptFolder(const QString &name);
    void setDeskOrder(const QStringList &names);
    void setType(const QString &name, WorkspaceType type);
    // Removes the desktop's records (the delete-failure alert's way out); the folder stays.
    void removeFromConfig(const QString &name);

    // Shortcuts and the carousel.
    void setHotkey(const QString &name, const std::optional<HotKeySpec> &spec);
    void setCycle(bool next, const std::optional<HotKeySpec> &spec);
    void setHideDesktopShortcut(const std::optional<HotKeySpec> &spec);
    void setSwitchToLastShortcut(const std::optional<HotKeySpec> &spec);
    void setOpenSettingsShortcut(const std::optional<HotKeySpec> &spec);
    void setOpenCalendarShortcut(const std::optional<HotKeySpec> &spec);
    void setSortNowShortcut(const std::optional<HotKeySpec> &spec);
    void setFloatingDockShortcut(const std::optional<HotKeySpec> &spec);
    void setOptionClickCarousel(const QStringList &names);
    // "⌃⌥Space is already assigned to Cycle next."
    static QString conflictMessage(const HotKeySpec &spec, const HotKeyAssignment::Owner &holder);
    // The stored shortcuts the window system refused at their last registration (another
    // program holds them); told by the controller after each registration, published by changed.
    const std::vector<HotKeySpec> &refusedHotKeys() const { return m_refusedHotKeys; }
    void setRefusedHotKeys(const std::vector<HotKeySpec> &refused);
    bool isRefused(const std::optional<HotKeySpec> &spec) const;

    // Sweep rules and pinned items.
    void setFilterScreenshots(bool on);
    void addCustomFilter();
    void removeCustomFilter(const QUuid &id);
    void setCustomFilterEnabled(const QUuid &id, bool enabled);
    void setCustomFilterPattern(const QUuid &id, const QString &pattern);
    void setCustomFilterCollection(const QUuid &id, const QString &name);
    void addPinnedFolder(const QString &name);
    void removePinnedFolder(const QString &name);
    bool pinnedFolderIsOnDesktop(const QString &name) const;

    // Cue, colour and appearance.
    void setCueEnabled(const QString &name, bool enabled);
    void setCueColor(const QString &name, const QString &hex);
    void setCueAboveIcons(const QString &name, bool above);
    void setCueOpacity(const QString &name, double opacity);
    void setCueImage(const QString &name, const QString &pickedFile);
    void setWorkspaceColor(const QString &name, const QString &hex);
    void setPreferredAppearance(const QString &name, AppearanceMode mode);
    void setSpaceBinding(const QString &name, const std::optional<QString> &space);

    // Archive, timers and cleanups.
    void archive(const QString &name);
    void restore(const QString &name);
    void drain(const QString &name, const QString &target);
    void deleteArchived(const QString &name);
    void setArchiveRoot(const std::optional<QString> &folder);
    void setArchivedSorted(const QString &name, bool sorted);
    void setClearDestination(const QString &name, ClearMode mode, const std::optional<QString> &home);
    void setAutoCompletion(const QString &name, const std::optional<ArchiveTimer> &timer, bool drains);
    std::vector<TimerOp> timerOps() const override;
    std::vector<TimerOp> timerOps(Date day) const override;
    QStringList cleanupCandidates(Date day) const override;
    void rescheduleTimer(const QString &name, Date day) override;
    void rescheduleTask(const QUuid &id, Date day) override;
    void mergeTasks(const QUuid &source, const QUuid &target) override;
    void setCleanupDate(const QString &name, Date day) override;
    void removeCleanup(const QString &name) override;

    // Support.
    // Puts the diagnostics text on the clipboard.
    void copyDiagnostics();

signals:
    // Any published field changed.
    void changed();
    void errorMessageChanged();
    void deleteFailureChanged();
    // One of the operations stored its change (and the model republished the document).
    void stored();

private:
    // The change pipeline: load, edit, save; then republish and emit stored(). Answers whether the
    // change was stored; a failure leaves its description in errorMessage.
    bool apply(const std::function<void(Config &)> &edit);
    void setSetting(const std::function<void(AppSettings &)> &edit);
    void refuse(const QString &message);
    // Before any file work: the stored document must be one this build may write.
    bool documentIsWritable();

    bool nameIsAllowed(const QString &name);
    // The refusal nameIsAllowed gives name, without giving it.
    static std::optional<QString> nameProblem(const QString &name);
    QString uniqueWorkspaceName(const QString &base) const;
    QString folderOf(const QString &name) const { return m_paths.workspaces() + QLatin1Char('/') + name; }
    // The item's path in the Trash, or none after publishing a DeleteFailure.
    std::optional<QString> trashOrReportFailure(const QString &folder, const QString &workspace);
    // Takes a trashed item back to where it was and forgets its Trash record.
    void untrash(const QString &trashedPath, const QString &original);
    void setShortcut(const HotKeyAssignment::Owner &owner, const std::optional<HotKeySpec> &spec,
                     const std::function<void(Config &)> &store);
    bool editCue(const QString &name, const std::function<void(DesktopCue &)> &edit);
    // After archive, restore and drain, which store through the archiver.
    void finishArchiverCall(const std::function<void()> &call);
    bool isBusyNow() const { return isBusy && isBusy(); }

    StateStore &m_store;
    Paths m_paths;
    Archiver *m_archiver;
    std::shared_ptr<FileOperations> m_ownFiles; // the system's, when none was given
    FileOperations &m_files;
    CueImageCache *m_cueImages = nullptr;
    Config m_config;
    std::vector<HotKeySpec> m_refusedHotKeys;
    std::optional<QString> m_errorMessage;
    bool m_errorClaimed = false;
    std::optional<DeleteFailure> m_deleteFailure;
    Clock m_clock = dateNow;
};

} // namespace quorvane
