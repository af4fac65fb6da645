#include "Tray/DBusMenuExporter.h"
#include "Tray/StatusNotifierItem.h"
#include "Tray/StatusPanelShade.h"
#include "Wait.h"

#include <QActionGroup>
#include <QDBusConnection>
#include <QDBusConnectionInterface>
#include <QDBusMessage>
#include <QDBusPendingCallWatcher>
#include <QDBusReply>
#include <QEventLoop>
#include <QImage>
#include <QMenu>
#include <QTest>
#include <QTextDocument>

#include <gtest/gtest.h>

using namespace quorvane;

namespace {

// Stands in for a status area's watcher on a connection of its own.
class FakeWatcher : public QObject {
    Q_OBJECT
    Q_CLASSINFO("D-Bus Interface", "org.kde.StatusNotifierWatcher")

public:
    QStringList registered;

public Q_SLOTS:
    Q_SCRIPTABLE void RegisterStatusNotifierItem(const QString &service) { registered << service; }
};

// Counts the signals a status area would hear.
class SignalLog : public QObject {
    Q_OBJECT

public:
    QList<QDBusMessage> received;

public Q_SLOTS:
    void take(const QDBusMessage &message) { received << message; }
};

const QString item = QStringLiteral("org.kde.StatusNotifierItem");
const QString dbusmenu = QStringLiteral("com.canonical.dbusmenu");

class StatusNotifierOnABus : public ::testing::Test {
protected:
    void SetUp() override
    {
        // Only on a bus of the test's own: a fake watcher must never meet a real one.
        if (qEnvironmentVariableIsEmpty("QUORVANE_PRIVATE_BUS") || !QDBusConnection::sessionBus().isConnected())
            GTEST_SKIP() << "needs a private session bus";
        host = QDBusConnection::connectToBus(QDBusConnection::SessionBus, QStringLiteral("host"));
        registerStatusNotifierTypes();
    }
    void TearDown() override { QDBusConnection::disconnectFromBus(QStringLiteral("host")); }

    // Calls without blocking: the item answers on this same thread.
    QDBusMessage call(const QString &service, const QString &path, const QString &interface, const QString &method,
                      const QVariantList &arguments = {})
    {
        QDBusMessage message = QDBusMessage::createMethodCall(service, path, interface, method);
        message.setArguments(arguments);
        QDBusPendingCallWatcher watcher(host.asyncCall(message));
        EXPECT_TRUE(QTest::qWaitFor([&] { return watcher.isFinished(); }, 5000)) << method.toStdString();
        return watcher.reply();
    }
    QVariant property(const StatusNotifierItem &sni, const QString &name)
    {
        const QDBusMessage reply = call(sni.serviceName(), "/StatusNotifierItem", "org.freedesktop.DBus.Properties", "Get", {item, name});
        return reply.arguments().value(0).value<QDBusVariant>().variant();
    }
    template <typename T>
    T demarshalled(const QVariant &value)
    {
        T result;
        value.value<QDBusArgument>() >> result;
        return result;
    }
    bool startWatcher(FakeWatcher &watcher)
    {
        watcherBus = QDBusConnection::connectToBus(QDBusConnection::SessionBus, QStringLiteral("watcher"));
        return watcherBus.registerObject("/StatusNotifierWatcher", &watcher, QDBusConnection::ExportScriptableSlots)
            && watcherBus.registerService("org.kde.StatusNotifierWatcher");
    }
    void stopWatcher()
    {
        watcherBus.unregisterService("org.kde.StatusNotifierWatcher");
        QDBusConnection::disconnectFromBus(QStringLiteral("watcher"));
    }

