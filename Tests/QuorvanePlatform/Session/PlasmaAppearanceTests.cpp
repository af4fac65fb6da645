#include "Session/AppearanceSwitch.h"

#include <QDir>
#include <QFile>
#include <QTemporaryDir>
#include <gtest/gtest.h>

using namespace quorvane;

// KDE Plasma's colour scheme through its tool, here a stand-in on PATH that writes kdeglobals
// as the real one does.
TEST(PlasmaAppearance, TheColourSchemeTurnsDarkAndTheUsersComesBack)
{
    QTemporaryDir bin;
    const QString config = qEnvironmentVariable("XDG_CONFIG_HOME");
    const QString kdeglobals = config + "/kdeglobals";
    QFile tool(bin.filePath("plasma-apply-colorscheme"));
    ASSERT_TRUE(tool.open(QIODevice::WriteOnly));
    tool.write("#!/bin/sh\nprintf '[General]\\nColorScheme=%s\\n' \"$1\" > \"$XDG_CONFIG_HOME/kdeglobals\"\n");
    tool.close();
    tool.setPermissions(QFile::ReadOwner | QFile::WriteOwner | QFile::ExeOwner);
    const QByteArray path = qgetenv("PATH");
    qputenv("PATH", QFile::encodeName(bin.path()) + ':' + path);
    const auto scheme = [&] {
        QFile file(kdeglobals);
        return file.open(QIODevice::ReadOnly) ? QString::fromUtf8(file.readAll()) : QString();
    };
    QDir().mkpath(config);
    QFile users(kdeglobals);
    ASSERT_TRUE(users.open(QIODevice::WriteOnly));
    users.write("[KDE]\nSingleClick=false\n\n[General]\nColorScheme=Oxygen\n");
    users.close();

    QTemporaryDir store;
    LinuxAppearanceSwitch appearance(SettingsLedger::inStore(store.path()), LinuxAppearanceSwitch::Desktop::kde, {});
    EXPECT_FALSE(appearance.isDark());
    EXPECT_EQ(appearance.setDark(true), std::nullopt);
    EXPECT_EQ(scheme(), "[General]\nColorScheme=BreezeDark\n");
    EXPECT_TRUE(appearance.isDark());
    EXPECT_EQ(appearance.setDark(false), std::nullopt);
    EXPECT_EQ(scheme(), "[General]\nColorScheme=Oxygen\n");

    // Without the tool: said, nothing changed.
    qputenv("PATH", "/nonexistent");
    const auto failure = appearance.setDark(true);
    qputenv("PATH", path);
    ASSERT_TRUE(failure);
    EXPECT_TRUE(failure->startsWith("plasma-apply-colorscheme")) << failure->toStdString();
    EXPECT_EQ(scheme(), "[General]\nColorScheme=Oxygen\n");
    QFile::remove(kdeglobals);
}
