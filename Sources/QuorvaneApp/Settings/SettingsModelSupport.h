#pragma once

// Small pieces the settings model's operations share.
#include "Config.h"
#include "Names.h"

#include <QString>
#include <QStringList>

#include <vector>

namespace quorvane::settings {

inline QString quoted(const QString &name)
{
    return QStringLiteral("“") + name + QStringLiteral("”");
}

inline bool isBlankDesktop(const QString &name)
{
    return namesEqual(name, Config::blankWorkspaceName);
}

// Adds a record after every other desktop and before the blank desktop's, which stays last.
inline void addBeforeBlank(Config &config, Workspace record)
{
    std::vector<Workspace> ordered;
    std::vector<Workspace> blank;
    for (Workspace &w : config.workspaces)
        (isBlankDesktop(w.name) ? blank : ordered).push_back(std::move(w));
    ordered.push_back(std::move(record));
    for (Workspace &w : blank)
        ordered.push_back(std::move(w));
    config.workspaces = std::move(ordered);
}

// The colours of every desktop but the blank one.
inline QStringList coloursInUse(const Config &config)
{
    QStringList colours;
    for (const Workspace &w : config.workspaces) {
        if (!isBlankDesktop(w.name))
            colours.append(w.colorHex);
    }
    return colours;
}

} // namespace quorvane::settings
