#pragma once

// A calendar over a settings model on a temporary home folder, in a fixed time zone and locale,
// with helpers that synthesize the user's presses, drags and drops.
#include "Calendar/CalendarItem.h"
#include "FileStateStore.h"
#include "Settings/SettingsModel.h"
#include "TestEnvironment.h"

#include <QApplication>
#include <QDir>
#include <QLocale>
#include <QMimeData>
#include <QMouseEvent>
#include <QWidget>
#include <gtest/gtest.h>

#include <memory>

namespace quorvane::test {

class ScopedLocale {
public:
    explicit ScopedLocale(const QLocale &locale)
        : m_previous(QLocale())
    {
        QLocale::setDefault(locale);
    }
    ~ScopedLocale() { QLocale::setDefault(m_previous); }

private:
    QLocale m_previous;
};

inline Workspace archivedDesktop(const QString &name, const QString &hex, WorkspaceState state = WorkspaceState::archivedUnsorted)
{
    Workspace w = Workspace::make(name, hex);
    w.state = state;
    return w;
}

// A temporary desktop whose timer of `days` runs from a creation at noon of `created`.
inline Workspace timedDesktop(const QString &name, const QDate &created, std::int64_t days, ArchiveTimerMode mode)
{
    Workspace w = Workspace::make(name, QStringLiteral("#3366CC"));
    w.type = WorkspaceType::temporary;
    w.timer = ArchiveTimer{mode, days};
    w.createdAt = fromDateTime(QDateTime(created, QTime(12, 0)));
    return w;
}

struct CalendarHarness : ::testing::Test {
    ScopedTimeZone zone{"Europe/Berlin"};
    ScopedLocale locale{QLocale(QLocale::English, QLocale::UnitedKingdom)};
    TempHome home;
    Paths paths = Paths::forHome(home.path());
    FileStateStore store{paths.config(), paths.journal()};
    std::unique_ptr<SettingsModel> model;
    const QDate today = QDate::currentDate();

    // Stores the document and opens a model on it.
    SettingsModel &open(Config config)
    {
        QDir().mkpath(paths.store());
        QDir().mkpath(paths.desktop());
        store.saveConfig(config);
        model = std::make_unique<SettingsModel>(store, paths);
        model->reload();
        return *model;
    }
    Config stored() { return store.loadConfig(); }
    CleanupTask task(const QString &member, const QDate &day, int hour = 0)
    {
        return CleanupTask{QUuid::createUuid(), {member}, fromDateTime(QDateTime(day, QTime(hour, 0)))};
    }

    static void mouse(QWidget *widget, QEvent::Type type, const QPointF &point, Qt::MouseButtons buttons)
    {
        QMouseEvent event(type, point, widget->mapToGlobal(point), Qt::LeftButton, buttons, Qt::NoModifier);
        QApplication::sendEvent(widget, &event);
    }
    static void press(QWidget *widget, const QPointF &point) { mouse(widget, QEvent::MouseButtonPress, point, Qt::LeftButton); }
    static void moveTo(QWidget *widget, const QPointF &point) { mouse(widget, QEvent::MouseMove, point, Qt::LeftButton); }
    static void release(QWidget *widget, const QPointF &point) { mouse(widget, QEvent::MouseButtonRelease, point, Qt::NoButton); }
    static void click(QWidget *widget, const QPointF &point)
    {
        press(widget, point);
        release(widget, point);
    }
    // Press, a move past the threshold and on to `to`, release there.
    static void dragAndRelease(QWidget *widget, const QPointF &from, const QPointF &to)
    {
        press(widget, from);
        moveTo(widget, from + QPointF(8, 0));
        moveTo(widget, to);
        release(widget, to);
    }
    // A text dropped at point; answers whether the drop was taken.
    static bool dropText(QWidget *widget, const QString &text, const QPointF &point)
    {
        QMimeData mime;
        mime.setText(text);
        QDragEnterEvent enter(point.toPoint(), Qt::CopyAction | Qt::MoveAction, &mime, Qt::LeftButton, Qt::NoModifier);
        QApplication::sendEvent(widget, &enter);
        QDragMoveEvent move(point.toPoint(), Qt::CopyAction | Qt::MoveAction, &mime, Qt::LeftButton, Qt::NoModifier);
        QApplication::sendEvent(widget, &move);
        QDropEvent event(point, Qt::CopyAction | Qt::MoveAction, &mime, Qt::LeftButton, Qt::NoModifier);
        event.setAccepted(false);
        QApplication::sendEvent(widget, &event);
        return event.isAccepted() && event.dropAction() == Qt::CopyAction;
    }
};

} // namespace quorvane::test