    QDBusConnection host{QString()};
    QDBusConnection watcherBus{QString()};
};

TEST_F(StatusNotifierOnABus, RegistersWithEveryWatcherThatAppears)
{
    StatusNotifierItem sni("quorvane", "Quorvane");
    EXPECT_FALSE(sni.isAvailable());
    EXPECT_TRUE(host.interface()->isServiceRegistered(sni.serviceName()));

    FakeWatcher watcher;
    ASSERT_TRUE(startWatcher(watcher));
    EXPECT_TRUE(QTest::qWaitFor([&] { return watcher.registered.size() == 1; }, 5000));
    EXPECT_EQ(watcher.registered, QStringList{sni.serviceName()});
    EXPECT_TRUE(sni.isAvailable());

    // The status area restarts: its new watcher hears of the item again.
    stopWatcher();
    EXPECT_TRUE(QTest::qWaitFor([&] { return !sni.isAvailable(); }, 5000));
    ASSERT_TRUE(startWatcher(watcher));
    EXPECT_TRUE(QTest::qWaitFor([&] { return watcher.registered.size() == 2; }, 5000));
    stopWatcher();
}

TEST_F(StatusNotifierOnABus, PublishesTheGlyphInThePanelsColourTheToolTipAndTheMenu)
{
    StatusNotifierItem sni("quorvane", "Quorvane");
    sni.setGlyphColour(QColor(0x10, 0x20, 0x30));
    QImage glyph(44, 44, QImage::Format_ARGB32_Premultiplied);
    glyph.fill(Qt::transparent);
    glyph.setPixel(0, 0, qRgba(0, 0, 0, 255)); // drawn in black, as the animator draws it
    sni.setImage(glyph);
    sni.setToolTip("Quorvane", "Work");
    sni.setVisible(true);

    EXPECT_EQ(property(sni, "Status").toString(), "Active");
    EXPECT_TRUE(property(sni, "ItemIsMenu").toBool());
    EXPECT_EQ(property(sni, "Menu").value<QDBusObjectPath>().path(), "/MenuBar");
    const auto tip = demarshalled<StatusToolTip>(property(sni, "ToolTip"));
    EXPECT_EQ(tip.title, "Quorvane");
    EXPECT_EQ(tip.text, "Work");
    // A name that looks like markup reads as written where the status area renders the text.
    sni.setToolTip("Quorvane", "<b>Bold</b> & Co");
    QTextDocument shown;
    shown.setHtml(demarshalled<StatusToolTip>(property(sni, "ToolTip")).text);
    EXPECT_EQ(shown.toPlainText(), "<b>Bold</b> & Co");

    const auto pixmaps = demarshalled<QList<StatusIconPixmap>>(property(sni, "IconPixmap"));
    ASSERT_FALSE(pixmaps.isEmpty());
    EXPECT_EQ(pixmaps[0].width, 44);
    ASSERT_EQ(pixmaps[0].bytes.size(), 44 * 44 * 4);
    // Alpha, red, green, blue, in that order whatever the machine's byte order.
    EXPECT_EQ(pixmaps[0].bytes.left(4), QByteArray::fromHex("ff102030"));
    EXPECT_EQ(pixmaps[0].bytes.mid(4, 4), QByteArray::fromHex("00000000"));

    // The glyph at rest goes by name as well, for status areas that recolour symbolic icons;
    // another frame only as pictures, which such a status area would otherwise not draw.
    EXPECT_EQ(property(sni, "IconName").toString(), "");
    sni.setNamedIcon("quorvane-status-symbolic", "/opt/quorvane/icons", glyph);
    EXPECT_EQ(property(sni, "IconName").toString(), "quorvane-status-symbolic");
    EXPECT_EQ(property(sni, "IconThemePath").toString(), "/opt/quorvane/icons");
    QImage frame = glyph.copy();
    frame.setPixel(1, 0, qRgba(0, 0, 0, 255));
    sni.setImage(frame);
    EXPECT_EQ(property(sni, "IconName").toString(), "");
}

// A status area that knows no position passes 0; one on a panel passes a point on the panel.
TEST(StatusNotifierItem, OnlyAPointOnAPanelPlacesTheMenu)
{
    const QList<StatusNotifierItem::ScreenArea> screens{{QRect(0, 0, 1920, 1080), QRect(0, 28, 1920, 1052)},
                                                        {QRect(1920, 0, 1280, 800), QRect(1920, 0, 1280, 800)}};
    EXPECT_TRUE(StatusNotifierItem::isPanelPosition({1290, 12}, screens));
    EXPECT_FALSE(StatusNotifierItem::isPanelPosition({0, 25}, screens));    // mate-panel's unknown point
    EXPECT_FALSE(StatusNotifierItem::isPanelPosition({600, 500}, screens)); // amid the windows
    EXPECT_FALSE(StatusNotifierItem::isPanelPosition({5000, 12}, screens)); // off every screen
    EXPECT_TRUE(StatusNotifierItem::isPanelPosition({2500, 400}, screens)); // a screen with no panel
}

TEST_F(StatusNotifierOnABus, ClicksAndScrollsReachTheCallbacksAfterTheReply)
{
    StatusNotifierItem sni("quorvane", "Quorvane");
    std::vector<StatusItem::Button> clicks;
    bool repliedWhileRunning = false;
    std::unique_ptr<QDBusPendingCallWatcher> pending;
    sni.setOnClick([&](const StatusItem::Click &click) {
        clicks.push_back(click.button);
        // As a menu would: wait in an event loop of its own. The status area has its answer.
        repliedWhileRunning = QTest::qWaitFor([&] { return pending && pending->isFinished(); }, 3000);
    });
    std::vector<double> wheel;
    sni.setOnWheel([&](const StatusItem::Wheel &w) {
        EXPECT_FALSE(w.precise);
        wheel.push_back(w.deltaY);
    });

    const auto send = [&](const QString &method, const QVariantList &arguments) {
        QDBusMessage message = QDBusMessage::createMethodCall(sni.serviceName(), "/StatusNotifierItem", item, method);
        message.setArguments(arguments);
        pending = std::make_unique<QDBusPendingCallWatcher>(host.asyncCall(message));
        repliedWhileRunning = false;
        const std::size_t before = clicks.size();
        EXPECT_TRUE(QTest::qWaitFor([&] { return clicks.size() > before || (pending->isFinished() && method == "Scroll"); }, 5000));
    };
    send("Activate", {10, 20});
    EXPECT_TRUE(repliedWhileRunning);
    send("ContextMenu", {10, 20});
    EXPECT_TRUE(repliedWhileRunning);
    send("SecondaryActivate", {10, 20});
    EXPECT_TRUE(repliedWhileRunning);
    EXPECT_EQ(clicks, (std::vector{StatusItem::Button::left, StatusItem::Button::right, StatusItem::Button::middle}));

    // One call per notch, one way for one direction: GTK's hosts (XFCE, Cinnamon) send -1 for
    // up, Plasma sends Qt's +120 for up; both are a step up, as the XEmbed icon's wheel gives it.
    send("Scroll", {-1, "vertical"});
    send("Scroll", {120, "Vertical"});
    send("Scroll", {1, "horizontal"});
    QTest::qWait(50);
    EXPECT_EQ(wheel, (std::vector{1.0, 1.0}));
}

TEST_F(StatusNotifierOnABus, AnAnimationDoesNotFloodTheBusAndItsLastFrameArrives)
{
    StatusNotifierItem sni("quorvane", "Quorvane");
    SignalLog log;
    ASSERT_TRUE(host.connect(sni.serviceName(), "/StatusNotifierItem", item, "NewIcon", &log, SLOT(take(QDBusMessage))));
    QImage frame(22, 22, QImage::Format_ARGB32_Premultiplied);
    for (int i = 0; i < 30; ++i) {
        frame.fill(Qt::transparent);
        frame.setPixel(i % 22, 0, qRgba(0, 0, 0, 255));
        sni.setImage(frame);
    }
    // The bus may be slow to pass the announcement on; once one has come, time passes on purpose
    // for any that would flood it.
    EXPECT_TRUE(test::waitUntil([&] { return !log.received.isEmpty(); }, 4 * StatusNotifierItem::iconAnnouncementMs));
    QTest::qWait(4 * StatusNotifierItem::iconAnnouncementMs);
    EXPECT_LE(log.received.size(), 3);
    const auto pixmaps = demarshalled<QList<StatusIconPixmap>>(property(sni, "IconPixmap"));
    ASSERT_FALSE(pixmaps.isEmpty());
    EXPECT_EQ(pixmaps[0].bytes.mid(4 * (29 % 22), 1), QByteArray::fromHex("ff")); // the last frame
}

TEST_F(StatusNotifierOnABus, TheMenuIsPublishedWithItsChoicesAndClicksTriggerItsActions)
{
    StatusNotifierItem sni("quorvane", "Quorvane");
    QMenu menu;
    auto *desktops = new QActionGroup(&menu);
    desktops->setExclusionPolicy(QActionGroup::ExclusionPolicy::None);
    QAction *work = menu.addAction("Work\tAlt+Shift+1");
    QAction *play = menu.addAction("R&&D_1");
    for (QAction *desktop : {work, play}) {
        desktop->setCheckable(true);
        desktops->addAction(desktop);
    }
    work->setChecked(true);
    menu.addSeparator();
    QAction *hide = menu.addAction("Hide current desktop");
    hide->setCheckable(true);
    hide->setProperty(DBusMenuExporter::iconNameProperty, "application-exit");
    QAction *expand = menu.addAction("Expand desktop");
    expand->setEnabled(false);
    expand->setIcon(QIcon::fromTheme("no-theme-has-this-symbol"));
    QMenu *more = menu.addMenu("More");
    more->addAction("Inside");
    sni.setMenu(&menu);

    const QDBusMessage reply = call(sni.serviceName(), "/MenuBar", dbusmenu, "GetLayout", {0, -1, QStringList()});
    ASSERT_EQ(reply.arguments().size(), 2);
    const uint revision = reply.arguments()[0].toUInt();
    const auto root = demarshalled<DBusMenuLayoutItem>(reply.arguments()[1]);
    ASSERT_EQ(root.children.size(), 6);
    const auto &p = [&](int i) { return root.children[i].properties; };
    EXPECT_EQ(p(0)["label"], "Work\tAlt+Shift+1");
    EXPECT_EQ(p(0)["toggle-type"], "radio");
    EXPECT_EQ(p(0)["toggle-state"], 1);
    EXPECT_EQ(p(1)["label"], "R&D__1");
    EXPECT_EQ(p(1)["toggle-state"], 0);
    EXPECT_EQ(p(2)["type"], "separator");
    EXPECT_EQ(p(3)["toggle-type"], "checkmark");
    EXPECT_EQ(p(4)["enabled"], false);
    // The shortcut as text after the label's tab, in the menu's own order, never as a "shortcut"
    // of keys that a panel would order its own way; icons by theme names only.
    for (int i = 0; i < root.children.size(); ++i)
        EXPECT_FALSE(p(i).contains("shortcut")) << i;
    EXPECT_EQ(p(3)["icon-name"], "application-exit");
    EXPECT_FALSE(p(4).contains("icon-name"));
    EXPECT_EQ(p(5)["children-display"], "submenu");
    ASSERT_EQ(root.children[5].children.size(), 1);
    EXPECT_EQ(root.children[5].children[0].properties["label"], "Inside");

    int triggered = 0;
    QObject::connect(play, &QAction::triggered, [&] { ++triggered; });
    call(sni.serviceName(), "/MenuBar", dbusmenu, "Event",
         {root.children[1].id, "clicked", QVariant::fromValue(QDBusVariant(0)), 0u});
    EXPECT_TRUE(QTest::qWaitFor([&] { return triggered == 1; }, 5000));

    // A rebuilt menu and a changed item are announced.
    SignalLog layouts;
    SignalLog changes;
    ASSERT_TRUE(host.connect(sni.serviceName(), "/MenuBar", dbusmenu, "LayoutUpdated", &layouts, SLOT(take(QDBusMessage))));
    ASSERT_TRUE(host.connect(sni.serviceName(), "/MenuBar", dbusmenu, "ItemsPropertiesUpdated", &changes, SLOT(take(QDBusMessage))));
    work->setChecked(false);
    EXPECT_TRUE(QTest::qWaitFor([&] { return !changes.received.isEmpty(); }, 5000));
    const auto updated = demarshalled<QList<DBusMenuItemProperties>>(changes.received[0].arguments()[0]);
    const auto workUpdate = std::find_if(updated.begin(), updated.end(), [&](const auto &u) { return u.id == root.children[0].id; });
    ASSERT_NE(workUpdate, updated.end());
    EXPECT_EQ(workUpdate->properties["toggle-state"], 0);
    EXPECT_EQ(workUpdate->properties["enabled"], true); // back at the default, still sent
    menu.addAction("New desktop…");
    EXPECT_TRUE(QTest::qWaitFor([&] { return !layouts.received.isEmpty(); }, 5000));
    EXPECT_GT(layouts.received[0].arguments()[0].toUInt(), revision);
    const QDBusMessage after = call(sni.serviceName(), "/MenuBar", dbusmenu, "GetLayout", {0, -1, QStringList{"label"}});
    const auto rebuilt = demarshalled<DBusMenuLayoutItem>(after.arguments()[1]);
    ASSERT_EQ(rebuilt.children.size(), 7);
    EXPECT_EQ(rebuilt.children[6].properties, (QVariantMap{{"label", "New desktop…"}}));
}

// Every call is answered: an item the menu no longer has with the defaults, a property no item
// has and the events of a missing item with an error, an unset property with its default, and
// AboutToShow lets the menu bring itself up to date first.
TEST_F(StatusNotifierOnABus, EveryMenuCallIsAnsweredAndAboutToShowUpdatesTheMenuFirst)
{
    StatusNotifierItem sni("quorvane", "Quorvane");
    QMenu menu;
    menu.addAction("Work");
    sni.setMenu(&menu);
    const auto layout = [&] {
        const QDBusMessage reply = call(sni.serviceName(), "/MenuBar", dbusmenu, "GetLayout", {0, -1, QStringList()});
        return demarshalled<DBusMenuLayoutItem>(reply.arguments().value(1));
    };
    const int work = layout().children.value(0).id;
    ASSERT_GT(work, 0);
    const auto refused = [&](const QString &method, const QVariantList &arguments) {
        const QDBusMessage reply = call(sni.serviceName(), "/MenuBar", dbusmenu, method, arguments);
        return reply.type() == QDBusMessage::ErrorMessage && reply.errorName() == "org.freedesktop.DBus.Error.InvalidArgs";
    };
    const QDBusMessage gone = call(sni.serviceName(), "/MenuBar", dbusmenu, "GetProperty", {9999, "visible"});
    EXPECT_EQ(gone.arguments().value(0).value<QDBusVariant>().variant(), true);
    const QDBusMessage group = call(sni.serviceName(), "/MenuBar", dbusmenu, "GetGroupProperties",
                                    {QVariant::fromValue(QList<int>{work, 9999}), QStringList{"label"}});
    const auto answered = demarshalled<QList<DBusMenuItemProperties>>(group.arguments().value(0));
    ASSERT_EQ(answered.size(), 2);
    EXPECT_EQ(answered[0].properties, (QVariantMap{{"label", "Work"}}));
    EXPECT_EQ(answered[1].id, 9999);
    EXPECT_TRUE(answered[1].properties.isEmpty());
    EXPECT_TRUE(refused("GetProperty", {work, "no-such-property"}));
    EXPECT_TRUE(refused("Event", {9999, "clicked", QVariant::fromValue(QDBusVariant(0)), 0u}));
    EXPECT_TRUE(refused("AboutToShow", {9999}));
    const QDBusMessage enabled = call(sni.serviceName(), "/MenuBar", dbusmenu, "GetProperty", {work, "enabled"});
    EXPECT_EQ(enabled.arguments().value(0).value<QDBusVariant>().variant(), true);

    // A menu that fills itself as it opens says so in its answer, and the layout fetched right
    // after holds the new item.
    QObject::connect(&menu, &QMenu::aboutToShow, &menu, [&] {
        if (menu.actions().size() == 1)
            menu.addAction("Play");
    });
    const QDBusMessage changed = call(sni.serviceName(), "/MenuBar", dbusmenu, "AboutToShow", {0});
    EXPECT_EQ(changed.arguments().value(0), true);
    EXPECT_EQ(layout().children.size(), 2);
}

TEST_F(StatusNotifierOnABus, ThePanelsShadeChangingRedrawsTheGlyphInItsNewColour)
{
    StatusNotifierItem sni("quorvane", "Quorvane");
    QImage glyph(22, 22, QImage::Format_ARGB32_Premultiplied);
    glyph.fill(Qt::transparent);
    glyph.setPixel(0, 0, qRgba(0, 0, 0, 255));
    sni.setImage(glyph);
    int probes = 0;
    StatusPanelShadeWatcher watcher([&] {
        ++probes;
        sni.setGlyphColour(Qt::white);
    });
    const auto xfconf = [&](const QString &channel, const QString &property) {
        QDBusMessage signal = QDBusMessage::createSignal("/org/xfce/Xfconf", "org.xfce.Xfconf", "PropertyChanged");
        signal << channel << property << QVariant::fromValue(QDBusVariant(true));
        host.send(signal);
    };
    xfconf("xfce4-panel", "/panels/size"); // not the shade
    xfconf("xfce4-panel", "/panels/dark-mode");
    EXPECT_TRUE(QTest::qWaitFor([&] { return probes == 1; }, 5000));
    const auto pixmaps = demarshalled<QList<StatusIconPixmap>>(property(sni, "IconPixmap"));
    ASSERT_FALSE(pixmaps.isEmpty());
    EXPECT_EQ(pixmaps[0].bytes.left(4), QByteArray::fromHex("ffffffff"));
    xfconf("xsettings", "/Net/ThemeName");
    EXPECT_TRUE(QTest::qWaitFor([&] { return probes == 2; }, 5000));
}

} // namespace

#include "StatusNotifierItemTests.moc"

// Plasma's wheel angle and GTK's steps, for one direction, give one way.
TEST(StatusNotifierWheel, OneDirectionIsOneWayOnEveryStatusArea)
{
    EXPECT_EQ(StatusNotifierItem::wheelSteps(120, true), 1.0);    // Plasma, up
    EXPECT_EQ(StatusNotifierItem::wheelSteps(-240, true), -2.0);  // Plasma, two notches down
    EXPECT_EQ(StatusNotifierItem::wheelSteps(15, true), 0.125);   // Plasma, a fine wheel's part of a notch up
    EXPECT_EQ(StatusNotifierItem::wheelSteps(-120, false), -1.0); // another Qt host, down
    EXPECT_EQ(StatusNotifierItem::wheelSteps(-1, false), 1.0);    // XFCE or Cinnamon, up
    EXPECT_EQ(StatusNotifierItem::wheelSteps(1, false), -1.0);    // and down
}
