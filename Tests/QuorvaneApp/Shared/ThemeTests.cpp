#include "Shared/CapsuleStyle.h"
#include "Shared/DocumentService.h"
#include "Shared/FocusRing.h"
#include "Shared/Style.h"
#include "Shared/SymbolIcon.h"
#include "Shared/Theme.h"
#include "TestEnvironment.h"

#include <QApplication>
#include <QCheckBox>
#include <QDir>
#include <QLabel>
#include <QLineEdit>
#include <QMessageBox>
#include <QProxyStyle>
#include <QPushButton>
#include <QSet>
#include <QStyle>
#include <QTest>
#include <QVBoxLayout>
#include <gtest/gtest.h>

using namespace quorvane;

namespace {

struct ThemeTest : ::testing::Test {
    bool sessionDark = false;
    int asked = 0;

    void SetUp() override
    {
        Theme::shared().setSystemSource([this] {
            ++asked;
            return sessionDark;
        });
    }
    void TearDown() override
    {
        Theme::shared().setFollowPlatformPalette(false);
        Theme::shared().setSystemSource({});
        Theme::shared().apply(Appearance{});
    }
};

} // namespace

TEST_F(ThemeTest, SystemFollowsTheSessionAndItsChangesTheFixedLooksDoNot)
{
    QLabel window; // made before any look: it follows the application's palette all the same
    Theme::shared().apply(Appearance{AppearanceMode::system, std::nullopt});
    EXPECT_FALSE(Theme::shared().dark());
    EXPECT_EQ(window.palette().color(QPalette::Window), lightPalette().color(QPalette::Window));
    auto *style = qobject_cast<QProxyStyle *>(QApplication::style());
    ASSERT_NE(style, nullptr);
    EXPECT_EQ(style->baseStyle()->name(), "fusion");

    sessionDark = true;
    Theme::shared().systemChanged();
    EXPECT_TRUE(Theme::shared().dark());
    EXPECT_EQ(window.palette().color(QPalette::Window), darkPalette().color(QPalette::Window));
    EXPECT_EQ(window.palette().color(QPalette::WindowText), darkPalette().color(QPalette::WindowText));

    // A fixed look stays as chosen when the session changes.
    Theme::shared().apply(Appearance{AppearanceMode::light, QStringLiteral("#6C8BA6")});
    const int before = asked;
    sessionDark = false;
    Theme::shared().systemChanged();
    sessionDark = true;
    Theme::shared().systemChanged();
    EXPECT_FALSE(Theme::shared().dark());
    EXPECT_EQ(window.palette().color(QPalette::Highlight), QColor("#6C8BA6"));
    EXPECT_EQ(window.palette().color(QPalette::HighlightedText), Style::textOn(QColor("#6C8BA6")));
    // The session is asked once per change, not at every apply.
    Theme::shared().apply(Appearance{AppearanceMode::system, std::nullopt});
    Theme::shared().apply(Appearance{AppearanceMode::system, QStringLiteral("#C79A5B")});
    EXPECT_LE(asked - before, 3);
    EXPECT_TRUE(Theme::shared().dark());
}

TEST_F(ThemeTest, FollowsTheLookOfEachDocumentItIsHanded)
{
    test::TempHome home;
    const QString store = home.filePath("store");
    QDir().mkpath(store);
    QLabel window;
    {
        DocumentService documents(store + "/config.json", store + "/journal.json");
        Theme::shared().follow(documents);
        documents.mutateConfig([](Config &config) { config.settings.appearance = {AppearanceMode::dark, "#6C8BA6"}; });
        documents.announce();
        EXPECT_TRUE(Theme::shared().dark());
        EXPECT_EQ(window.palette().color(QPalette::Highlight), QColor("#6C8BA6"));
        documents.mutateConfig([](Config &config) { config.settings.appearance.mode = AppearanceMode::light; });
        EXPECT_FALSE(Theme::shared().dark());
    }
    // The next run's service is followed from its first announcement (the stored look: light).
    Theme::shared().apply(Appearance{AppearanceMode::dark, std::nullopt});
    DocumentService later(store + "/config.json", store + "/journal.json");
    Theme::shared().follow(later);
    later.announce();
    EXPECT_FALSE(Theme::shared().dark());
}

TEST_F(ThemeTest, ACheckBoxIsOutlinedReadablyInTheDarkTheme)
{
    Theme::shared().apply(Appearance{AppearanceMode::dark, std::nullopt});
    QCheckBox box;
    box.resize(box.sizeHint());
    const QImage drawn = box.grab().toImage();
    const QColor window = darkPalette().color(QPalette::Window);
    double strongest = 1;
    for (int y = 0; y < drawn.height(); ++y)
        for (int x = 0; x < std::min(drawn.width(), 20); ++x) // the indicator, before any text
            strongest = std::max(strongest, Style::contrastRatio(QColor(drawn.pixel(x, y)), window));
    EXPECT_GE(strongest, 3.0);
}

