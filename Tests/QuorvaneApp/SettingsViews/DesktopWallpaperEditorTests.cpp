#include "SettingsViewHarness.h"

#include "Overlays/CueImageCache.h"
#include "SettingsViews/ColorSwatch.h"
#include "SettingsViews/DesktopWallpaperEditor.h"
#include "SettingsViews/SegmentedControl.h"
#include "SettingsViews/WallpaperPreview.h"
#include "Shared/Style.h"
#include "Shared/SymbolIcon.h"

#include <QCheckBox>
#include <QComboBox>
#include <QImage>
#include <QPushButton>
#include <QSlider>
#include <QToolButton>

using namespace quorvane;
using namespace quorvane::test;

namespace {

// A desktop whose cue is the given one.
std::function<void(Config &)> withCue(const QString &name, const DesktopCue &cue)
{
    return [=](Config &config) { config.workspace(name)->cue = cue; };
}

} // namespace

struct WallpaperEditor : SettingsViewHarness {
    CueImageCache cache;

    DesktopWallpaperEditor *editor()
    {
        services.cues = &cache;
        if (!view)
            show(SettingsSection::appearance);
        return view->findChild<DesktopWallpaperEditor *>();
    }
    void reopen()
    {
        view->select(SettingsSection::general);
        view->select(SettingsSection::appearance);
    }
    std::optional<DesktopCue> storedCue(const QString &name) { return stored().workspace(name)->cue; }
    QString storedFill(const QString &name)
    {
        const std::optional<DesktopCue> cue = storedCue(name);
        return cue ? cue->fill.value : QStringLiteral("<none>");
    }
    void choose(const QString &name)
    {
        QComboBox *picker = editor()->targetPicker();
        picker->setFocus();
        while (picker->currentData().toString() != name && picker->currentIndex() + 1 < picker->count())
            QTest::keyClick(picker, Qt::Key_Down); // a keyboard choice is an activation
    }
};

TEST_F(WallpaperEditor, TheTargetChoiceAndTheEmptyDocument)
{
    openWith({});
    DesktopWallpaperEditor *page = editor();
    EXPECT_TRUE(page->emptyText()->isVisibleTo(page));
    EXPECT_EQ(page->emptyText()->text(), "Create a desktop first, then you can give it a wallpaper.");
    EXPECT_FALSE(page->targetPicker()->isVisibleTo(page));
    QTest::mouseClick(page->muteToggle(), Qt::LeftButton);
    EXPECT_TRUE(stored().settings.overlaysMuted);

    view.reset(); // a live desktop active: that one
    openWith({"Default", "Work"}, [](Config &c) { c.activeWorkspace = "Work"; });
    EXPECT_EQ(editor()->target(), "Work");
    EXPECT_FALSE(editor()->emptyText()->isVisibleTo(editor()));
    EXPECT_EQ(editor()->targetPicker()->currentText(), "Work");

    view.reset(); // the blank desktop or an archived one active: the first live one
    openWith({"Old", "Default", "Work"}, [](Config &c) {
        c.workspace("Old")->state = WorkspaceState::archivedUnsorted;
        c.activeWorkspace = "Old";
    });
    EXPECT_EQ(editor()->target(), "Default");
    EXPECT_EQ(editor()->targetPicker()->count(), 2);
    view.reset();
    openWith({"Default"}, [](Config &c) { c.activeWorkspace = Config::blankWorkspaceName; });
    EXPECT_EQ(editor()->target(), "Default");
    EXPECT_EQ(store.saves, 0); // showing stores nothing
}

TEST_F(WallpaperEditor, ALongNameIsListedShortAndEditedByItsFullName)
{
    const QString a34(34, 'a');
    EXPECT_EQ(DesktopWallpaperEditor::listedName(a34), a34);
    EXPECT_EQ(DesktopWallpaperEditor::listedName(a34 + "b"), a34 + "…");
    // Trimmed after the cut.
    EXPECT_EQ(DesktopWallpaperEditor::listedName(QString(33, 'a') + "  tail"), QString(33, 'a') + "…");
    // A character outside the basic plane counts once and is never split.
    const QString face = QStringLiteral("\U0001F600");
    EXPECT_EQ(DesktopWallpaperEditor::listedName(QString(33, 'a') + face), QString(33, 'a') + face);
    EXPECT_EQ(DesktopWallpaperEditor::listedName(QString(33, 'a') + face + "bc"), QString(33, 'a') + face + "…");

    const QString forty = QStringLiteral("Quarterly reports and receipts 2026 Q1");
    ASSERT_EQ(forty.size(), 38);
    const QString long40 = forty + "xy";
    openWith({"Default", long40});
    QComboBox *picker = editor()->targetPicker();
    ASSERT_EQ(picker->count(), 2);
    EXPECT_EQ(picker->itemText(1), "Quarterly reports and receipts 202…");
    EXPECT_EQ(picker->itemData(1).toString(), long40);
    choose(long40);
    EXPECT_EQ(editor()->target(), long40);
    QTest::mouseClick(editor()->showToggle(), Qt::LeftButton);
    ASSERT_TRUE(storedCue(long40));
    EXPECT_TRUE(storedCue(long40)->enabled);
    EXPECT_FALSE(storedCue("Default"));
    // Its light or dark mode, for the same desktop.
    QTest::mouseClick(editor()->appearancePicker()->segment(int(AppearanceMode::dark)), Qt::LeftButton);
    EXPECT_EQ(stored().workspace(long40)->preferredAppearance, AppearanceMode::dark);
    EXPECT_EQ(stored().workspace("Default")->preferredAppearance, AppearanceMode::system);
}

