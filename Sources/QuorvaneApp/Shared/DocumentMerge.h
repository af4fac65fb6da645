#pragma once

#include "Config.h"

#include <QJsonValue>
#include <QList>
#include <QString>

namespace quorvane {

// A part of the document that both writers changed, each to a value of its own: the write's
// value is kept, the other is dropped. where names it as a path ("settings.moveGapMs",
// "workspaces[Work].colorHex"); an absent value (a record or key removed) is undefined.
struct MergeConflict {
    QString where;
    QJsonValue kept;
    QJsonValue dropped;

    // "settings.moveGapMs: kept 10, dropped 50", for the log.
    QString text() const;
};

// The document a write made from `base` to `mine` gives when it lands on `theirs`, a later
// document that another writer made from the same base: every part the write changed takes the
// write's value, every other part stays as in theirs. Objects merge key by key, and lists of
// records with a name (the desktops) record by record, matched by name; any other value the
// write changed is the write's. A record the write removed goes, one it added comes in where
// it put it. Every part both changed to different values is added to conflicts, when given.
Config mergeDocuments(const Config &base, const Config &mine, const Config &theirs,
                      QList<MergeConflict> *conflicts = nullptr);

} // namespace quorvane
