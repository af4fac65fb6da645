#pragma once

#include <QJsonObject>
#include <QString>
#include <QUuid>

namespace quorvane {

// A name rule: Desktop items whose names contain the pattern go to the named desktop.
struct CustomFilter {
    QUuid id = QUuid::createUuid();
    bool enabled = true;
    QString pattern;
    QString collection;

    bool operator==(const CustomFilter &) const = default;

    // Disabled or empty-pattern rules match nothing; otherwise a case-insensitive substring
    // test over the whole name (full case folding, no locale, diacritics significant).
    bool matches(const QString &name) const;

    // Every key optional: a missing "id" gets a fresh random identity.
    static CustomFilter fromJson(const QJsonObject &object);
    QJsonObject toJson() const;
};

} // namespace quorvane
