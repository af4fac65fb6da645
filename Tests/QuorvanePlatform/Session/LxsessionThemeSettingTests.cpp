#include "Session/AppearanceSwitch.h"
#include "Session/LxsessionThemeSetting.h"
#include "TestEnvironment.h"

#include <QDir>
#include <QFile>
#include <gtest/gtest.h>

using namespace quorvane;

namespace {

struct LxdeTheme : ::testing::Test {
    test::TempHome home;
    QString user = home.filePath("config/lxsession/LXDE/desktop.conf");
    QString system = home.filePath("etc/lxsession/LXDE/desktop.conf");
    int reloads = 0;

    std::unique_ptr<LinuxAppearanceSwitch> lxdeSwitch()
    {
        auto setting = std::make_unique<LxsessionThemeSetting>(
            user, QStringList{system},
            [](const QString &theme) -> std::optional<QString> {
                if (theme.endsWith("-dark"))
                    return theme;
                return theme == "Clearlooks" ? std::optional<QString>("Clearlooks-dark") : std::nullopt;
            },
            [](const QString &theme) { return std::optional<QString>(QString(theme).remove("-dark")); },
            [](const QString &theme) { return theme.endsWith("-dark"); });
        setting->reload = [this] {
            ++reloads;
            return std::nullopt;
        };
        std::vector<std::unique_ptr<LookSetting>> settings;
        settings.push_back(std::move(setting));
        return std::make_unique<LinuxAppearanceSwitch>(SettingsLedger::inStore(home.path()), std::move(settings));
    }
    QString userText() const
    {
        QFile file(user);
        return file.open(QIODevice::ReadOnly) ? QString::fromUtf8(file.readAll()) : QString();
    }
};

} // namespace

// Dark turns lxsession's own theme, in the user's file made from the system's with every other
// line kept, and lxsession reloads it; the user's theme comes back.
TEST_F(LxdeTheme, DarkTurnsLxsessionsThemeInTheUsersFileAndBack)
{
    QDir().mkpath(QFileInfo(system).path());
    const QString systemText = "[Session]\nwindow_manager=openbox-lxde\n[GTK]\nsNet/ThemeName=Clearlooks\niGtk/CursorThemeSize=18\n";
    test::writeFile(system, systemText.toUtf8());
    auto appearance = lxdeSwitch();
    EXPECT_EQ(appearance->themeWithoutDarkVariant(), std::nullopt);
    ASSERT_EQ(appearance->setDark(true), std::nullopt);
    EXPECT_EQ(userText(), QString(systemText).replace("Clearlooks", "Clearlooks-dark"));
    EXPECT_EQ(reloads, 1);
    EXPECT_TRUE(appearance->isDark());
    ASSERT_EQ(appearance->putBack(), std::nullopt);
    EXPECT_EQ(userText(), systemText);
    EXPECT_EQ(reloads, 2);
}

// A theme without a dark variant is named, and Dark says so rather than change anything.
TEST_F(LxdeTheme, AThemeWithoutADarkVariantIsNamed)
{
    QDir().mkpath(QFileInfo(user).path());
    test::writeFile(user, "[GTK]\nsNet/ThemeName=Mist\n");
    auto appearance = lxdeSwitch();
    EXPECT_EQ(appearance->themeWithoutDarkVariant(), QString("Mist"));
    EXPECT_EQ(appearance->setDark(true), QString("sNet/ThemeName: no dark variant of Mist"));
    EXPECT_EQ(reloads, 0);

    // The key goes into the [GTK] group, added where the file had none.
    EXPECT_EQ(LxsessionThemeSetting::withTheme("[Session]\na=1\n", "X"), "[Session]\na=1\n[GTK]\nsNet/ThemeName=X\n");
    EXPECT_EQ(LxsessionThemeSetting::withTheme("[GTK]\nb=2\n[Other]\nsNet/ThemeName=Y\n", "X"),
              "[GTK]\nsNet/ThemeName=X\nb=2\n[Other]\nsNet/ThemeName=Y\n");
}
