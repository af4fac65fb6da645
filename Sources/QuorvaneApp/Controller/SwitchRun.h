#pragma once

#include "AppSettings.h"
#include "Config.h"
#include "DesktopSwapper.h"
#include "Shared/DocumentService.h"
#include "Work/Scheduler.h"

#include <QElapsedTimer>
#include <QString>
#include <QStringList>

#include <atomic>
#include <exception>
#include <memory>
#include <optional>

namespace quorvane {

// One switch from its guards to its end: what the steps before the files decided, what the
// engine reported (written on the worker, read on the GUI thread once it is done), and where
// the time went.
struct SwitchRun {
    // Where one switch's time goes, phase by phase, for a debug line of the swap category (the
    // hot-key benchmark reads it).
    class Phases {
    public:
        Phases() { m_clock.start(); }
        void mark(const char *phase)
        {
            const qint64 now = m_clock.nsecsElapsed();
            m_text += QStringLiteral(" %1 %2").arg(QLatin1StringView(phase), QString::number(double(now - m_last) / 1e6, 'f', 1));
            m_last = now;
        }
        QString text() const { return m_text; }

    private:
        QElapsedTimer m_clock;
        qint64 m_last = 0;
        QString m_text;
    };

    // The visit stamp: the desktop the document names active was visited now.
    static void stampActive(Config &config)
    {
        config.updateWorkspace(config.activeWorkspace, [](Workspace &workspace) { workspace.lastActiveAt = dateNow(); });
    }

    QString from;
    QString target;
    bool userInitiated = false;
    AppSettings settings;
    double coverStart = 0;
    Phases phases;
    // What the switch writes is announced once, as it ends.
    std::unique_ptr<DocumentService::Batch> announceOnce;

    // The engine's own, for this switch only, on the service's engine store.
    std::unique_ptr<DesktopSwapper> swapper;
    // The engine's report.
    QStringList skipped;
    QStringList stayed;
    bool completed = false;
    bool stamped = false; // the visit stamp went into the engine's last save
    std::exception_ptr error;
    // How many items the files' journal moves; -1 until it is saved.
    std::atomic<qsizetype> moves = -1;

    // The status item's notice while the files move.
    std::optional<Scheduler::Token> notice;
    std::optional<Scheduler::Token> glyph;
};

} // namespace quorvane