TEST_F(WallpaperEditor, ABurstOfColoursStoresTheLastOnceIntoADisabledCue)
{
    openWith({"Default"});
    QTest::mouseClick(editor()->colorWell(), Qt::LeftButton);
    ASSERT_EQ(dialogs.liveColorPanels.size(), 1u);
    auto &panel = dialogs.liveColorPanels[0];
    EXPECT_EQ(panel.initial, QColor(Qt::black));
    panel.changed(QColor("#102030"));
    scheduler.advance(0.1);
    panel.changed(QColor("#405060"));
    scheduler.advance(0.1);
    panel.changed(QColor("#a0b0c0"));
    EXPECT_EQ(editor()->preview()->color(), QColor("#a0b0c0")); // the preview follows at once
    scheduler.advance(0.199);
    EXPECT_EQ(store.saves, 0);
    scheduler.advance(0.002);
    EXPECT_EQ(store.saves, 1);
    // The first edit: a hidden cue with only that change.
    const std::optional<DesktopCue> cue = storedCue("Default");
    ASSERT_TRUE(cue);
    EXPECT_FALSE(cue->enabled);
    EXPECT_EQ(cue->fill, DesktopCue::Fill::color("#A0B0C0"));
    EXPECT_DOUBLE_EQ(cue->opacity, 0.7);
    EXPECT_FALSE(cue->aboveIcons);

    panel.changed(QColor("#a0b0c0")); // the stored colour again: nothing
    scheduler.advance(0.3);
    EXPECT_EQ(store.saves, 1);
    // A change made elsewhere shows at once.
    model->setCueEnabled("Default", true);
    EXPECT_TRUE(editor()->showToggle()->isChecked());
}

TEST_F(WallpaperEditor, ImageStoresNothingUntilChosenAndColourStoresAtOnce)
{
    openWith({"Default"}, withCue("Default", {true, DesktopCue::Fill::color("#336699"), 0.5, false, true}));
    DesktopWallpaperEditor *page = editor();
    EXPECT_EQ(page->liveColor(), QColor("#336699"));
    EXPECT_EQ(page->percentText()->text(), "50%");
    QTest::mouseClick(page->fillPicker()->segment(int(DesktopWallpaperEditor::FillKind::image)), Qt::LeftButton);
    EXPECT_EQ(store.saves, 0);
    EXPECT_EQ(page->fillSymbol()->property(SymbolIcon::property).toString(), "photo");
    EXPECT_EQ(page->imageName()->text(), "No image");
    EXPECT_FALSE(page->colorWell()->isVisibleTo(page));
    EXPECT_EQ(page->preview()->imagePath(), std::nullopt); // the colour shows until a file is chosen

    QTest::mouseClick(page->chooseButton(), Qt::LeftButton);
    ASSERT_EQ(dialogs.choosers.size(), 1u);
    const auto &chooser = dialogs.choosers[0];
    EXPECT_EQ(chooser.kind, ScriptedDialogs::Chooser::file);
    EXPECT_EQ(chooser.options.acceptLabel, "Use Image");
    EXPECT_EQ(chooser.options.directory, home.path() + "/Pictures"); // images are looked for there first
    ASSERT_EQ(chooser.options.nameFilters.size(), 1);
    EXPECT_TRUE(chooser.options.nameFilters[0].contains("*.png"));
    dialogs.choose(std::nullopt); // cancelled: nothing
    EXPECT_EQ(store.saves, 0);

    QImage green(8, 8, QImage::Format_RGB32);
    green.fill(Qt::green);
    const QString picked = home.filePath("green.png");
    ASSERT_TRUE(green.save(picked));
    QTest::mouseClick(page->chooseButton(), Qt::LeftButton);
    dialogs.choose(picked);
    const QString copy = storedFill("Default");
    EXPECT_TRUE(copy.startsWith(paths.cues() + "/"));
    EXPECT_TRUE(QFile::exists(picked)); // the user's file stays where it was
    // The copy's name, cut in the middle when long.
    EXPECT_EQ(page->imageName()->toolTip(), QFileInfo(copy).fileName());
    EXPECT_TRUE(page->imageName()->text().startsWith(QFileInfo(copy).fileName().left(4)));
    EXPECT_TRUE(page->imageName()->text().endsWith(".png"));
    EXPECT_EQ(page->preview()->imagePath(), copy);
    EXPECT_TRUE(storedCue("Default")->aboveMenuBar); // never changed here

    const int saves = store.saves;
    QTest::mouseClick(page->fillPicker()->segment(int(DesktopWallpaperEditor::FillKind::color)), Qt::LeftButton);
    EXPECT_EQ(store.saves, saves + 1);
    EXPECT_EQ(storedFill("Default"), "#336699");
    EXPECT_TRUE(page->colorWell()->isVisibleTo(page));
    EXPECT_EQ(page->fillSymbol()->property(SymbolIcon::property).toString(), "circle");
}