TEST_F(ThemeTest, AlertsShowTheApplicationsOwnSymbolsInTheLooksColours)
{
    Theme::shared().apply(Appearance{AppearanceMode::dark, std::nullopt});
    QMessageBox box;
    box.setIcon(QMessageBox::Warning);
    const QImage drawn = box.iconPixmap().toImage();
    ASSERT_FALSE(drawn.isNull());
    // One colour, the look's warning colour, where the symbol is drawn.
    QSet<QRgb> inks;
    for (int y = 0; y < drawn.height(); ++y)
        for (int x = 0; x < drawn.width(); ++x)
            if (qAlpha(drawn.pixel(x, y)) == 255)
                inks.insert(drawn.pixel(x, y));
    EXPECT_EQ(inks, QSet<QRgb>{Style::warningColor(QApplication::palette()).rgb()});
    EXPECT_EQ(QApplication::style()->standardIcon(QStyle::SP_MessageBoxCritical).name(), "xmark.octagon.fill");
    EXPECT_EQ(QApplication::style()->standardIcon(QStyle::SP_MessageBoxInformation).name(), "info.circle");
}

TEST_F(ThemeTest, SystemTakesThePlatformsPaletteWhereItMatchesTheSessionWithTheAccentOnTop)
{
    QLabel window;
    Theme::shared().setFollowPlatformPalette(true);
    Theme::shared().apply(Appearance{AppearanceMode::system, QStringLiteral("#6C8BA6")});
    const QPalette &platform = Theme::shared().platformPalette();
    ASSERT_FALSE(Style::isDark(platform));
    ASSERT_NE(platform.color(QPalette::Window), lightPalette().color(QPalette::Window));
    EXPECT_EQ(window.palette().color(QPalette::Window), platform.color(QPalette::Window));
    EXPECT_EQ(window.palette().color(QPalette::Highlight), QColor("#6C8BA6"));
    // Its faded text reads 4.5:1 however faint the platform's is.
    for (const QPalette::ColorRole ground : {QPalette::Window, QPalette::Base})
        EXPECT_GE(Style::contrastRatio(window.palette().color(QPalette::PlaceholderText), window.palette().color(ground)), 4.5)
            << qPrintable(platform.color(QPalette::PlaceholderText).name());
    // A light platform palette in a dark session: the dark look instead.
    sessionDark = true;
    Theme::shared().systemChanged();
    EXPECT_EQ(window.palette().color(QPalette::Window), darkPalette().color(QPalette::Window));
    // A fixed look is the application's own in its own style.
    Theme::shared().apply(Appearance{AppearanceMode::light, std::nullopt});
    EXPECT_EQ(window.palette().color(QPalette::Window), lightPalette().color(QPalette::Window));
    EXPECT_EQ(qobject_cast<QProxyStyle *>(QApplication::style())->baseStyle()->name(), "fusion");
}

TEST_F(ThemeTest, TheFocusShowsAsARingThatStandsOutInBothLooks)
{
    for (const bool dark : {false, true}) {
        for (const AccentPreset &accent : Style::accentPresets()) {
            const QPalette p = Theme::palette(dark, colorFromHex(accent.hex));
            for (const QColor &ground : {p.color(QPalette::Window), p.color(QPalette::Base)}) {
                EXPECT_GE(Style::contrastRatio(Style::focusColor(p), ground), 3.0) << qPrintable(accent.name) << dark;
                EXPECT_GE(Style::contrastRatio(Style::edgeColor(p), ground), 3.0) << dark;
            }
        }
    }

    Theme::shared().apply(Appearance{AppearanceMode::light, std::nullopt});
    QWidget window;
    auto *column = new QVBoxLayout(&window);
    auto *first = new QPushButton(QStringLiteral("First"));
    auto *second = new QPushButton(QStringLiteral("Second"));
    auto *own = new QPushButton(QStringLiteral("Own"));
    FocusRing::setOwnRing(own);
    for (QWidget *w : {first, second, own})
        column->addWidget(w);
    window.show();
    window.activateWindow();
    ASSERT_TRUE(QTest::qWaitForWindowActive(&window));
    first->setFocus(Qt::TabFocusReason);
    EXPECT_EQ(FocusRing::target(), first);
    QTest::keyClick(first, Qt::Key_Tab);
    ASSERT_EQ(FocusRing::target(), second);
    // The ring is drawn just outside the button, in the focus colour.
    const QImage drawn = window.grab().toImage();
    const QColor ring = Style::focusColor(window.palette());
    const QPoint left(second->geometry().left() - 1, second->geometry().center().y());
    EXPECT_LT(Style::contrastRatio(QColor(drawn.pixel(left)), ring), 1.3)
        << qPrintable(QColor(drawn.pixel(left)).name()) << " " << qPrintable(ring.name());
    QTest::keyClick(second, Qt::Key_Tab);
    EXPECT_EQ(FocusRing::target(), nullptr); // the control draws its own
}

