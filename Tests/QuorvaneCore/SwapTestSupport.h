#pragma once

#include "Config.h"
#include "FileStateStore.h"
#include "FileSystemSurface.h"
#include "Paths.h"
#include "TestEnvironment.h"

#include <QDir>
#include <QFile>
#include <QStringList>

#include <vector>

namespace quorvane::test {

// A document with the given desktops (the blank desktop's record included when named), the
// given active desktop and pinned names.
inline Config deskDocument(const QString &active, const QStringList &desks, const QStringList &pinned = {})
{
    Config config = Config::defaultDocument();
    config.activeWorkspace = active;
    for (const QString &name : desks)
        config.workspaces.push_back(Workspace::make(name));
    config.settings.pinnedFolders = pinned;
    return config;
}

// A temporary home with a Desktop, a desktops folder and a store folder, the file-system
// surface and the file store on it.
struct DiskDesks {
    TempHome home;
    Paths paths = Paths::forHome(home.path());
    FileSystemSurface surface{paths.desktop(), paths.workspaces()};
    FileStateStore store{paths.config(), paths.journal()};

    DiskDesks()
    {
        QDir().mkpath(paths.desktop());
        QDir().mkpath(paths.store());
    }

    QString folderOf(const Location &at) const
    {
        return at.isDesktop() ? paths.desktop() : paths.workspaces() + '/' + at.name();
    }
    QString pathOf(const Location &at, const QString &name) const { return folderOf(at) + '/' + name; }

    // A file with the given contents, or (contents empty) a folder holding one file named
    // "inner" whose contents are the item's name.
    void put(const Location &at, const QString &name, const QByteArray &contents = {}) const
    {
        QDir().mkpath(folderOf(at));
        if (contents.isEmpty())
            writeFile(pathOf(at, name) + QStringLiteral("/inner"), name.toUtf8());
        else
            writeFile(pathOf(at, name), contents);
    }

    QStringList names(const Location &at) const
    {
        QDir dir(folderOf(at));
        QStringList out = dir.entryList(QDir::AllEntries | QDir::Hidden | QDir::System | QDir::NoDotAndDotDot, QDir::Name);
        out.removeAll(QStringLiteral(".store"));
        return out;
    }
};

} // namespace quorvane::test
