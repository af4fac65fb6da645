#include "CalendarViewHarness.h"

#include "Calendar/CalendarWindowController.h"
#include "Calendar/CleanupCalendarView.h"
#include "Overlays/SystemAppearance.h"
#include "RecordingActivationPolicy.h"
#include "Session/AppearanceSwitch.h"
#include "Session/PreferenceReader.h"
#include "Shared/CapsuleStyle.h"
#include "Shared/Style.h"
#include "Shared/Theme.h"
#include <QApplication>

#include <QCoreApplication>
#include <QPointer>
#include <QPushButton>
#include <QTest>
#include <QToolButton>

using namespace quorvane;
using namespace quorvane::test;

namespace {

class DarkSession final : public PreferenceReader, public AppearanceSwitch {
public:
    bool dark = true;
    std::optional<QVariant> value(const QString &domain, const QString &key) const override
    {
        if (domain.isEmpty() && key == "AppleInterfaceStyle" && dark)
            return QVariant(QStringLiteral("Dark"));
        return std::nullopt;
    }
    std::optional<QString> setDark(bool) override { return std::nullopt; }
    bool borrowing() const override { return false; }
    std::optional<QString> putBack() override { return std::nullopt; }
};

struct CalendarWindowTest : CalendarHarness {
    RecordingActivationPolicy activation;
    DarkSession session;
    SystemAppearance appearance{session, session};
    // Owned as the application's windows own it: one panel at a time, let go as it closes.
    std::unique_ptr<CalendarWindowController> panel;

    CalendarWindowController *showPanel()
    {
        if (!panel) {
            panel = std::make_unique<CalendarWindowController>(*model);
            panel->onClose = [this] { panel.release()->deleteLater(); };
        }
        panel->show(&activation);
        return panel.get();
    }

    void SetUp() override
    {
        CalendarHarness::SetUp();
        Theme::shared().setSystemSource([this] { return appearance.currentIsDark(); });
    }

    void TearDown() override
    {
        Theme::shared().setSystemSource({});
        if (panel)
            panel->window()->close();
        QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
    }
    void closeAndSettle(QWidget *window)
    {
        window->close();
        QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
    }
};

} // namespace

TEST_F(CalendarWindowTest, TwoShowsGiveOnePanelAndAReopenedPanelIsNew)
{
    open(Config::defaultDocument());
    showPanel();
    CalendarWindowController *first = panel.get();
    ASSERT_NE(first, nullptr);
    QWidget *window = first->window();
    EXPECT_TRUE(window->isVisible());
    EXPECT_EQ(window->windowTitle(), "Cleanup calendar");
    EXPECT_EQ(window->width(), 700);
    EXPECT_TRUE(window->windowFlags().testFlag(Qt::FramelessWindowHint));
    EXPECT_GE(window->height(), window->sizeHint().height());

    showPanel();
    EXPECT_EQ(panel.get(), first);
    // Only activations: the policy's mode is never set.
    using Call = RecordingActivationPolicy::Call;
    EXPECT_EQ(activation.calls, std::vector<Call>({Call::activate, Call::activate}));

    first->calendar()->shiftMonth(3);
    first->calendar()->selectDay(today.addMonths(3));
    QTest::keyClick(window, Qt::Key_Escape);
    QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
    EXPECT_EQ(panel.get(), nullptr);
    EXPECT_EQ(activation.calls.size(), 2u);

    showPanel();
    ASSERT_NE(panel.get(), nullptr);
    EXPECT_EQ(panel.get()->calendar()->monthAnchor(), today);
    EXPECT_FALSE(panel.get()->calendar()->selectedDay());
    QTest::mouseClick(panel.get()->window()->findChild<QToolButton *>("close"), Qt::LeftButton);
    QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
    EXPECT_EQ(panel.get(), nullptr);
    EXPECT_EQ(activation.calls, std::vector<Call>(3, Call::activate));
}

TEST_F(CalendarWindowTest, ThePanelGoesWithItsOwner)
{
    open(Config::defaultDocument());
    QPointer<QWidget> window = showPanel()->window();
    panel.reset(); // the owner lets it go before the model
    QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
    EXPECT_TRUE(window.isNull());

    open(Config::defaultDocument()); // the next panel is built over the new model
    showPanel()->window()->repaint();
    EXPECT_TRUE(panel->window()->isVisible());
}

TEST_F(CalendarWindowTest, TheConfiguredLookAndAccentRestyleTheOpenPanel)
{
    Config config = Config::defaultDocument();
    config.settings.appearance.accentHex.reset();
    open(config);
    showPanel();
    CalendarWindowController *shown = panel.get();
    // "system" follows the session, which is dark.
    EXPECT_EQ(panel->appliedMode(), AppearanceMode::dark);
    EXPECT_EQ(panel->window()->palette().color(QPalette::Window), darkPalette().color(QPalette::Window));
    const QColor systemHighlight = darkPalette().color(QPalette::Highlight);
    EXPECT_EQ(panel->window()->palette().color(QPalette::Highlight), systemHighlight);

    model->setAppearanceMode(AppearanceMode::light);
    EXPECT_EQ(panel->appliedMode(), AppearanceMode::light);
    EXPECT_EQ(panel->window()->palette().color(QPalette::Window), lightPalette().color(QPalette::Window));

    model->setAccent(QStringLiteral("#6C8BA6"));
    EXPECT_EQ(panel->window()->palette().color(QPalette::Highlight), QColor("#6C8BA6"));
    EXPECT_EQ(panel.get(), shown); // restyled in place
}

TEST_F(CalendarWindowTest, ThePanelsButtonsAreCapsulesAndStillWork)
{
    Config config = Config::defaultDocument();
    config.workspaces = {archivedDesktop("Old", "#FF00FF")};
    open(config);
    showPanel();
    CleanupCalendarView *calendar = panel.get()->calendar();
    calendar->selectDay(today.addDays(2));
    QWidget *window = panel.get()->window();
    QCoreApplication::processEvents();

    const QString radius = QStringLiteral("border-radius: %1px").arg(capsuleButtonHeight / 2);
    for (const char *name : {"today", "previousMonth", "nextMonth", "addCleanup"}) {
        auto *button = window->findChild<QPushButton *>(name);
        ASSERT_NE(button, nullptr) << name;
        EXPECT_TRUE(button->styleSheet().contains(radius)) << name;
        EXPECT_EQ(button->height(), capsuleButtonHeight) << name;
    }
    // The close button stays a plain symbol.
    EXPECT_TRUE(window->findChild<QToolButton *>("close")->styleSheet().isEmpty());

    QTest::mouseClick(window->findChild<QPushButton *>("nextMonth"), Qt::LeftButton);
    EXPECT_EQ(calendar->monthAnchor().month(), today.addMonths(1).month());
    QTest::mouseClick(window->findChild<QPushButton *>("today"), Qt::LeftButton);
    EXPECT_EQ(calendar->monthAnchor(), today);
}
