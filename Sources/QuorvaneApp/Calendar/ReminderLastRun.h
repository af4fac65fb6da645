#pragma once

#include "Date.h"

#include <QString>

#include <optional>

namespace quorvane {

// Until when this application last looked after its reminders (the last sync or reminder shown
// of its last run), kept in a file of the store so that a start can show what fell due while
// it was not running. An empty path keeps nothing.
class ReminderLastRun {
public:
    explicit ReminderLastRun(QString file = {});

    // None when nothing was kept or the file cannot be read.
    std::optional<Date> read() const;
    // Replaces the kept time atomically; a failure keeps the old one.
    void write(Date when) const;

private:
    QString m_file;
};

} // namespace quorvane