TEST_F(WallpaperEditor, OpacityAboveTheIconsKeyboardAndDrag)
{
    openWith({"Default"}, withCue("Default", {false, DesktopCue::Fill::color("#000000"), 0.95, false, false}));
    DesktopWallpaperEditor *page = editor();
    QSlider *slider = page->opacitySlider();
    EXPECT_EQ(page->percentText()->text(), "95%");
    QTest::mouseClick(page->aboveIconsToggle(), Qt::LeftButton);
    EXPECT_TRUE(storedCue("Default")->aboveIcons);
    EXPECT_DOUBLE_EQ(storedCue("Default")->opacity, 0.8);
    EXPECT_DOUBLE_EQ(page->liveOpacity(), 0.8);
    EXPECT_EQ(slider->value(), 80);
    EXPECT_EQ(slider->maximum(), 80);
    EXPECT_EQ(page->percentText()->text(), "80%");
    QTest::mouseClick(page->aboveIconsToggle(), Qt::LeftButton);
    EXPECT_DOUBLE_EQ(storedCue("Default")->opacity, 0.8);
    EXPECT_EQ(slider->maximum(), 100);

    // Keys store each step.
    slider->setFocus();
    QTest::keyClick(slider, Qt::Key_Right);
    EXPECT_DOUBLE_EQ(storedCue("Default")->opacity, 0.81);
    QTest::keyClick(slider, Qt::Key_End);
    EXPECT_DOUBLE_EQ(storedCue("Default")->opacity, 1.0);
    EXPECT_EQ(page->percentText()->text(), "100%");
    QTest::keyClick(slider, Qt::Key_Home);
    EXPECT_DOUBLE_EQ(storedCue("Default")->opacity, 0.05);
    EXPECT_EQ(page->percentText()->text(), "5%");

    // A drag stores once, when it ends.
    const int saves = store.saves;
    slider->setSliderDown(true);
    slider->setValue(30);
    slider->setValue(42);
    EXPECT_EQ(page->percentText()->text(), "42%");
    EXPECT_DOUBLE_EQ(page->preview()->opacity(), 0.42);
    EXPECT_EQ(store.saves, saves);
    slider->setSliderDown(false);
    EXPECT_EQ(store.saves, saves + 1);
    EXPECT_DOUBLE_EQ(storedCue("Default")->opacity, 0.42);
}

TEST_F(WallpaperEditor, TheColourLandsOnTheDesktopItWasPickedFor)
{
    openWith({"Default", "Work"});
    QTest::mouseClick(editor()->colorWell(), Qt::LeftButton);
    dialogs.liveColorPanels.back().changed(QColor("#112233"));
    scheduler.advance(0.1);
    choose("Work"); // another desktop within the delay
    EXPECT_EQ(editor()->target(), "Work");
    scheduler.advance(0.15);
    EXPECT_EQ(storedFill("Default"), "#112233");
    EXPECT_EQ(storedFill("Work"), "<none>");

    // Picked for Work, then the editor is rebuilt and opens on the active desktop.
    QTest::mouseClick(editor()->colorWell(), Qt::LeftButton);
    dialogs.liveColorPanels.back().changed(QColor("#445566"));
    reopen();
    EXPECT_EQ(editor()->target(), "Default");
    scheduler.advance(0.25);
    EXPECT_EQ(storedFill("Work"), "#445566");
    EXPECT_EQ(storedFill("Default"), "#112233");

    // A colour for another desktop does not drop the one still waiting.
    QTest::mouseClick(editor()->colorWell(), Qt::LeftButton);
    dialogs.liveColorPanels.back().changed(QColor("#778899"));
    choose("Work");
    QTest::mouseClick(editor()->colorWell(), Qt::LeftButton);
    dialogs.liveColorPanels.back().changed(QColor("#AABBCC"));
    scheduler.advance(0.25);
    EXPECT_EQ(storedFill("Default"), "#778899");
    EXPECT_EQ(storedFill("Work"), "#AABBCC");
}

