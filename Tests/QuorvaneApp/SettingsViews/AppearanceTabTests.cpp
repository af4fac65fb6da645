#include "SettingsViewHarness.h"

#include "Appearance.h"
#include "SettingsViews/AppearanceTab.h"
#include "SettingsViews/ColorSwatch.h"
#include "SettingsViews/DetailPane.h"
#include "SettingsViews/SegmentPadding.h"
#include "SettingsViews/SegmentedControl.h"
#include "Shared/Style.h"

#include <QComboBox>
#include <QLabel>
#include <QPushButton>
#include <QToolButton>

using namespace quorvane;
using namespace quorvane::test;

TEST(SegmentPadding, SpreadPadAndTable)
{
    const QChar h(0x200A);
    EXPECT_EQ(SegmentPadding::spread(0, {"A", "B"}), QStringList({"A", "B"}));
    EXPECT_EQ(SegmentPadding::spread(1, {"A", "B"}), QStringList({QString(h) + "A", "B"}));
    EXPECT_EQ(SegmentPadding::spread(5, {"A", "B"}),
              QStringList({QString(2, h) + "A" + QString(h), QString(h) + "B" + QString(h)}));
    // A fake metric: 10 per character of any kind.
    int measured = 0;
    auto width = [&](const QStringList &labels) {
        ++measured;
        double w = 0;
        for (const QString &l : labels)
            w += 10 * l.size();
        return w;
    };
    // Target 75 from 40: 3 units give 70, 4 give 80 (tie: the less padded stays), the search stops at 80.
    EXPECT_EQ(SegmentPadding::pad({"ab", "cd"}, 75, width), SegmentPadding::spread(3, {"ab", "cd"}));
    // Out of reach within 24 units per label: the closest candidate.
    EXPECT_EQ(SegmentPadding::pad({"a"}, 1000, width), SegmentPadding::spread(24, {"a"}));
    measured = 0;
    const auto table = SegmentPadding::table({{"Wide", "Widest"}, {"S", "M"}}, width);
    EXPECT_EQ(table.value("Wide"), "Wide"); // the widest group comes back unchanged
    EXPECT_EQ(table.value("Widest"), "Widest");
    EXPECT_EQ(table.value("S").size() + table.value("M").size(), 10);
    EXPECT_LE(measured, 2 + 1 + 24 * 2 + 1 + 1);
    EXPECT_EQ(AppearanceSegmentLabels::padded("Nowhere"), "Nowhere");
    EXPECT_EQ(AppearanceSegmentLabels::padded("Medium").remove(h), "Medium");
}

struct AppearanceSection : SettingsViewHarness {
    AppearanceTab *tab() { return qobject_cast<AppearanceTab *>(view->pane()->content()); }
    QString storedAccent() { return stored().settings.appearance.accentHex.value_or("<none>"); }
};

TEST_F(AppearanceSection, APanelBurstStoresTheLastOnceAndTheSameHexNothing)
{
    openWith({"Default"});
    show(SettingsSection::appearance);
    EXPECT_EQ(store.saves, 0); // showing stores nothing
    QTest::mouseClick(tab()->customSwatch(), Qt::LeftButton);
    ASSERT_EQ(dialogs.liveColorPanels.size(), 1u);
    auto &panel = dialogs.liveColorPanels[0];
    panel.changed(QColor("#101010"));
    scheduler.advance(0.05);
    panel.changed(QColor("#202020"));
    scheduler.advance(0.05);
    panel.changed(QColor("#303030"));
    scheduler.advance(0.119);
    EXPECT_EQ(store.saves, 0);
    scheduler.advance(0.002);
    EXPECT_EQ(store.saves, 1);
    EXPECT_EQ(storedAccent(), "#303030");
    EXPECT_EQ(tab()->customAccent(), QColor("#303030"));
    EXPECT_TRUE(tab()->customSwatch()->isSelected());

    // The same colour written in other case stores nothing.
    model->setAccent("#abcdef");
    const int saves = store.saves;
    panel.changed(QColor("#ABCDEF"));
    scheduler.advance(0.2);
    EXPECT_EQ(store.saves, saves);

    // The commit outlives the page that started it.
    panel.changed(QColor("#445566"));
    view->select(SettingsSection::general);
    scheduler.advance(0.2);
    EXPECT_EQ(storedAccent(), "#445566");
}

