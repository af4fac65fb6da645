#pragma once

#include "Shared/AppInfo.h"

#include <QDateTime>
#include <QLoggingCategory>
#include <QString>
#include <QStringList>

#include <vector>

namespace quorvane {

// The log categories every component writes under, "<subsystem>.<category>", where the
// subsystem is the application's identifier or, for the bare executable, a fixed fallback.
// Once started, every message of the process goes to stderr, to the log file and to an
// in-memory ring of this process's most recent entries. Write with qCInfo(Log::swap()) etc.
class Log {
public:
    static const QString fallbackSubsystem;
    static constexpr std::size_t ringCapacity = 2000;

    struct Entry {
        QDateTime time;
        QString category; // the full category name
        QtMsgType type = QtInfoMsg;
        QString message;
    };

    static QString subsystemFor(const AppInfo &info);
    // The subsystem in use: set by start(), or taken from AppInfo::current() on first use.
    static QString subsystem();

    static const QLoggingCategory &app();
    static const QLoggingCategory &swap();
    static const QLoggingCategory &sweep();
    static const QLoggingCategory &archive();
    static const QLoggingCategory &error();

    // Fixes the subsystem and installs the message handler writing to stderr, the file (its
    // folder created on demand) and the ring. An empty path writes no file.
    static void start(const AppInfo &info, const QString &logFilePath);
    // $XDG_STATE_HOME/quorvane/quorvane.log (~/.local/state when the variable is not set).
    static QString standardLogFile();
    static QString logFilePath();

    // This process's entries, oldest first, at most ringCapacity.
    static std::vector<Entry> recentEntries();
    // One line of the file and of stderr.
    static QString format(const Entry &entry);
};

} // namespace quorvane
