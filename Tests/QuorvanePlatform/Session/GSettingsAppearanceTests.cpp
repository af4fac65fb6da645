#include "Session/AppearanceSwitch.h"
#include "Session/PreferenceReader.h"

#include <QDir>
#include <QProcess>
#include <QStandardPaths>
#include <QTemporaryDir>
#include <gtest/gtest.h>

using namespace quorvane;

namespace {

// The real tool on the keyfile backend in this process's temporary config folder.
struct GSettingsTest : ::testing::Test {
    void SetUp() override
    {
        if (QStandardPaths::findExecutable("gsettings").isEmpty())
            GTEST_SKIP() << "no gsettings tool";
        QFile::remove(QDir(qEnvironmentVariable("XDG_CONFIG_HOME")).filePath("glib-2.0/settings/keyfile"));
    }
    void TearDown() override
    {
        qunsetenv("GSETTINGS_SCHEMA_DIR");
        qputenv("XDG_DATA_DIRS", dataDirs);
    }
    const QByteArray dataDirs = qgetenv("XDG_DATA_DIRS");
    QTemporaryDir store;
    SettingsLedger ledger = SettingsLedger::inStore(store.path());
    static QString tool(const QStringList &arguments)
    {
        QProcess process;
        process.start("gsettings", arguments);
        process.waitForFinished(5000);
        return QString::fromUtf8(process.readAllStandardOutput()).trimmed();
    }
    static QString scheme() { return tool({"get", "org.gnome.desktop.interface", "color-scheme"}); }
    static void setScheme(const QString &value) { tool({"set", "org.gnome.desktop.interface", "color-scheme", value}); }
};

} // namespace

TEST_F(GSettingsTest, DarkAndBackGivesTheUsersOwnLightValue)
{
    LinuxPreferenceReader preferences;
    const auto style = [&] { return preferences.value(QString(), "AppleInterfaceStyle"); };
    setScheme("prefer-light");
    EXPECT_EQ(style(), std::nullopt);

    LinuxAppearanceSwitch appearance(ledger);
    EXPECT_EQ(appearance.setDark(true), std::nullopt);
    EXPECT_EQ(scheme(), "'prefer-dark'");
    ASSERT_TRUE(style().has_value());
    EXPECT_EQ(style()->toString(), "Dark");
    EXPECT_EQ(preferences.value("com.apple.dock", "AppleInterfaceStyle"), std::nullopt); // only the global key

    EXPECT_EQ(appearance.setDark(false), std::nullopt);
    EXPECT_EQ(scheme(), "'prefer-light'");
    EXPECT_EQ(style(), std::nullopt);

    // Without a light value of the user's to give back, light is the default.
    setScheme("prefer-dark");
    EXPECT_EQ(LinuxAppearanceSwitch(ledger).setDark(false), std::nullopt);
    EXPECT_EQ(scheme(), "'default'");
}

TEST_F(GSettingsTest, AMissingSchemaFailsWithTheToolsOwnText)
{
    QTemporaryDir empty;
    qputenv("GSETTINGS_SCHEMA_DIR", QFile::encodeName(empty.path()));
    qputenv("XDG_DATA_DIRS", QFile::encodeName(empty.path()));
    EXPECT_EQ(LinuxAppearanceSwitch(ledger).setDark(true), QString("No schemas installed"));
    EXPECT_EQ(LinuxPreferenceReader().value(QString(), "AppleInterfaceStyle"), std::nullopt);
}

TEST_F(GSettingsTest, TheGtkThemeTurnsToItsDarkVariantAndBackExactly)
{
    QTemporaryDir themes;
    QDir(themes.path()).mkpath("Arc-Dark");
    tool({"set", "org.gnome.desktop.interface", "gtk-theme", "Arc"});
    LinuxAppearanceSwitch appearance(ledger, LinuxAppearanceSwitch::Desktop::gnome, {themes.path()});
    EXPECT_EQ(appearance.setDark(true), std::nullopt);
    EXPECT_EQ(tool({"get", "org.gnome.desktop.interface", "gtk-theme"}), "'Arc-Dark'");
    EXPECT_EQ(appearance.setDark(false), std::nullopt);
    EXPECT_EQ(tool({"get", "org.gnome.desktop.interface", "gtk-theme"}), "'Arc'");

    // Adwaita's dark variant is built into GTK; a theme without one stays, and says so.
    tool({"set", "org.gnome.desktop.interface", "gtk-theme", "Adwaita"});
    EXPECT_EQ(appearance.setDark(true), std::nullopt);
    EXPECT_EQ(tool({"get", "org.gnome.desktop.interface", "gtk-theme"}), "'Adwaita-dark'");
    appearance.setDark(false);
    tool({"set", "org.gnome.desktop.interface", "gtk-theme", "Plain"});
    EXPECT_EQ(appearance.setDark(true), QString("org.gnome.desktop.interface gtk-theme: no dark variant of 'Plain'"));
    EXPECT_EQ(scheme(), "'prefer-dark'"); // the rest went on
    EXPECT_EQ(tool({"get", "org.gnome.desktop.interface", "gtk-theme"}), "'Plain'");
}