TEST_F(AppearanceSection, ASwatchTapCancelsThePendingPanelColour)
{
    openWith({"Default"});
    show(SettingsSection::appearance);
    QTest::mouseClick(tab()->customSwatch(), Qt::LeftButton);
    auto &panel = dialogs.liveColorPanels[0];
    panel.activated(); // the panel became active: only the custom swatch shows chosen
    EXPECT_TRUE(tab()->customSwatch()->isSelected());
    EXPECT_FALSE(tab()->presetSwatches()[0]->isSelected());
    panel.changed(QColor("#123456"));
    scheduler.advance(0.05);
    QTest::mouseClick(tab()->systemSwatch(), Qt::LeftButton);
    scheduler.advance(0.5);
    EXPECT_EQ(storedAccent(), "<none>");
    EXPECT_TRUE(tab()->systemSwatch()->isSelected());
    EXPECT_FALSE(tab()->customSwatch()->isSelected());

    // A preset in other case is that preset, not a custom colour.
    model->setAccent(Style::accentPresets()[1].hex.toLower());
    EXPECT_TRUE(tab()->presetSwatches()[1]->isSelected());
    EXPECT_FALSE(tab()->customSwatch()->isSelected());
    QTest::mouseClick(tab()->presetSwatches()[2], Qt::LeftButton);
    EXPECT_EQ(storedAccent(), Style::accentPresets()[2].hex);
    EXPECT_EQ(tab()->customAccent(), colorFromHex(Style::accentPresets()[2].hex));
}

TEST_F(AppearanceSection, LooksSpeedsAndTheMenuBarAnimation)
{
    openWith({"Default"});
    int previews = 0;
    show(SettingsSection::appearance);
    model->onPreviewTransition = [&] { ++previews; };
    AppearanceTab *page = tab();
    EXPECT_EQ(page->lookDescription()->text(), "No animation on switch — the desktop simply changes.");
    EXPECT_FALSE(page->previewButton()->isEnabled());
    EXPECT_EQ(find<SegmentedControl>("Speed"), nullptr);

    QComboBox *look = page->lookPicker();
    look->setFocus();
    look->setCurrentIndex(0);
    QTest::keyClick(look, Qt::Key_Down); // a keyboard choice is an activation
    QTest::keyClick(look, Qt::Key_Down);
    QTest::keyClick(look, Qt::Key_Down);
    EXPECT_EQ(stored().settings.switchLook, SwitchLook::angledDown); // "Angled left"
    EXPECT_EQ(look->currentText(), "Angled left");
    EXPECT_EQ(page->lookDescription()->text(), "A band of blur sweeps across the desktop while the files change.");
    QTest::mouseClick(page->previewButton(), Qt::LeftButton);
    EXPECT_EQ(previews, 1);

    SegmentedControl *speed = find<SegmentedControl>("Speed");
    ASSERT_NE(speed, nullptr);
    QTest::mouseClick(speed->segment(int(SwitchSpeed::fast)), Qt::LeftButton);
    EXPECT_EQ(stored().settings.switchSpeed, SwitchSpeed::fast);
    EXPECT_EQ(stored().settings.switchLook, SwitchLook::angledDown);
    QTest::mouseClick(find<SegmentedControl>("Intensity")->segment(int(SwitchIntensity::strong)), Qt::LeftButton);
    EXPECT_EQ(stored().settings.switchIntensity, SwitchIntensity::strong);
    EXPECT_EQ(stored().settings.switchSpeed, SwitchSpeed::fast);

    QTest::mouseClick(find<SegmentedControl>("Panel icon animation")->segment(int(MenuBarAnimation::mirror)),
                      Qt::LeftButton);
    EXPECT_EQ(stored().settings.menuBarAnimation, MenuBarAnimation::mirror);
    QTest::mouseClick(find<SegmentedControl>("Appearance")->segment(int(AppearanceMode::dark)), Qt::LeftButton);
    EXPECT_EQ(stored().settings.appearance.mode, AppearanceMode::dark);
    const int saves = store.saves;
    model->reload(); // a republish saves nothing
    EXPECT_EQ(store.saves, saves);
}

TEST(ColorSwatch, GlyphColourByLuma)
{
    EXPECT_NEAR(glyphColor(Qt::white).alphaF(), 0.7, 0.001);
    EXPECT_EQ(glyphColor(Qt::white).rgb() & 0xFFFFFF, 0u);
    EXPECT_EQ(glyphColor(QColor("#333333")), QColor(Qt::white));
}
