#include "Shared/Log.h"
#include "TestEnvironment.h"

#include <gtest/gtest.h>

using namespace quorvane;

TEST(Log, TheSubsystemIsTheIdentifierOrTheFallback)
{
    EXPECT_EQ(Log::subsystemFor(AppInfo::installed()), "app.quorvane.Quorvane");
    EXPECT_EQ(Log::subsystemFor(AppInfo::bareExecutable()), Log::fallbackSubsystem);
    EXPECT_EQ(Log::fallbackSubsystem.count(QLatin1Char('.')), 2);
    EXPECT_NE(Log::fallbackSubsystem, AppInfo::installedIdentifier);
}

TEST(Log, EntriesCarryTheSubsystemAndGoToTheFileAndTheRing)
{
    test::TempHome home;
    const QString file = home.filePath("state/quorvane/quorvane.log"); // folder created on demand

    Log::start(AppInfo::bareExecutable(), file);
    EXPECT_EQ(Log::subsystem(), Log::fallbackSubsystem);
    EXPECT_EQ(QString::fromUtf8(Log::swap().categoryName()), Log::fallbackSubsystem + ".swap");
    qCInfo(Log::swap()).noquote() << "switched to Work";
    qCCritical(Log::error()).noquote() << "surfaced to the user: boom";

    Log::start(AppInfo::installed(), file);
    const QString categories[] = {
        QString::fromUtf8(Log::app().categoryName()),
        QString::fromUtf8(Log::swap().categoryName()),
        QString::fromUtf8(Log::sweep().categoryName()),
        QString::fromUtf8(Log::archive().categoryName()),
        QString::fromUtf8(Log::error().categoryName()),
    };
    EXPECT_EQ(categories[0], "app.quorvane.Quorvane.app");
    EXPECT_EQ(categories[1], "app.quorvane.Quorvane.swap");
    EXPECT_EQ(categories[2], "app.quorvane.Quorvane.sweep");
    EXPECT_EQ(categories[3], "app.quorvane.Quorvane.archive");
    EXPECT_EQ(categories[4], "app.quorvane.Quorvane.error");
    EXPECT_FALSE(Log::app().isDebugEnabled());
    qCInfo(Log::archive()).noquote() << "archived Old";

    const auto entries = Log::recentEntries();
    ASSERT_GE(entries.size(), 3u);
    const auto &last = entries.back();
    EXPECT_EQ(last.category, "app.quorvane.Quorvane.archive");
    EXPECT_EQ(last.message, "archived Old");
    EXPECT_EQ(entries[entries.size() - 2].category, Log::fallbackSubsystem + ".error");
    EXPECT_EQ(entries[entries.size() - 2].type, QtCriticalMsg);
    EXPECT_EQ(entries[entries.size() - 3].message, "switched to Work");

    const QString text = QString::fromUtf8(test::readFile(file));
    const QStringList lines = text.split(QLatin1Char('\n'), Qt::SkipEmptyParts);
    ASSERT_EQ(lines.size(), 3);
    EXPECT_TRUE(lines[0].endsWith("[app.quorvane.dev.swap] info: switched to Work")) << lines[0].toStdString();
    EXPECT_TRUE(lines[1].endsWith("[app.quorvane.dev.error] error: surfaced to the user: boom"));
    EXPECT_TRUE(lines[2].endsWith("[app.quorvane.Quorvane.archive] info: archived Old"));
    EXPECT_EQ(lines[2], Log::format(last));
}

TEST(Log, TheRingKeepsOnlyTheMostRecentEntries)
{
    test::TempHome home;
    Log::start(AppInfo::bareExecutable(), home.filePath("quorvane.log"));
    for (std::size_t i = 0; i < Log::ringCapacity + 5; ++i)
        qCInfo(Log::app()).noquote() << QStringLiteral("line %1").arg(i);
    const auto entries = Log::recentEntries();
    ASSERT_EQ(entries.size(), Log::ringCapacity);
    EXPECT_EQ(entries.front().message, "line 5");
    EXPECT_EQ(entries.back().message, QStringLiteral("line %1").arg(Log::ringCapacity + 4));
}

TEST(Log, TheStandardFileIsInTheXdgStateFolder)
{
    EXPECT_EQ(Log::standardLogFile(), qEnvironmentVariable("XDG_STATE_HOME") + "/quorvane/quorvane.log");
}
