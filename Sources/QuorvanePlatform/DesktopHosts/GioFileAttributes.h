#pragma once

#include <QString>

#include <optional>
#include <vector>

namespace quorvane {

// One attribute of many local files set in this process through GIO's own file interface, the
// way its command-line tool does for one file, without following links: one call into the
// metadata daemon per file, no child process. Runs on any thread.
class GioFileAttributes {
public:
    struct Change {
        QString path;
        std::optional<QString> value; // none: the entry goes
    };
    struct Outcome {
        // GIO in this process cannot serve the attribute (no metadata daemon reached): nothing
        // was written, the caller may turn to the tool.
        bool unsupported = false;
        std::optional<QString> failure; // the first file that failed, and why
    };

    static Outcome apply(const QString &attribute, const std::vector<Change> &changes);
};

} // namespace quorvane
