#pragma once

// A controller on a temporary home folder with a manual clock, scripted alerts and fakes of
// every desktop service, plus helpers to lay out desktops on disk.
#include "Controller/AppController.h"
#include "FakeDesktopIconHost.h"
#include "FakePointerSource.h"
#include "FakeScreenList.h"
#include "FakeSpaceProvider.h"
#include "Fakes/FakeHotKeyRegistrar.h"
#include "Fakes/FakeRunningInstances.h"
#include "Fakes/FakeSessionEvents.h"
#include "Fakes/FakeStatusItem.h"
#include "Fakes/RecordingActivationPolicy.h"
#include "Fakes/ScriptedAlertPresenter.h"
#include "Fakes/ScriptedDialogs.h"
#include "FileStateStore.h"
#include "LogCapture.h"
#include "ManualScheduler.h"
#include "Overlays/SystemAppearance.h"
#include "Session/AppearanceSwitch.h"
#include "Session/PreferenceReader.h"
#include "Shared/Log.h"
#include "TestEnvironment.h"

#include <QDir>
#include <QFile>
#include <QUrl>
#include <gtest/gtest.h>

#include <functional>
#include <utility>

namespace quorvane::test {

// The session's mode as one flag: the switch sets it, the preference reads it; the mode it had
// before the first change is borrowed until a change or putBack() gives it back.
struct FakeSession final : PreferenceReader, AppearanceSwitch {
    bool dark = false;
    std::optional<bool> users;
    std::vector<bool> changes;
    std::optional<QVariant> value(const QString &, const QString &key) const override
    {
        if (key == QLatin1String("AppleInterfaceStyle") && dark)
            return QVariant(QStringLiteral("Dark"));
        return std::nullopt;
    }
    std::optional<QString> setDark(bool d) override
    {
        if (!users)
            users = dark;
        else if (*users == d)
            users.reset();
        changes.push_back(d);
        dark = d;
        return std::nullopt;
    }
    bool borrowing() const override { return users.has_value(); }
    std::optional<QString> putBack() override
    {
        if (users && *users != dark) {
            dark = *users;
            changes.push_back(dark);
        }
        users.reset();
        return std::nullopt;
    }
};

struct ControllerHarness : ::testing::Test {
    TempHome home;
    ManualScheduler scheduler;
    ScriptedAlertPresenter alerts;
    ScriptedDialogs dialogs;
    RecordingActivationPolicy activation;
    FakeRunningInstances instances;
    FakeSession session;
    FakeHotKeyRegistrar hotKeys;
    FakeSessionEvents sessionEvents;
    FakeSpaceProvider spaces;
    FakePointerSource pointerSource;
    SystemAppearance appearance{session, session};
    std::vector<QUrl> opened;
    int terminations = 0;
    std::shared_ptr<FakeStatusItem> status = std::make_shared<FakeStatusItem>();
    AppInfo info = AppInfo::installed();
    std::optional<Paths> pathsOverride;
    FakeScreenList screens;
    FakeCompositor compositor;
    QPoint pointer{10, 10};
    std::shared_ptr<FakeDesktopIconHost> iconHost = std::make_shared<FakeDesktopIconHost>();
    std::function<void()> midSwitch;

    void SetUp() override { Log::start(AppInfo::installed(), QString()); }

    Paths paths() const { return pathsOverride ? *pathsOverride : Paths::forHome(home.path()); }

    AppEnvironment environment()
    {
        AppEnvironment env{paths(), info, [this] { return status; }, &scheduler, &alerts, &activation, &instances, &appearance, {}, {}};
        env.openUrl = [this](const QUrl &url) { opened.push_back(url); };
        env.terminate = [this] { ++terminations; };
        env.screens = &screens;
        env.compositor = &compositor;
        // The cover's fade-in never waits in a test; it runs what a test does mid-switch.
        env.coverSleep = [this](double) {
            if (midSwitch)
                std::exchange(midSwitch, nullptr)();
        };
        env.pointer = [this] { return pointer; };
        env.iconHost = [this] { return iconHost; };
        env.hotKeyRegistrar = &hotKeys;
        env.session = &sessionEvents;
        env.dialogs = &dialogs;
        env.pointerSource = &pointerSource;
        env.spaces = &spaces;
        env.session = &sessionEvents;
        return env;
    }

    // Switches to `to` with a cover and runs `during` once as the cover shows, before any file
    // moves: what happens while a switch is under way.
    void switchRunning(AppController &controller, const QString &to, const std::function<void()> &during)
    {
        Config config = load();
        config.settings.switchTransition = SwitchTransition::blur;
        save(config);
        bool ran = false;
        midSwitch = [&] {
            ran = true;
            during();
        };
        controller.performSwitch(to, true);
        midSwitch = nullptr;
        EXPECT_TRUE(ran) << "no cover showed";
        EXPECT_EQ(load().activeWorkspace, to);
    }

    QString root() const { return paths().workspaces(); }
    QString desktop() const { return paths().desktop(); }
    FileStateStore store() const { return FileStateStore(paths().config(), paths().journal()); }

    // Items directly in a folder, hidden ones left out, sorted.
    static QStringList entries(const QString &folder)
    {
        return QDir(folder).entryList(QDir::AllEntries | QDir::NoDotAndDotDot, QDir::Name);
    }
    static void touch(const QString &folder, const QStringList &names)
    {
        QDir().mkpath(folder);
        for (const QString &name : names)
            writeFile(folder + '/' + name, name.toUtf8());
    }

    // A document with the given desktops (each with its folder), the first one active, plus
    // the blank desktop; the active desktop's files lie on the Desktop.
    Config layOut(const std::vector<std::pair<QString, QStringList>> &desktops)
    {
        Config config;
        config.activeWorkspace = desktops.front().first;
        for (const auto &[name, files] : desktops) {
            Workspace workspace = Workspace::make(name);
            workspace.files = files;
            config.workspaces.push_back(workspace);
            QDir().mkpath(root() + '/' + name);
            touch(name == config.activeWorkspace ? desktop() : root() + '/' + name, files);
        }
        config.workspaces.push_back(Workspace::make(Config::blankWorkspaceName));
        QDir().mkpath(root() + '/' + Config::blankWorkspaceName);
        QDir().mkpath(desktop());
        save(config);
        return config;
    }
    void save(const Config &config)
    {
        QDir().mkpath(paths().store());
        store().saveConfig(config);
    }
    Config load() { return store().loadConfig(); }
    // Marks the stored document as one of a newer version, which a launch takes read-only.
    void markNewer()
    {
        QByteArray text = configBytes();
        text.replace("\"schemaVersion\":1", "\"schemaVersion\":2");
        ASSERT_TRUE(text.contains("\"schemaVersion\":2"));
        writeFile(paths().config(), text);
    }
    QByteArray configBytes() const { return readFile(paths().config()); }
};

} // namespace quorvane::test
