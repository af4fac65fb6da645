// The settings window's looks: every symbol it draws is an icon the application carries, and its
// texts read in the light and the dark theme, measured on the window as drawn.
#include "Calendar/CalendarWindowController.h"
#include "Calendar/CreateWorkspaceWindowController.h"
#include "Calendar/WorkspaceCreateSheet.h"
#include "Controller/StatusMenuModel.h"
#include "SettingsViewHarness.h"
#include "SettingsViews/ColorSwatch.h"
#include "SettingsViews/DetailPane.h"
#include "SettingsViews/SegmentedControl.h"
#include "SettingsViews/SettingRow.h"
#include "SettingsViews/SettingsSection.h"
#include "Shared/FocusRing.h"
#include "Shared/Style.h"
#include "Shared/SymbolIcon.h"
#include "Shared/Theme.h"
#include "Triggers/KeyRecorder.h"

#include <QActionGroup>
#include <QCheckBox>
#include <QHash>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QMenu>
#include <QPushButton>
#include <QScrollBar>
#include <QStyleOptionSlider>
#include <QToolButton>
#include <QVBoxLayout>

using namespace quorvane;
using namespace quorvane::test;

namespace {

// The contrast of the text drawn in part of a picture: its commonest colour (the background)
// against the pixel that differs from it most.
double textContrast(const QImage &picture, const QRect &part)
{
    QHash<QRgb, int> counts;
    const QRect area = part.intersected(picture.rect());
    for (int y = area.top(); y <= area.bottom(); ++y)
        for (int x = area.left(); x <= area.right(); ++x)
            ++counts[picture.pixel(x, y) | 0xFF000000];
    QRgb background = 0;
    int most = -1;
    for (auto it = counts.cbegin(); it != counts.cend(); ++it)
        if (it.value() > most) {
            most = it.value();
            background = it.key();
        }
    double best = 1;
    for (auto it = counts.cbegin(); it != counts.cend(); ++it)
        best = std::max(best, Style::contrastRatio(QColor(background), QColor(it.key())));
    return best;
}

// The part of the window's picture a widget covers.
QRect within(const QWidget *window, const QWidget *widget)
{
    return QRect(widget->mapTo(window, QPoint(0, 0)), widget->size());
}

struct Looks : SettingsViewHarness {
    void TearDown() override
    {
        SettingsViewHarness::TearDown();
        Theme::shared().apply(Appearance{});
    }
    // Picks the look with a click on the Appearance section's segment, as a user would.
    void choose(AppearanceMode mode)
    {
        view->select(SettingsSection::appearance);
        auto *picker = find<SegmentedControl>(QStringLiteral("Appearance"));
        ASSERT_NE(picker, nullptr);
        QTest::mouseClick(picker->segment(int(mode)), Qt::LeftButton);
        ASSERT_EQ(model->config().settings.appearance.mode, mode);
    }
};

} // namespace

TEST_F(Looks, EverySymbolOfEveryViewAndTheMenuIsAnIconTheApplicationCarries)
{
    openWith({"Default", "Work"});
    SettingsView &shell = show();
    QStringList seen;
    for (SettingsSection section : allSettingsSections) {
        shell.select(section);
        QCoreApplication::sendPostedEvents();
        seen << symbol(section);
        for (QObject *object : shell.findChildren<QObject *>())
            if (const QString name = object->property(SymbolIcon::property).toString(); !name.isEmpty())
                seen << name;
    }
    CreateWorkspaceWindowController create(*model, dialogs);
    for (QObject *object : create.window()->findChildren<QObject *>())
        if (const QString name = object->property(SymbolIcon::property).toString(); !name.isEmpty())
            seen << name;
    {
        CalendarWindowController calendar(*model);
        for (QObject *object : calendar.window()->findChildren<QObject *>())
            if (const QString name = object->property(SymbolIcon::property).toString(); !name.isEmpty())
                seen << name;
    }
    QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
    QMenu menu;
    renderStatusMenu(StatusMenuModel::build(model->config(), true), menu, [](const StatusMenuItem &) {});
    for (QAction *action : menu.actions())
        if (const QString name = action->property(SymbolIcon::property).toString(); !name.isEmpty())
            seen << name;
    seen.removeDuplicates();
    EXPECT_GT(seen.size(), 25);
    for (const QString &name : seen)
        EXPECT_TRUE(SymbolIcon::known(name)) << qPrintable(name);
    QStringList unknown = SymbolIcon::unknownAsked();
    unknown.removeAll(QStringLiteral("no.such.symbol")); // the icon tests' own
    EXPECT_TRUE(unknown.isEmpty()) << qPrintable(unknown.join(QLatin1Char(' ')));

    // The desktops in the menu are one exclusive choice.
    int radios = 0;
    for (QAction *action : menu.actions())
        if (action->actionGroup() && action->actionGroup()->isExclusive() && action->isCheckable())
            ++radios;
    EXPECT_EQ(radios, 2);
}

