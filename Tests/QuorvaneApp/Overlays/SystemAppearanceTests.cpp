#include "LogCapture.h"
#include "Overlays/SystemAppearance.h"
#include "Shared/Log.h"
#include "Work/HostWork.h"

#include <QCoreApplication>
#include <QFile>
#include <QStandardPaths>
#include <QTemporaryDir>
#include <QThread>
#include <gtest/gtest.h>

#include <atomic>

using namespace quorvane;

namespace {

class FakePreferences final : public PreferenceReader {
public:
    std::optional<QVariant> global;
    std::optional<QVariant> value(const QString &domain, const QString &key) const override
    {
        if (domain.isEmpty() && key == "AppleInterfaceStyle")
            return global;
        return std::nullopt;
    }
};

class FakeSwitch final : public AppearanceSwitch {
public:
    std::optional<QString> failure;
    std::vector<bool> calls;
    std::atomic<bool> hold = false; // a desktop that takes its time
    std::optional<QString> setDark(bool dark) override
    {
        while (hold)
            QThread::msleep(1);
        calls.push_back(dark);
        return failure;
    }
    bool borrowing() const override { return false; }
    std::optional<QString> putBack() override { return std::nullopt; }
};

} // namespace

TEST(SystemAppearance, DarkOnlyForTheStringDarkInAnyCase)
{
    FakePreferences preferences;
    FakeSwitch appearanceSwitch;
    SystemAppearance appearance(preferences, appearanceSwitch);
    const std::pair<std::optional<QVariant>, bool> table[] = {
        {std::nullopt, false},
        {QVariant(QStringLiteral("Dark")), true},
        {QVariant(QStringLiteral("DARK")), true},
        {QVariant(QStringLiteral("Light")), false},
        {QVariant(QStringLiteral("dark ")), false},
        {QVariant(QByteArray("Dark")), false}, // not a string
        {QVariant(1), false},
    };
    for (const auto &[value, dark] : table) {
        preferences.global = value;
        appearance.sessionChanged();
        EXPECT_EQ(appearance.currentIsDark(), dark) << (value ? value->toString().toStdString() : "absent");
    }
}

// A switch asks the mode without asking the session: it is read once, then follows what this
// process set and what the session's change signals tell.
class CountingPreferences final : public PreferenceReader {
public:
    std::optional<QVariant> global;
    mutable int reads = 0;
    std::optional<QVariant> value(const QString &, const QString &) const override
    {
        ++reads;
        return global;
    }
};

TEST(SystemAppearance, TheSessionIsReadOnceThenFollowedBySetsAndChangeSignals)
{
    CountingPreferences preferences;
    FakeSwitch appearanceSwitch;
    SystemAppearance appearance(preferences, appearanceSwitch);
    std::vector<bool> heard;
    appearance.onChange = [&](bool dark) { heard.push_back(dark); };

    EXPECT_FALSE(appearance.currentIsDark());
    EXPECT_FALSE(appearance.currentIsDark());
    EXPECT_EQ(preferences.reads, 1);

    appearance.setDark(true); // the session turns dark, by this process
    EXPECT_TRUE(appearance.currentIsDark());
    EXPECT_EQ(preferences.reads, 1);

    // The user turns it light in the desktop's settings: unseen until the change signal.
    preferences.global.reset();
    EXPECT_TRUE(appearance.currentIsDark());
    appearance.sessionChanged();
    EXPECT_FALSE(appearance.currentIsDark());
    EXPECT_EQ(preferences.reads, 2);
    EXPECT_EQ(heard, (std::vector<bool>{true, false}));

    // A change signal that changes nothing tells no window.
    appearance.sessionChanged();
    EXPECT_EQ(preferences.reads, 3);
    EXPECT_EQ(heard, (std::vector<bool>{true, false}));

    // A failed flip leaves the mode unknown: the session is asked again.
    appearanceSwitch.failure = QStringLiteral("no colour scheme");
    test::LogCapture quiet;
    appearance.setDark(true);
    EXPECT_FALSE(appearance.currentIsDark());
    EXPECT_EQ(preferences.reads, 4);
}

