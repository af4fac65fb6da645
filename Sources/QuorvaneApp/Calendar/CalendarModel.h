#pragma once

#include "Calendar/TimerOp.h"
#include "Config.h"
#include "Date.h"

#include <QObject>
#include <QString>
#include <QStringList>
#include <QUuid>

#include <optional>
#include <vector>

namespace quorvane {

// What the cleanup calendar and the new-desktop window ask of the model behind them: the
// published document, the timers and cleanups to show, the edits their controls make, and the
// refusal text an edit leaves. The settings model is the one implementation. Main thread only.
class CalendarModel : public QObject {
    Q_OBJECT

public:
    using QObject::QObject;

    virtual const Config &config() const = 0;
    virtual const std::optional<QString> &errorMessage() const = 0;
    virtual void setErrorMessage(const std::optional<QString> &message) = 0;

    // A window that shows its own refusals (the new-desktop window) holds a claim while its
    // operation runs: an errorMessage left meanwhile is that window's to show, and the settings
    // window leaves it alone, so one refusal gives one message, where the user is looking.
    class ErrorClaim {
    public:
        explicit ErrorClaim(CalendarModel &model);
        ~ErrorClaim();
        ErrorClaim(const ErrorClaim &) = delete;
        ErrorClaim &operator=(const ErrorClaim &) = delete;

    private:
        CalendarModel &m_model;
    };

    // A typed desktop name without its surrounding blanks, tabs and other space separators;
    // line breaks stay.
    static QString trimmedName(const QString &name);
    // Why a new desktop can't take the typed name, in the words createWorkspace refuses it with;
    // none when it can or when the trimmed name is empty. Changes nothing.
    virtual std::optional<QString> newWorkspaceNameProblem(const QString &typed) const = 0;
    // Answers whether the desktop was stored (the new-desktop window closes on true).
    virtual bool createWorkspace(const QString &name, WorkspaceType type, std::optional<ArchiveTimer> timer,
                                 std::optional<QString> drainTarget, bool createsCleanupTask,
                                 std::optional<HotKeySpec> hotkey, bool addToCarousel) = 0;
    virtual void dismissShortcutHint() = 0;

    virtual std::vector<TimerOp> timerOps() const = 0;
    virtual std::vector<TimerOp> timerOps(Date day) const = 0;
    virtual QStringList cleanupCandidates(Date day) const = 0;
    virtual void rescheduleTimer(const QString &name, Date day) = 0;
    virtual void rescheduleTask(const QUuid &id, Date day) = 0;
    virtual void mergeTasks(const QUuid &source, const QUuid &target) = 0;
    virtual void setCleanupDate(const QString &name, Date day) = 0;
    virtual void removeCleanup(const QString &name) = 0;

signals:
    void configChanged();

protected:
    // Whether a window holds a claim on the refusals now.
    bool errorMessageIsClaimedNow() const { return m_errorClaims > 0; }

private:
    int m_errorClaims = 0;
};

} // namespace quorvane
