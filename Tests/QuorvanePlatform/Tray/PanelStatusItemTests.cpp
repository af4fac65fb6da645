#include "Tray/PanelStatusItem.h"
#include "Tray/StatusPanelShade.h"

#include <QCoreApplication>
#include <QImage>
#include <QMenu>
#include <QTest>
#include <gtest/gtest.h>

#include <deque>

using namespace quorvane;

namespace {

// A status item of one kind, recording what reaches it.
struct ShownItem final : StatusItem {
    bool *available;
    std::optional<QColor> panel;
    QImage image;
    QString toolTip;
    QMenu *menu = nullptr;
    bool visible = false;
    QColor glyph;
    std::function<void(const Click &)> onClick;

    explicit ShownItem(bool *a)
        : available(a)
    {}
    bool isAvailable() const override { return *available; }
    void setVisible(bool v) override { visible = v; }
    void setImage(const QImage &i) override { image = i; }
    void setToolTip(const QString &title, const QString &text) override { toolTip = title + "/" + text; }
    void setMenu(QMenu *m) override { menu = m; }
    void setOnClick(std::function<void(const Click &)> c) override { onClick = std::move(c); }
    void setOnWheel(std::function<void(const Wheel &)>) override {}
    void popUpMenu(QMenu &) override {}
    void setGlyphColour(const QColor &c) override { glyph = c; }
    std::optional<QColor> panelColour() const override { return panel; }
};

struct Areas {
    bool watcher = false;
    bool tray = false;
    ShownItem *notifier = nullptr;
    ShownItem *trayItem = nullptr;
    std::optional<QColor> panel;

    PanelStatusItem::Sources sources()
    {
        PanelStatusItem::Sources s;
        s.makeNotifierItem = [this] { auto i = std::make_unique<ShownItem>(&watcher); i->panel = panel; notifier = i.get(); return i; };
        s.makeTrayItem = [this] { auto i = std::make_unique<ShownItem>(&tray); i->panel = panel; trayItem = i.get(); return i; };
        s.watcherPresent = [this] { return watcher; };
        s.trayPresent = [this] { return tray; };
        s.themeGlyphColour = [](const std::function<void(QColor)> &answer) { answer(QColor(0x12, 0x34, 0x56)); };
        return s;
    }
};

} // namespace

// A panel that starts after the application: what was set waits, and goes to the item made once
// the panel's status area appears, which the availability callback tells.
TEST(PanelStatusItem, AStatusAreaThatComesLaterGetsTheItemWithAllThatWasSet)
{
    Areas areas;
    PanelStatusItem item(areas.sources());
    std::vector<bool> told;
    item.setOnAvailabilityChanged([&](bool available) { told.push_back(available); });
    QImage glyph(22, 22, QImage::Format_ARGB32_Premultiplied);
    glyph.fill(Qt::black);
    QMenu menu;
    int clicks = 0;
    item.setImage(glyph);
    item.setToolTip("Quorvane", "Work");
    item.setMenu(&menu);
    item.setOnClick([&](const StatusItem::Click &) { ++clicks; });
    item.setVisible(true);
    EXPECT_EQ(item.kind(), PanelStatusItem::Kind::none);
    EXPECT_FALSE(item.isAvailable());

    areas.tray = true;
    item.statusAreasChanged();
    ASSERT_EQ(item.kind(), PanelStatusItem::Kind::tray);
    ASSERT_NE(areas.trayItem, nullptr);
    EXPECT_EQ(areas.trayItem->image, glyph);
    EXPECT_EQ(areas.trayItem->toolTip, "Quorvane/Work");
    EXPECT_EQ(areas.trayItem->menu, &menu);
    EXPECT_TRUE(areas.trayItem->visible);
    areas.trayItem->onClick({});
    EXPECT_EQ(clicks, 1);
    EXPECT_EQ(told, std::vector<bool>{true});

    // A watcher that appears while the tray shows the item leaves it there.
    areas.watcher = true;
    item.statusAreasChanged();
    EXPECT_EQ(item.kind(), PanelStatusItem::Kind::tray);
    // The tray goes: the watcher's status area takes the item, which never stopped being shown.
    areas.tray = false;
    item.statusAreasChanged();
    EXPECT_EQ(item.kind(), PanelStatusItem::Kind::notifier);
    ASSERT_NE(areas.notifier, nullptr);
    EXPECT_EQ(areas.notifier->image, glyph);
    EXPECT_EQ(told, std::vector<bool>{true});
    areas.watcher = false;
    item.statusAreasChanged();
    EXPECT_EQ(told, (std::vector<bool>{true, false}));
}

// The watchers for later status areas start once the item is first shown, from the event loop
// (the icon docks first), and a status area that came before they watched is seen then.
TEST(PanelStatusItem, WatchesForLaterStatusAreasOnceShown)
{
    Areas areas;
    PanelStatusItem::Sources sources = areas.sources();
    int watching = 0;
    sources.watchAreas = [&](PanelStatusItem &) { ++watching; };
    PanelStatusItem item(std::move(sources));
    QCoreApplication::processEvents();
    EXPECT_EQ(watching, 0);
    item.setVisible(true);
    EXPECT_EQ(watching, 0);
    areas.tray = true; // no watcher saw it come
    QCoreApplication::processEvents();
    EXPECT_EQ(watching, 1);
    EXPECT_EQ(item.kind(), PanelStatusItem::Kind::tray);
    ASSERT_NE(areas.trayItem, nullptr);
    EXPECT_TRUE(areas.trayItem->visible);
    item.setVisible(false);
    item.setVisible(true);
    QCoreApplication::processEvents();
    EXPECT_EQ(watching, 1);
}