TEST_F(Looks, TheWholeWindowReadsInTheLightAndTheDarkTheme)
{
    openWith({"Default", "Work"});
    SettingsView &shell = show();
    for (AppearanceMode mode : {AppearanceMode::dark, AppearanceMode::light}) {
        choose(mode);
        const QPalette palette = QApplication::palette();
        EXPECT_EQ(Style::isDark(palette), mode == AppearanceMode::dark);
        // The window has no palette of its own: the sidebar and the page share the look.
        EXPECT_FALSE(shell.testAttribute(Qt::WA_SetPalette));
        EXPECT_EQ(shell.sidebar()->palette().color(QPalette::Text), palette.color(QPalette::Text));

        shell.select(SettingsSection::general);
        QImage picture = shell.grab().toImage();
        QListWidget *sidebar = shell.sidebar();
        for (int row = 0; row < sidebar->count(); ++row) {
            const QRect item = sidebar->visualItemRect(sidebar->item(row)).translated(sidebar->viewport()->mapTo(&shell, QPoint()));
            EXPECT_GE(textContrast(picture, item.adjusted(40, 0, 0, 0)), 4.5) << "section " << row;
        }
        EXPECT_GE(textContrast(picture, within(&shell, shell.pane()).adjusted(0, 0, 0, -shell.pane()->height() + 40)), 3.0)
            << "the page's title";
        int subtitles = 0;
        for (QLabel *label : shell.pane()->findChildren<QLabel *>()) {
            if (label->foregroundRole() != QPalette::PlaceholderText || label->text().isEmpty() || !label->isVisible())
                continue;
            ++subtitles;
            EXPECT_GE(textContrast(picture, within(&shell, label)), 4.5) << qPrintable(label->text());
        }
        EXPECT_GT(subtitles, 1);

        // The Desktops page: its hint bar, and the call to action's text on the accent.
        shell.select(SettingsSection::workspaces);
        QCoreApplication::sendPostedEvents();
        picture = shell.grab().toImage();
        auto *hint = find<QWidget>(QStringLiteral("Click to select, drag to reorder"));
        ASSERT_NE(hint, nullptr);
        EXPECT_GE(textContrast(picture, within(&shell, hint).adjusted(30, 2, -30, -2)), 4.5) << "the hint bar";
        auto *create = qobject_cast<QPushButton *>(shell.pane()->trailing());
        ASSERT_NE(create, nullptr);
        const QRect button = within(&shell, create).adjusted(30, 6, -12, -6);
        EXPECT_GE(textContrast(picture, button), 4.5) << "text on the accent";
        // Its symbol in the same colour as its text.
        const QRect symbol = within(&shell, create).adjusted(8, 6, 0, -6);
        const QColor accent = palette.color(QPalette::Highlight);
        QColor strongest = accent;
        for (int y = symbol.top(); y <= symbol.bottom(); ++y)
            for (int x = symbol.left(); x < symbol.left() + 22; ++x)
                if (Style::contrastRatio(QColor(picture.pixel(x, y)), accent) > Style::contrastRatio(strongest, accent))
                    strongest = QColor(picture.pixel(x, y));
        EXPECT_EQ(strongest, Style::textOn(accent)) << "the symbol on the accent";
        // A desktop's name is drawn on its row's background, with no field box around it.
        auto *name = find<QLineEdit>(QStringLiteral("Name of Work"));
        ASSERT_NE(name, nullptr);
        const QPoint corner = name->mapTo(&shell, QPoint(1, 1));
        EXPECT_EQ(QColor(picture.pixel(corner)), QColor(picture.pixel(corner - QPoint(4, 0)))) << "the name's background";
        // A disabled call to action stays legible.
        create->setEnabled(false);
        EXPECT_GE(textContrast(create->grab().toImage(), create->rect().adjusted(30, 6, -12, -6)), 3.0)
            << "a disabled call to action";
        create->setEnabled(true);
    }
}

TEST_F(Looks, TheChosenSegmentIsMarkedWithTheAccent)
{
    openWith({"Default"}, [](Config &c) { c.settings.appearance.accentHex = QStringLiteral("#C08497"); });
    show(SettingsSection::appearance);
    choose(AppearanceMode::dark);
    auto *picker = find<SegmentedControl>(QStringLiteral("Appearance"));
    QToolButton *chosen = picker->segment(int(AppearanceMode::dark));
    QCoreApplication::sendPostedEvents(); // the segment's look is written once the palette settled
    const QImage drawn = chosen->grab().toImage();
    EXPECT_EQ(QColor(drawn.pixel(drawn.width() / 2, 3)), QColor("#C08497"));
    EXPECT_GE(textContrast(drawn, drawn.rect().adjusted(3, 3, -3, -3)), 4.5);
    const QImage other = picker->segment(int(AppearanceMode::light))->grab().toImage();
    EXPECT_NE(QColor(other.pixel(other.width() / 2, 3)), QColor("#C08497"));
}

