#include "Windows/PortalFileChooser.h"

#include <QDBusArgument>
#include <QDBusConnection>
#include <QDBusMessage>
#include <QDBusObjectPath>
#include <QObject>
#include <QTest>
#include <gtest/gtest.h>

using namespace quorvane;

namespace {

ChooserOptions wallpaperOptions()
{
    ChooserOptions options;
    options.title = QStringLiteral("Choose a wallpaper picture");
    options.directory = QStringLiteral("/home/someone/Pictures");
    options.nameFilters = {QStringLiteral("Images (*.png *.jpg)")};
    options.acceptLabel = QStringLiteral("Use Image");
    return options;
}

// The desktop portal's file chooser on the test's own bus: it records each request and answers
// when the test says.
class FakePortal : public QObject {
    Q_OBJECT
    Q_CLASSINFO("D-Bus Interface", "org.freedesktop.portal.FileChooser")

public:
    struct Asked {
        QString parent;
        QString title;
        QVariantMap options;
        QString filtersSignature;
        QString path;
    };
    std::vector<Asked> asked;

public slots:
    QDBusObjectPath OpenFile(const QString &parent, const QString &title, const QVariantMap &options,
                             const QDBusMessage &message)
    {
        Asked request{parent, title, options, {}, {}};
        if (options.contains(QStringLiteral("filters")))
            request.filtersSignature = options.value(QStringLiteral("filters")).value<QDBusArgument>().currentSignature();
        request.path = PortalFileChooser::responsePath(message.service(), options.value("handle_token").toString());
        asked.push_back(request);
        return QDBusObjectPath(request.path);
    }
};

} // namespace

// What is asked of the portal: the title, the accept text, the filters, the folder to open in
// (NUL-terminated bytes, as the portal takes a path), one file, and no choices of its own.
TEST(PortalFileChooser, TheRequestCarriesItsTitleAndFolderAndNoChoices)
{
    const PortalFileChooser::Request request = PortalFileChooser::request(wallpaperOptions(), "x11:3a00007", "t1");
    EXPECT_EQ(request.parentWindow, "x11:3a00007");
    EXPECT_EQ(request.title, "Choose a wallpaper picture");
    EXPECT_EQ(request.options.value("handle_token").toString(), "t1");
    EXPECT_EQ(request.options.value("accept_label").toString(), "Use Image");
    EXPECT_EQ(request.options.value("current_folder").toByteArray(), QByteArray("/home/someone/Pictures\0", 23));
    EXPECT_FALSE(request.options.value("multiple").toBool());
    EXPECT_TRUE(request.options.value("modal").toBool());
    EXPECT_FALSE(request.options.contains("choices")) << "nothing offered beside the files";
    EXPECT_FALSE(request.options.contains("directory"));
    const PortalFileChooser::Request folder =
        PortalFileChooser::request(wallpaperOptions(), "", "t2", PortalFileChooser::Kind::folder);
    EXPECT_TRUE(folder.options.value("directory").toBool());
    EXPECT_EQ(folder.options.value("current_folder").toByteArray(), QByteArray("/home/someone/Pictures\0", 23));
    EXPECT_EQ(PortalFileChooser::responsePath(":1.42", "t1"), "/org/freedesktop/portal/desktop/request/1_42/t1");
}

