#pragma once

#include "Config.h"

namespace quorvane {

// The document a write made from `base` to `mine` gives when it lands on `theirs`, a later
// document that another writer made from the same base: every part the write changed takes the
// write's value, every other part stays as in theirs. Objects merge key by key, and lists of
// records with a name (the desktops) record by record, matched by name; any other value the
// write changed is the write's. A record the write removed goes, one it added comes in where
// it put it.
Config mergeDocuments(const Config &base, const Config &mine, const Config &theirs);

} // namespace quorvane