TEST_F(Looks, TheRecordPromptABlackWellAndTheScrollThumbStandOutInBothLooks)
{
    openWith({"Default"});
    SettingsView &shell = show();
    for (AppearanceMode mode : {AppearanceMode::light, AppearanceMode::dark}) {
        choose(mode);
        const char *look = mode == AppearanceMode::dark ? "dark" : "light";
        const QColor window = QApplication::palette().color(QPalette::Window);

        // An empty shortcut's prompt reads 4.5:1 on its field.
        shell.select(SettingsSection::shortcuts);
        QCoreApplication::sendPostedEvents();
        KeyRecorderView *empty = nullptr;
        for (KeyRecorderView *recorder : shell.pane()->findChildren<KeyRecorderView *>())
            empty = recorder->text() == "Record…" ? recorder : empty;
        ASSERT_NE(empty, nullptr) << look;
        EXPECT_GE(textContrast(empty->grab().toImage(), empty->rect().adjusted(4, 4, -4, -4)), 4.5) << look;

        // A black colour well keeps an edge that stands 3:1 against the window.
        QWidget host;
        host.setAutoFillBackground(true);
        host.resize(40, 40);
        auto *well = new ColorSwatch(Qt::black, 22, true, &host);
        well->move(9, 9);
        const QImage drawnWell = host.grab().toImage();
        double wellEdge = 1;
        for (int x = well->x(); x < well->x() + 6; ++x)
            wellEdge = std::max(wellEdge, Style::contrastRatio(drawnWell.pixelColor(x, well->y() + 11), window));
        EXPECT_GE(wellEdge, 3.0) << look << " black well";

        // A scroll bar's thumb shows an edge that stands 3:1 against its track.
        QScrollBar bar(Qt::Vertical);
        bar.setRange(0, 100);
        bar.setPageStep(20);
        bar.resize(14, 240);
        QStyleOptionSlider option;
        option.initFrom(&bar);
        option.orientation = Qt::Vertical;
        option.minimum = bar.minimum();
        option.maximum = bar.maximum();
        option.pageStep = bar.pageStep();
        option.sliderPosition = option.sliderValue = 0;
        const QRect thumb = bar.style()->subControlRect(QStyle::CC_ScrollBar, &option, QStyle::SC_ScrollBarSlider, &bar);
        ASSERT_LT(thumb.bottom() + 20, bar.height()) << look;
        const QImage drawnBar = bar.grab().toImage();
        const QColor track = drawnBar.pixelColor(bar.width() / 2, thumb.bottom() + 12);
        double thumbEdge = 1;
        for (int y = thumb.top(); y <= thumb.bottom(); ++y)
            for (int x = thumb.left(); x <= thumb.right(); ++x)
                thumbEdge = std::max(thumbEdge, Style::contrastRatio(drawnBar.pixelColor(x, y), track));
        EXPECT_GE(thumbEdge, 3.0) << look << " scroll thumb on " << qPrintable(track.name());
    }
}

TEST_F(Looks, ACheckBoxAtTheEndOfItsRowShowsItsWholeRing)
{
    Theme::shared().apply(Appearance{AppearanceMode::light, std::nullopt});
    QWidget window;
    auto *column = new QVBoxLayout(&window);
    column->setContentsMargins(0, 0, 0, 0);
    auto *box = new QCheckBox;
    column->addWidget(new SettingRow(QStringLiteral("Launch Quorvane on startup"), {}, {}, box));
    window.resize(300, 40);
    window.show();
    window.activateWindow();
    ASSERT_TRUE(QTest::qWaitForWindowActive(&window));
    box->setFocus(Qt::TabFocusReason);
    ASSERT_EQ(FocusRing::target(), box);
    QCoreApplication::processEvents();
    // The ring's right side, just beside the box, in the focus colour.
    const QImage drawn = window.grab().toImage();
    const QPoint right = box->mapTo(&window, QPoint(box->width(), box->height() / 2));
    ASSERT_LT(right.x(), drawn.width());
    double nearest = 21;
    for (int x = right.x(); x < std::min(drawn.width(), right.x() + FocusRing::width); ++x)
        nearest = std::min(nearest, Style::contrastRatio(drawn.pixelColor(x, right.y()), Style::focusColor(window.palette())));
    EXPECT_LT(nearest, 1.3) << qPrintable(drawn.pixelColor(right).name());
}

TEST(StatusColours, WarningsErrorsAndConfirmationsReadInBothThemes)
{
    for (const QPalette &palette : {lightPalette(), darkPalette()})
        for (QPalette::ColorRole role : {QPalette::Window, QPalette::Base, QPalette::Button}) {
            const QColor background = palette.color(role);
            EXPECT_GE(Style::contrastRatio(Style::warningColor(palette), background), 4.5);
            EXPECT_GE(Style::contrastRatio(Style::errorColor(palette), background), 4.0);
            EXPECT_GE(Style::contrastRatio(Style::successColor(palette), background), 4.5);
            EXPECT_GE(Style::contrastRatio(palette.color(QPalette::PlaceholderText), background), 4.5);
            EXPECT_GE(Style::contrastRatio(palette.color(QPalette::Disabled, QPalette::ButtonText), background), 3.0);
        }
    for (const AccentPreset &preset : Style::accentPresets()) {
        const QColor accent = colorFromHex(preset.hex);
        EXPECT_GE(Style::contrastRatio(Style::textOn(accent), accent), 4.5) << qPrintable(preset.name);
    }
}