// The glyph's colour comes from the panel's pixels when they can be read, else from its theme,
// never from anything the application shows.
TEST(PanelStatusItem, TheGlyphTakesTheColourThatStandsOutOnThePanel)
{
    Areas areas;
    areas.watcher = true;
    areas.panel = QColor("#F6F5F4");
    PanelStatusItem item(areas.sources());
    item.setVisible(true);
    ASSERT_NE(areas.notifier, nullptr);
    EXPECT_EQ(areas.notifier->glyph, statusGlyphColour(false));
    areas.notifier->panel = QColor("#2B2B2B"); // the panel turned dark
    item.refreshShade();
    EXPECT_EQ(areas.notifier->glyph, statusGlyphColour(true));
    EXPECT_GE(contrastRatio(item.glyphColour(), QColor("#2B2B2B")), 3.0);
    // A switch (the tool tip names another desktop) may turn the panel: it is read again once the
    // panel has redrawn itself.
    areas.notifier->panel = QColor("#F6F5F4");
    item.setToolTip("Quorvane", "Night");
    EXPECT_EQ(areas.notifier->glyph, statusGlyphColour(true));
    EXPECT_TRUE(QTest::qWaitFor([&] { return areas.notifier->glyph == statusGlyphColour(false); }, 5000));
    // The panel's theme changed, and a busy panel redraws over a second later: the glyph follows.
    item.panelLookChanged();
    QTimer::singleShot(1200, &item, [&] { areas.notifier->panel = QColor("#2B2B2B"); });
    EXPECT_TRUE(QTest::qWaitFor([&] { return areas.notifier->glyph == statusGlyphColour(true); }, 4000));
    areas.notifier->panel.reset(); // pixels unreadable (Wayland): the theme's word
    item.refreshShade();
    EXPECT_EQ(areas.notifier->glyph, QColor(0x12, 0x34, 0x56));
}

// The theme's word may take a child process: the glyph keeps what it has meanwhile, one question
// is out at a time (one more when asked meanwhile), and a panel whose pixels read again has the
// last word over a late answer.
TEST(PanelStatusItem, TheThemesAnswerComesLaterOneQuestionAtATime)
{
    Areas areas;
    areas.watcher = true;
    std::deque<std::function<void(QColor)>> asked; // answering one may ask again
    PanelStatusItem::Sources sources = areas.sources();
    sources.themeGlyphColour = [&](std::function<void(QColor)> answer) { asked.push_back(std::move(answer)); };
    PanelStatusItem item(std::move(sources));
    ASSERT_NE(areas.notifier, nullptr);
    EXPECT_TRUE(asked.empty()) << "asked once the item is shown, not before";
    item.setVisible(true);
    ASSERT_EQ(asked.size(), 1u);
    EXPECT_EQ(areas.notifier->glyph, statusGlyphColour(false)); // nothing known yet
    item.refreshShade();
    item.refreshShade();
    EXPECT_EQ(asked.size(), 1u);
    asked[0](statusGlyphColour(true));
    EXPECT_EQ(areas.notifier->glyph, statusGlyphColour(true));
    ASSERT_EQ(asked.size(), 2u) << "asked once more for the refreshes meanwhile";
    item.refreshShade();
    EXPECT_EQ(areas.notifier->glyph, statusGlyphColour(true)) << "the last answer, at once";
    areas.notifier->panel = QColor("#F6F5F4");
    asked[1](statusGlyphColour(true));
    ASSERT_EQ(asked.size(), 3u);
    item.refreshShade();
    EXPECT_EQ(areas.notifier->glyph, statusGlyphColour(false));
    asked[2](statusGlyphColour(true));
    EXPECT_EQ(areas.notifier->glyph, statusGlyphColour(false));
    EXPECT_EQ(asked.size(), 3u);
}

// A panel that restarts while the application runs (perhaps with another look) has the item
// register or dock again: the panel is read again as it draws it, not kept from the first time.
TEST(PanelStatusItem, APanelThatComesAgainIsReadAgain)
{
    Areas areas;
    areas.watcher = true;
    areas.panel = QColor("#F6F5F4");
    PanelStatusItem item(areas.sources());
    item.setVisible(true);
    ASSERT_NE(areas.notifier, nullptr);
    EXPECT_EQ(areas.notifier->glyph, statusGlyphColour(false));
    ShownItem *shown = areas.notifier;
    QTest::qWait(2200); // what the first docking asked for is done
    shown->panel = QColor("#2B2B2B");
    item.statusAreasChanged(); // the watcher's owner changed: the same item registers again
    EXPECT_EQ(areas.notifier, shown);
    EXPECT_TRUE(QTest::qWaitFor([&] { return shown->glyph == statusGlyphColour(true); }, 3000));
}