namespace {

bool magenta(const QColor &c) { return c.red() - c.green() > 60 && c.blue() - c.green() > 60; }

// Columns of a button's picture: where its magenta icon ends, and where the text's ink starts
// after it (a pixel standing out from the face left of the icon).
std::pair<int, int> iconEndAndTextStart(const QImage &picture)
{
    int left = -1, right = -1, top = -1, bottom = -1;
    for (int y = 0; y < picture.height(); ++y)
        for (int x = 0; x < picture.width(); ++x)
            if (magenta(picture.pixelColor(x, y))) {
                left = left < 0 ? x : std::min(left, x);
                right = std::max(right, x);
                top = top < 0 ? y : top;
                bottom = y;
            }
    for (int x = right + 1; left > 2 && x < picture.width() - 3; ++x)
        for (int y = top; y <= bottom; ++y) {
            const QColor face = picture.pixelColor(left - 2, y), here = picture.pixelColor(x, y);
            if (!magenta(here) && std::abs(here.lightness() - face.lightness()) > 30)
                return {right, x};
        }
    return {right, -1};
}

} // namespace

TEST_F(ThemeTest, IconButtonsGapTheirTextAndControlsShowEdgesThatStandOutInBothLooks)
{
    QPixmap square(16, 16);
    square.fill(QColor(255, 0, 255));
    for (const AppearanceMode mode : {AppearanceMode::light, AppearanceMode::dark}) {
        Theme::shared().apply(Appearance{mode, std::nullopt});
        const char *look = mode == AppearanceMode::dark ? "dark" : "light";
        // A button the style draws, and one in a host of capsules (a style sheet draws those).
        QWidget window;
        auto *column = new QVBoxLayout(&window);
        auto *plain = new QPushButton(QIcon(square), QStringLiteral("New desktop…"));
        plain->setIconSize(square.size());
        auto *capsules = new QWidget;
        capsules->setFixedSize(160, 40);
        auto *capsule = new QPushButton(QStringLiteral("New desktop…"), capsules);
        SymbolIcon::apply(capsule, QStringLiteral("plus"));
        capsule->setIcon(SymbolIcon::icon(QStringLiteral("plus"), QColor(255, 0, 255)));
        capsuleButtons(capsules);
        auto *field = new QLineEdit;
        auto *box = new QCheckBox;
        auto *capsuleField = new QLineEdit;
        quorvane::capsuleField(capsuleField, 28);
        for (QWidget *w : std::initializer_list<QWidget *>{plain, capsules, field, box, capsuleField}) {
            column->addWidget(w);
            w->setFocusPolicy(Qt::NoFocus); // the edges before the keyboard reaches them
        }
        capsule->setFocusPolicy(Qt::NoFocus);
        window.show();
        QCoreApplication::processEvents(); // the capsules' sheets are written
        capsule->resize(capsule->sizeHint());
        for (QPushButton *button : {plain, capsule}) {
            const QImage picture = button->grab().toImage();
            const auto [iconEnd, textStart] = iconEndAndTextStart(picture);
            ASSERT_GT(textStart, iconEnd) << look;
            EXPECT_GE(textStart - iconEnd - 1, Style::iconTextGap) << look << (button == plain ? " plain" : " capsule");
            EXPECT_LE(textStart + button->fontMetrics().horizontalAdvance(button->text()), picture.width() - 2) << look;
        }
        // The strongest contrast against the window along a control's top edge (a check box's
        // left one), focused or not.
        const QColor ground = window.palette().color(QPalette::Window);
        const auto edge = [&](QWidget *control, bool left) {
            const QImage drawn = window.grab().toImage();
            const QRect r(control->mapTo(&window, QPoint(0, 0)), control->size());
            double strongest = 1;
            for (int i = 0; i < 3; ++i)
                strongest = std::max(strongest, Style::contrastRatio(drawn.pixelColor(left ? QPoint(r.left() + i, r.center().y() - 3) : QPoint(r.center().x(), r.top() + i)), ground));
            return strongest;
        };
        EXPECT_GE(edge(field, false), 3.0) << look << " field";
        EXPECT_GE(edge(box, true), 3.0) << look << " check box";
        EXPECT_GE(edge(capsule, false), 3.0) << look << " capsule button";
        EXPECT_GE(edge(capsuleField, false), 3.0) << look << " capsule field";
        field->setFocusPolicy(Qt::StrongFocus);
        window.activateWindow();
        field->setFocus(Qt::TabFocusReason);
        ASSERT_TRUE(field->hasFocus());
        EXPECT_GE(edge(field, false), 3.0) << look << " focused field";
    }
}
