#include "Files/LinuxDesktopServices.h"
#include "Install/LinuxLoginItem.h"

#include "TestEnvironment.h"

#include <QDBusConnection>
#include <QDBusConnectionInterface>
#include <QDir>
#include <QFile>
#include <QMutex>
#include <QObject>
#include <QSignalSpy>
#include <QTest>
#include <QThread>
#include <gtest/gtest.h>

using namespace quorvane;

namespace {

// A file manager on the test's own bus that records what it was asked to show.
class FakeFileManager : public QObject {
    Q_OBJECT
    Q_CLASSINFO("D-Bus Interface", "org.freedesktop.FileManager1")

public:
    // How long it takes to answer.
    int delayMs = 0;
    QStringList shownItems() const
    {
        const QMutexLocker lock(&m_mutex);
        return m_shown;
    }

public slots:
    void ShowItems(const QStringList &uris, const QString &)
    {
        QThread::msleep(static_cast<unsigned long>(delayMs));
        const QMutexLocker lock(&m_mutex);
        m_shown = uris;
    }

private:
    mutable QMutex m_mutex;
    QStringList m_shown;
};

} // namespace

// Run on a bus of its own that can start no installed service (Support/run_on_private_bus.sh);
// skipped anywhere else, where a file manager the machine has would be started for real.
TEST(DesktopReveal, ShowsItemsThroughTheFileManagerElseOpensTheirFolder)
{
    if (qgetenv("QUORVANE_PRIVATE_BUS") != "1")
        GTEST_SKIP() << "needs a private session bus";
    if (!QDBusConnection::sessionBus().isConnected())
        GTEST_SKIP() << "no session bus";
    std::vector<QUrl> opened;
    LinuxDesktopServices services([&](const QUrl &url) { opened.push_back(url); });

    // No file manager on the bus: the parent folder opens.
    services.reveal({"/tmp/some folder/item.txt"});
    EXPECT_EQ(opened, (std::vector<QUrl>{QUrl::fromLocalFile("/tmp/some folder")}));

    QDBusConnection bus = QDBusConnection::connectToBus(QDBusConnection::SessionBus, QStringLiteral("fake-fm"));
    FakeFileManager manager;
    ASSERT_TRUE(bus.registerObject(QStringLiteral("/org/freedesktop/FileManager1"), &manager,
                                   QDBusConnection::ExportAllSlots));
    ASSERT_TRUE(bus.registerService(QStringLiteral("org.freedesktop.FileManager1")));
    services.reveal({"/tmp/some folder/item.txt"});
    EXPECT_TRUE(QTest::qWaitFor([&] { return !manager.shownItems().isEmpty(); }, 5000));
    EXPECT_EQ(manager.shownItems(), QStringList({"file:///tmp/some%20folder/item.txt"}));
    QTest::qWait(50);
    EXPECT_EQ(opened.size(), 1u); // nothing opened besides
    bus.unregisterService(QStringLiteral("org.freedesktop.FileManager1"));
    QDBusConnection::disconnectFromBus(QStringLiteral("fake-fm"));
}

// A process about to quit waits for the file manager's answer, serving no events meanwhile;
// a request left on its way dies with the process.
TEST(DesktopReveal, BeforeQuittingTheFileManagersAnswerIsAwaited)
{
    if (!QDBusConnection::sessionBus().isConnected())
        GTEST_SKIP() << "no session bus";
    std::vector<QUrl> opened;
    LinuxDesktopServices services([&](const QUrl &url) { opened.push_back(url); });

    // The file manager answers from a thread of its own, as another process would.
    QThread thread;
    thread.start();
    FakeFileManager manager;
    manager.delayMs = 300;
    manager.moveToThread(&thread);
    QDBusConnection bus = QDBusConnection::connectToBus(QDBusConnection::SessionBus, QStringLiteral("slow-fm"));
    ASSERT_TRUE(bus.registerObject(QStringLiteral("/org/freedesktop/FileManager1"), &manager,
                                   QDBusConnection::ExportAllSlots));
    ASSERT_TRUE(bus.registerService(QStringLiteral("org.freedesktop.FileManager1")));
    services.revealBeforeQuitting({"/opt/q/bin/quorvane"}, 2000);
    EXPECT_EQ(manager.shownItems(), QStringList({"file:///opt/q/bin/quorvane"})) << "returned before the answer";
    EXPECT_TRUE(opened.empty()) << "shown, so no folder opens besides";
    bus.unregisterService(QStringLiteral("org.freedesktop.FileManager1"));
    bus.unregisterObject(QStringLiteral("/org/freedesktop/FileManager1"));
    QDBusConnection::disconnectFromBus(QStringLiteral("slow-fm"));
    thread.quit();
    thread.wait();
}

