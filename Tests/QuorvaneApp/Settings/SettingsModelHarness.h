#pragma once

// A settings model on a temporary home folder: the real store, the real file operations behind
// a fake that can fail any step, and a store that can be told to fail its saves.
#include "Desktop/Archiver.h"
#include "Fakes/FakeFileOperations.h"
#include "FileStateStore.h"
#include "IoError.h"
#include "Settings/SettingsModel.h"
#include "TestEnvironment.h"

#include <QDir>
#include <QFile>
#include <gtest/gtest.h>

#include <memory>

namespace quorvane::test {

// The store on disk, whose saves can be made to fail (nothing is written then).
class FailableStore final : public StateStore {
public:
    explicit FailableStore(const Paths &paths)
        : m_inner(paths.config(), paths.journal())
    {
    }
    bool failSaves = false;
    int saves = 0;
    int loads = 0;
    Config loadConfig() override
    {
        ++loads;
        return m_inner.loadConfig();
    }
    void saveConfig(const Config &config) override
    {
        if (failSaves)
            throw IoError(EIO, QStringLiteral("Couldn't save the settings"));
        ++saves;
        m_inner.saveConfig(config);
    }
    std::optional<Journal> loadJournal() override { return m_inner.loadJournal(); }
    void saveJournal(const std::optional<Journal> &journal) override { m_inner.saveJournal(journal); }

private:
    FileStateStore m_inner;
};

struct SettingsModelHarness : ::testing::Test {
    TempHome home;
    Paths paths = Paths::forHome(home.path());
    FailableStore store{paths};
    FakeFileOperations files{paths.copyRecords()};
    Archiver archiver{store, paths};
    std::unique_ptr<SettingsModel> model;
    int changes = 0;
    bool busy = false;
    int busyAsked = 0;

    void SetUp() override
    {
        QDir().mkpath(paths.store());
        QDir().mkpath(paths.desktop());
    }

    // A model on the document as it is stored now, counting the changes it stored.
    SettingsModel &open()
    {
        model = std::make_unique<SettingsModel>(store, paths, &archiver, &files);
        QObject::connect(model.get(), &SettingsModel::stored, [this] { ++changes; });
        model->isBusy = [this] {
            ++busyAsked;
            return busy;
        };
        model->setClock([] { return 800000000.0; });
        return *model;
    }

    // Saves a document of the given desktops (each with a folder), the first active, and the
    // blank desktop last; then opens the model on it.
    SettingsModel &openWith(const QStringList &names, const std::function<void(Config &)> &edit = {})
    {
        Config config = Config::defaultDocument();
        for (const QString &name : names) {
            config.workspaces.push_back(Workspace::make(name));
            QDir().mkpath(folder(name));
        }
        config.workspaces.push_back(Workspace::make(Config::blankWorkspaceName));
        if (!names.isEmpty())
            config.activeWorkspace = names.front();
        if (edit)
            edit(config);
        store.saveConfig(config);
        store.saves = 0;
        return open();
    }

    QString folder(const QString &name) const { return paths.workspaces() + '/' + name; }
    Config stored() { return store.loadConfig(); }
    QStringList storedNames()
    {
        QStringList names;
        for (const Workspace &w : stored().workspaces)
            names.append(w.name);
        return names;
    }
    static QString trashFiles() { return qEnvironmentVariable("XDG_DATA_HOME") + QStringLiteral("/Trash/files"); }
    static QString trashInfo() { return qEnvironmentVariable("XDG_DATA_HOME") + QStringLiteral("/Trash/info"); }
    QString errorMessage() const { return model->errorMessage().value_or(QString()); }
};

} // namespace quorvane::test
