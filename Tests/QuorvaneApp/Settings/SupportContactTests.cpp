#include "SettingsModelHarness.h"

#include "Settings/SupportContact.h"
#include "Shared/Log.h"

#include <QClipboard>
#include <QGuiApplication>
#include <QLoggingCategory>
#include <QRegularExpression>
#include <QSysInfo>
#include <QUrlQuery>

using namespace quorvane;
using namespace quorvane::test;

using SupportContactText = SettingsModelHarness;

TEST_F(SupportContactText, DiagnosticsNameTheBuildTheDesktopsAndTheJournal)
{
    Config c = Config::defaultDocument();
    c.activeWorkspace = "Work";
    for (const char *name : {"Work", "Play", "Old1", "Old2", "Old3"})
        c.workspaces.push_back(Workspace::make(name));
    c.workspaces[2].state = WorkspaceState::archivedUnsorted;
    c.workspaces[3].state = WorkspaceState::archivedSorted;
    c.workspaces[4].state = WorkspaceState::archivedSorted;
    const QStringList lines = SupportContact::diagnostics(c, false, "/home/u/QuorVane Desktops", {"dev", "–"}).split('\n');
    ASSERT_GE(lines.size(), 8);
    EXPECT_EQ(lines[0], "Quorvane dev (–) · " + QSysInfo::prettyProductName());
    EXPECT_EQ(lines[1], "Store: /home/u/QuorVane Desktops");
    EXPECT_EQ(lines[2], "Desktops: 2 live, 3 archived (1 unsorted) · active: “Work”");
    EXPECT_EQ(lines[3], "Journal pending: no");
    EXPECT_EQ(lines[4], "Config schema: 1 (this app understands 1)");
    EXPECT_EQ(lines[5], "");
    EXPECT_EQ(lines[6], "— Log, this run —");

    const auto url = SupportContact::mailURL({"dev", "–"});
    ASSERT_TRUE(url);
    EXPECT_EQ(url->scheme(), "mailto");
    EXPECT_EQ(url->path(), SupportContact::address);
    const QUrlQuery query(*url);
    EXPECT_EQ(query.queryItemValue("subject", QUrl::FullyDecoded), "Quorvane support");
    EXPECT_EQ(query.queryItemValue("body", QUrl::FullyDecoded), "\n\n—\nQuorvane dev · " + QSysInfo::prettyProductName());
}

TEST_F(SupportContactText, TheLogPartHoldsTheLastEntriesOfThisApplicationOnly)
{
    Log::start(AppInfo::installed(), QString());
    static const QLoggingCategory other("org.example.other");
    for (int i = 0; i < 250; ++i) {
        qCInfo(Log::swap()) << "entry" << i;
        qCInfo(other) << "foreign" << i;
    }
    const QStringList lines = SupportContact::recentLog(200).split('\n');
    ASSERT_EQ(lines.size(), 200);
    EXPECT_TRUE(lines.front().endsWith(" [swap] entry 50")) << lines.front().toStdString();
    EXPECT_TRUE(lines.back().endsWith(" [swap] entry 249"));
    EXPECT_TRUE(QRegularExpression("^\\d{4}-\\d\\d-\\d\\dT\\d\\d:\\d\\d:\\d\\dZ \\[").match(lines.back()).hasMatch());
    EXPECT_EQ(lines.filter("foreign").size(), 0);
}

TEST_F(SupportContactText, CopyingCountsOnlyAReadableJournal)
{
    SettingsModel &m = openWith({"Home"});
    test::writeFile(paths.journal(), "{ broken");
    m.copyDiagnostics();
    const QStringList lines = QGuiApplication::clipboard()->text().split('\n');
    ASSERT_GE(lines.size(), 8);
    EXPECT_EQ(lines[3], "Journal pending: no");
    EXPECT_EQ(lines[2], "Desktops: 1 live, 0 archived (0 unsorted) · active: “Home”");
}