TEST_F(WallpaperEditor, ThePreviewPaintsTheFillInItsFrameAndTakesNoClicks)
{
    WallpaperPreview preview(&cache);
    preview.resize(120, 84);
    auto paint = [&] {
        QImage image(preview.size(), QImage::Format_ARGB32_Premultiplied);
        image.fill(Qt::transparent);
        preview.render(&image, QPoint(), QRegion(), QWidget::DrawChildren);
        return image;
    };
    preview.setFill(WallpaperPreview::FillKind::color, QColor("#FF0000"), std::nullopt, 1.0);
    QImage image = paint();
    EXPECT_EQ(image.pixelColor(60, 42), QColor("#FF0000"));
    EXPECT_EQ(image.pixelColor(0, 0).alpha(), 0); // outside the rounded corner
    preview.setFill(WallpaperPreview::FillKind::color, QColor("#FF0000"), std::nullopt, 0.5);
    const QColor half = paint().pixelColor(60, 42);
    EXPECT_GT(half.red(), 100);
    EXPECT_GT(half.blue(), 40); // the gradient shows through

    QImage green(4, 4, QImage::Format_RGB32);
    green.fill(Qt::green);
    const QString file = home.filePath("green.png");
    ASSERT_TRUE(green.save(file));
    preview.setFill(WallpaperPreview::FillKind::image, Qt::red, file, 1.0);
    EXPECT_EQ(paint().pixelColor(60, 42), QColor(Qt::green));
    EXPECT_TRUE(cache.contains(file)); // read once, then kept
    // An image that cannot be read shows the colour.
    preview.setFill(WallpaperPreview::FillKind::image, Qt::red, home.filePath("gone.png"), 1.0);
    EXPECT_EQ(paint().pixelColor(60, 42), QColor(Qt::red));

    openWith({"Default"});
    DesktopWallpaperEditor *page = editor();
    QCoreApplication::sendPostedEvents();
    QWidget *shown = page->preview();
    ASSERT_GT(shown->width(), 100);
    const QPoint centre = shown->mapTo(page, shown->rect().center());
    // What a click there reaches: the row beneath, not the preview.
    EXPECT_EQ(page->childAt(centre), shown->parentWidget());
}

// A session theme without a dark variant is named beside the Light / Dark choice.
TEST_F(WallpaperEditor, ASessionThemeWithoutADarkVariantIsNamedBesideTheChoice)
{
    openWith({"Default"});
    EXPECT_EQ(editor()->noDarkVariantNote(), nullptr);
    view.reset();
    services.themeWithoutDark = [] { return std::optional<QString>("Xfce"); };
    QLabel *note = editor()->noDarkVariantNote();
    ASSERT_NE(note, nullptr);
    EXPECT_EQ(note->text(), "The theme “Xfce” has no dark variant: Dark leaves it light.");
    EXPECT_TRUE(note->isVisibleTo(editor()));
}

// A desktop with no dark mode to switch at all (LXDE without lxsession's settings) says so there.
TEST_F(WallpaperEditor, ADesktopWithoutADarkSwitchSaysSoBesideTheChoice)
{
    services.hasDarkSwitch = [] { return false; };
    services.themeWithoutDark = [] { return std::optional<QString>("Xfce"); };
    openWith({"Default"});
    QLabel *note = editor()->noDarkVariantNote();
    ASSERT_NE(note, nullptr);
    EXPECT_EQ(note->text(), "This desktop has no dark mode to switch: Dark leaves it as it is.");
    EXPECT_TRUE(note->isVisibleTo(editor()));
}

// Where the desktop draws its own wallpaper under its icons, the editor says the cue shows only above.
TEST_F(WallpaperEditor, ADesktopThatDrawsItsOwnWallpaperIsNamed)
{
    openWith({"Default"});
    EXPECT_EQ(editor()->ownWallpaperNote(), nullptr);
    view.reset();
    services.cueBelowIconsUnavailable = [] { return true; };
    ASSERT_NE(editor()->ownWallpaperNote(), nullptr);
    EXPECT_EQ(editor()->ownWallpaperNote()->text(), "This desktop draws its own wallpaper; the cue shows above windows only");
}
