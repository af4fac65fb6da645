#pragma once

#include "Date.h"

#include <QJsonObject>
#include <QStringList>
#include <QUuid>

namespace quorvane {

// A dated reminder to sort a set of archived desktops.
struct CleanupTask {
    QUuid id = QUuid::createUuid();
    QStringList members; // desktop names, in the order they were added
    Date date = 0;       // the day the task is due

    bool operator==(const CleanupTask &) const = default;

    // Every key optional: a missing id is a fresh one, a missing date is the moment of decoding.
    static CleanupTask fromJson(const QJsonObject &object);
    QJsonObject toJson() const;
};

} // namespace quorvane
