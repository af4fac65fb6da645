#pragma once

#include <QJsonObject>
#include <QString>
#include <QStringList>

namespace quorvane {

// The record of one switch in progress: written before anything moves, deleted when the
// switch is complete, replayed when a switch was interrupted.
struct Journal {
    QString fromWorkspace;
    QString toWorkspace;
    QStringList outgoing; // names moving from the Desktop into the left desktop's folder
    QStringList incoming; // names moving from the entered desktop's folder onto the Desktop

    bool operator==(const Journal &) const = default;

    // All four keys required.
    static Journal fromJson(const QJsonObject &object);
    QJsonObject toJson() const;
};

} // namespace quorvane