TEST(PortalChooserOnABus, TheChosenFileComesBackACancelChoosesNothingAndNoPortalFallsBack)
{
    if (qgetenv("QUORVANE_PRIVATE_BUS") != "1")
        GTEST_SKIP() << "needs a private session bus";
    QDBusConnection session = QDBusConnection::sessionBus();
    ASSERT_TRUE(session.isConnected());

    // No portal on the bus: the caller is told, and chooses another way.
    int unavailable = 0;
    std::vector<std::optional<QString>> chosen;
    const auto record = [&](std::optional<QString> file) { chosen.push_back(file); };
    PortalFileChooser::open(
        PortalFileChooser::Kind::file, nullptr, wallpaperOptions(), record, [&] { ++unavailable; }, session);
    EXPECT_TRUE(QTest::qWaitFor([&] { return unavailable == 1; }, 5000));
    EXPECT_TRUE(chosen.empty());

    QDBusConnection portalBus = QDBusConnection::connectToBus(QDBusConnection::SessionBus, QStringLiteral("fake-portal"));
    FakePortal portal;
    ASSERT_TRUE(portalBus.registerObject(QStringLiteral("/org/freedesktop/portal/desktop"), &portal,
                                         QDBusConnection::ExportAllSlots));
    ASSERT_TRUE(portalBus.registerService(QStringLiteral("org.freedesktop.portal.Desktop")));
    const auto answer = [&](uint response, const QVariantMap &results) {
        QDBusMessage signal = QDBusMessage::createSignal(portal.asked.back().path, QStringLiteral("org.freedesktop.portal.Request"),
                                                         QStringLiteral("Response"));
        signal << response << results;
        portalBus.send(signal);
    };

    PortalFileChooser::open(
        PortalFileChooser::Kind::file, nullptr, wallpaperOptions(), record, [&] { ++unavailable; }, session);
    ASSERT_TRUE(QTest::qWaitFor([&] { return portal.asked.size() == 1; }, 5000));
    const FakePortal::Asked &first = portal.asked.front();
    EXPECT_EQ(first.title, "Choose a wallpaper picture");
    EXPECT_EQ(first.options.value("current_folder").toByteArray(), QByteArray("/home/someone/Pictures\0", 23));
    EXPECT_EQ(first.filtersSignature, "a(sa(us))");
    EXPECT_FALSE(first.options.contains("choices"));
    QTest::qWait(50); // the call's reply reaches the chooser
    answer(0, {{QStringLiteral("uris"), QStringList{QStringLiteral("file:///home/someone/Pictures/sea%20view.png")}}});
    ASSERT_TRUE(QTest::qWaitFor([&] { return chosen.size() == 1; }, 5000));
    EXPECT_EQ(chosen[0], std::optional<QString>("/home/someone/Pictures/sea view.png"));

    // A folder: asked for as one, and the folder chosen comes back.
    PortalFileChooser::open(
        PortalFileChooser::Kind::folder, nullptr, ChooserOptions{{}, QStringLiteral("/home/someone"), {}, {}}, record,
        [&] { ++unavailable; }, session);
    ASSERT_TRUE(QTest::qWaitFor([&] { return portal.asked.size() == 2; }, 5000));
    EXPECT_TRUE(portal.asked.back().options.value("directory").toBool());
    QTest::qWait(50);
    answer(0, {{QStringLiteral("uris"), QStringList{QStringLiteral("file:///home/someone/Old%20things")}}});
    ASSERT_TRUE(QTest::qWaitFor([&] { return chosen.size() == 2; }, 5000));
    EXPECT_EQ(chosen[1], std::optional<QString>("/home/someone/Old things"));

    // Cancelled: nothing chosen, and only once.
    PortalFileChooser::open(
        PortalFileChooser::Kind::file, nullptr, wallpaperOptions(), record, [&] { ++unavailable; }, session);
    ASSERT_TRUE(QTest::qWaitFor([&] { return portal.asked.size() == 3; }, 5000));
    QTest::qWait(50);
    answer(1, {});
    answer(1, {});
    ASSERT_TRUE(QTest::qWaitFor([&] { return chosen.size() == 3; }, 5000));
    QTest::qWait(100);
    EXPECT_EQ(chosen.size(), 3u);
    EXPECT_FALSE(chosen[2]);
    EXPECT_EQ(unavailable, 1);

    portalBus.unregisterService(QStringLiteral("org.freedesktop.portal.Desktop"));
    QDBusConnection::disconnectFromBus(QStringLiteral("fake-portal"));
}

#include "PortalFileChooserTests.moc"