TEST(SystemAppearance, AFailedFlipIsLoggedNotThrown)
{
    FakePreferences preferences;
    FakeSwitch appearanceSwitch;
    SystemAppearance appearance(preferences, appearanceSwitch);
    std::vector<bool> heard;
    appearance.onChange = [&](bool dark) { heard.push_back(dark); };
    std::vector<test::LogCapture::Entry> captured;
    {
        test::LogCapture log;
        appearance.setDark(true);
        appearanceSwitch.failure = QStringLiteral("no colour scheme");
        appearance.setDark(false);
        captured = log.entries;
    }

    EXPECT_EQ(appearanceSwitch.calls, (std::vector<bool>{true, false}));
    EXPECT_EQ(heard, (std::vector<bool>{true, false})); // the windows follow what was asked
    ASSERT_EQ(captured.size(), 1u);
    EXPECT_EQ(captured[0].type, QtCriticalMsg);
    EXPECT_EQ(captured[0].category, QString::fromUtf8(Log::app().categoryName()));
    EXPECT_EQ(captured[0].text, "appearance flip to light failed: no colour scheme");
}

TEST(SystemAppearance, TheSessionWithoutItsSchemaGivesOneLineWithTheToolsText)
{
    if (QStandardPaths::findExecutable("gsettings").isEmpty())
        GTEST_SKIP() << "no gsettings tool";
    QTemporaryDir empty;
    const QByteArray dataDirs = qgetenv("XDG_DATA_DIRS");
    qputenv("GSETTINGS_SCHEMA_DIR", QFile::encodeName(empty.path()));
    qputenv("XDG_DATA_DIRS", QFile::encodeName(empty.path()));
    LinuxPreferenceReader preferences;
    LinuxAppearanceSwitch appearanceSwitch(SettingsLedger::inStore(empty.path()));
    SystemAppearance appearance(preferences, appearanceSwitch);
    std::vector<test::LogCapture::Entry> captured;
    {
        test::LogCapture log;
        EXPECT_FALSE(appearance.currentIsDark());
        appearance.setDark(true);
        captured = log.entries;
    }
    qunsetenv("GSETTINGS_SCHEMA_DIR");
    qputenv("XDG_DATA_DIRS", dataDirs);
    ASSERT_EQ(captured.size(), 1u);
    EXPECT_EQ(captured[0].text, "appearance flip to dark failed: No schemas installed");
}

TEST(SystemAppearance, ASlowDesktopHoldsNoFlipAndTheModeAskedForStandsMeanwhile)
{
    HostWork::setInline(false);
    FakePreferences preferences; // the session still says light
    FakeSwitch appearanceSwitch;
    appearanceSwitch.hold = true;
    std::vector<bool> heard;
    {
        SystemAppearance appearance(preferences, appearanceSwitch);
        appearance.onChange = [&](bool dark) { heard.push_back(dark); };
        appearance.setDark(true); // back at once, the desktop still busy
        EXPECT_EQ(heard, std::vector<bool>{true});
        EXPECT_TRUE(appearanceSwitch.calls.empty());
        EXPECT_TRUE(appearance.currentIsDark());
        appearanceSwitch.hold = false;
        EXPECT_TRUE(HostWork::drain());
        EXPECT_EQ(appearanceSwitch.calls, std::vector<bool>{true});
    }
    HostWork::setInline(true);
}

// A flip the session can't make (a theme without a dark variant, no dark switch at all) leaves
// the session's own look: the windows that followed the request follow the session again.
TEST(SystemAppearance, AfterAFailedFlipTheWindowsFollowTheSessionsOwnLook)
{
    FakePreferences preferences;
    FakeSwitch appearanceSwitch;
    SystemAppearance appearance(preferences, appearanceSwitch);
    std::vector<bool> heard;
    appearance.onChange = [&](bool dark) { heard.push_back(dark); };
    appearanceSwitch.failure = QStringLiteral("theme: no dark variant of 'Menta'");
    test::LogCapture quiet;
    appearance.setDark(true);
    QCoreApplication::processEvents();
    EXPECT_EQ(heard, (std::vector<bool>{true, false}));
    EXPECT_FALSE(appearance.currentIsDark());

    preferences.global = QStringLiteral("Dark"); // a session dark of its own: nothing to take back
    appearance.sessionChanged();
    heard.clear();
    appearance.setDark(false);
    QCoreApplication::processEvents();
    EXPECT_EQ(heard, (std::vector<bool>{false, true}));
    EXPECT_TRUE(appearance.currentIsDark());
}