TEST(DesktopHandlers, AMailAddressOpensOnlyWhereAMailAppIsNamed)
{
    test::TempHome home;
    const QString config = home.path() + "/config";
    const QString data = home.path() + "/data";
    const auto mail = [&] { return LinuxDesktopServices::schemeHasHandler("mailto", {config}, {data}); };
    EXPECT_FALSE(mail());
    // A removed association and an empty default name nothing.
    test::writeFile(config + "/mimeapps.list",
                    "[Removed Associations]\nx-scheme-handler/mailto=mail.desktop;\n[Default Applications]\n"
                    "x-scheme-handler/mailto=\n");
    EXPECT_FALSE(mail());
    test::writeFile(data + "/applications/mimeinfo.cache", "[MIME Cache]\nx-scheme-handler/mailto=mail.desktop;\n");
    EXPECT_TRUE(mail());
    EXPECT_FALSE(LinuxDesktopServices::schemeHasHandler("news", {config}, {data}));
    EXPECT_TRUE(LinuxDesktopServices().canOpen(QUrl::fromLocalFile(home.path())));
}

TEST(LinuxLoginItem, WritesTheAutostartEntryAndRemovesIt)
{
    test::TempHome home;
    const QString config = home.path() + "/config";
    qputenv("XDG_CONFIG_HOME", QFile::encodeName(config));
    LinuxLoginItem item("app.quorvane.Quorvane", "/opt/My Apps/quorvane");
    const QString entry = config + "/autostart/app.quorvane.Quorvane.desktop";
    EXPECT_EQ(item.entryPath(), entry);
    EXPECT_FALSE(item.isEnabled());
    EXPECT_EQ(item.registerItem(), std::nullopt);
    EXPECT_TRUE(item.isEnabled());
    QFile file(entry);
    ASSERT_TRUE(file.open(QIODevice::ReadOnly));
    const QByteArray text = file.readAll();
    file.close();
    EXPECT_TRUE(text.contains("\nExec=\"/opt/My Apps/quorvane\"\n")) << text.constData();
    EXPECT_FALSE(text.contains("Hidden"));

    // A hidden entry reads off, and registering replaces it.
    test::writeFile(entry, "[Desktop Entry]\nType=Application\nExec=old\nHidden=true\n");
    EXPECT_FALSE(item.isEnabled());
    EXPECT_EQ(item.registerItem(), std::nullopt);
    EXPECT_TRUE(item.isEnabled());
    // Only the entry's own group says whether it is hidden.
    test::writeFile(entry, "[Desktop Entry]\nExec=old\n[Desktop Action x]\nHidden = true\n");
    EXPECT_TRUE(item.isEnabled());
    test::writeFile(entry, "[Desktop Entry]\nExec=old\nHidden = true\n");
    EXPECT_FALSE(item.isEnabled());
    EXPECT_EQ(item.registerItem(), std::nullopt);

    EXPECT_EQ(item.unregisterItem(), std::nullopt);
    EXPECT_FALSE(QFile::exists(entry));
    EXPECT_FALSE(item.isEnabled());
    EXPECT_EQ(item.unregisterItem(), std::nullopt);

    // A file where the folder should be: the failure is told, nothing reads on.
    QDir(config).removeRecursively();
    test::writeFile(config + "/autostart", "not a folder");
    const std::optional<QString> failure = item.registerItem();
    ASSERT_TRUE(failure);
    EXPECT_TRUE(failure->contains("autostart"));
    EXPECT_FALSE(item.isEnabled());
    qputenv("XDG_CONFIG_HOME", QFile::encodeName(QDir::homePath() + "/.config"));
}

TEST(LinuxLoginItem, ExecQuotingFollowsTheDesktopEntryRules)
{
    EXPECT_EQ(LinuxLoginItem::execArgument("/usr/bin/quorvane"), "\"/usr/bin/quorvane\"");
    // ", `, $ and \ take a backslash inside the quotes, which the value escaping doubles; % doubles.
    EXPECT_EQ(LinuxLoginItem::execArgument("/a\"b`c$d\\e%f"), "\"/a\\\\\"b\\\\`c\\\\$d\\\\\\\\e%%f\"");
    EXPECT_EQ(LinuxLoginItem::execArgument("/a\nHidden=true/b\tc"), "\"/a\\nHidden=true/b\\tc\"");
}

#include "LinuxDesktopServicesTests.moc"
