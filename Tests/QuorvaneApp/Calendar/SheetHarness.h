#pragma once

// A settings model over a document on disk in a temporary home folder, for the tests of the
// new-desktop form and window: they drive the controls and read what the model stored.
#include "Calendar/NameField.h"
#include "FileStateStore.h"
#include "Paths.h"
#include "Settings/SettingsModel.h"
#include "TestEnvironment.h"

#include <QComboBox>
#include <QDir>
#include <QFileInfo>
#include <QTest>
#include <gtest/gtest.h>

#include <memory>

namespace quorvane::test {

struct SheetHarness : ::testing::Test {
    TempHome home;
    Paths paths = Paths::forHome(home.path());
    FileStateStore store{paths.config(), paths.journal()};
    std::unique_ptr<SettingsModel> model;
    int changes = 0;

    // Default (active, permanent) and the blank desktop; the hint already dismissed.
    static Config document()
    {
        Config config = Config::defaultDocument();
        config.activeWorkspace = QStringLiteral("Default");
        config.workspaces = {Workspace::make(QStringLiteral("Default")), Workspace::make(Config::blankWorkspaceName)};
        config.settings.showShortcutHint = false;
        return config;
    }
    // Stores the document and builds the model over it.
    void start(const Config &config = document())
    {
        QDir().mkpath(QFileInfo(paths.config()).absolutePath());
        store.saveConfig(config);
        model = std::make_unique<SettingsModel>(store, paths);
        model->reload();
        QObject::connect(model.get(), &SettingsModel::stored, [this] { ++changes; });
    }
    Config stored() { return store.loadConfig(); }
    std::optional<Workspace> storedWorkspace(const QString &name)
    {
        const Config config = stored();
        const Workspace *w = config.workspace(name);
        return w ? std::optional<Workspace>(*w) : std::nullopt;
    }

    template <class T>
    static T *child(QWidget *root, const char *name)
    {
        T *found = root->findChild<T *>(QString::fromLatin1(name));
        EXPECT_NE(found, nullptr) << name;
        return found;
    }
    // Types into the name field as the user would.
    static void type(QWidget *root, const QString &text)
    {
        auto *field = child<NameField>(root, "name");
        field->setFocus();
        QTest::keyClicks(field, text);
    }
    // Chooses an entry of a picker with the keyboard, as a user would (activated fires).
    static void pick(QWidget *root, const char *name, const QString &entry)
    {
        auto *picker = child<QComboBox>(root, name);
        picker->setFocus();
        QTest::keyClick(picker, Qt::Key_Home);
        for (int i = 0; i < picker->count() && picker->currentText() != entry; ++i)
            QTest::keyClick(picker, Qt::Key_Down);
        EXPECT_EQ(picker->currentText(), entry) << name;
    }
};

} // namespace quorvane::test
