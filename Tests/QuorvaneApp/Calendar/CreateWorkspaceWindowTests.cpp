#include "Calendar/CreateWorkspaceWindowController.h"
#include "Calendar/SheetHarness.h"
#include "Calendar/WorkspaceCreateSheet.h"
#include "Fakes/ScriptedDialogs.h"
#include "LogCapture.h"
#include "ManualScheduler.h"
#include "SettingsViews/SettingsContext.h"
#include "SettingsViews/SettingsView.h"
#include "Shared/SheetBackdrop.h"
#include "Shared/Style.h"
#include "Shared/Theme.h"

#include "Windows/CompositorProbe.h"

#include <QApplication>
#include <QLineEdit>
#include <QPushButton>
#include <QScrollArea>
#include <QScrollBar>

using namespace quorvane;
using namespace quorvane::test;

namespace {

struct Composited final : CompositorProbe {
    bool compositing() const override { return true; }
};

struct NewDesktopWindow : SheetHarness {
    ScriptedDialogs dialogs;
    Composited compositor;
    std::unique_ptr<CreateWorkspaceWindowController> controller;
    int closed = 0;

    void open(const Config &config = document())
    {
        controller.reset();
        start(config);
        controller = std::make_unique<CreateWorkspaceWindowController>(*model, dialogs, &compositor);
        controller->onClose = [this] { ++closed; };
        controller->showWindow();
        ASSERT_TRUE(QTest::qWaitForWindowActive(controller->window()));
    }
    QWidget *window() const { return controller->window(); }
};

} // namespace

TEST_F(NewDesktopWindow, ABorderlessNamedPanelWithTheFormFocused)
{
    Config config = document();
    config.settings.appearance.mode = AppearanceMode::dark;
    open(config);
    EXPECT_EQ(window()->windowTitle(), "New desktop");
    // As tall as the form: no empty band under it.
    EXPECT_EQ(window()->width(), 380);
    EXPECT_LT(window()->height(), 500);
    EXPECT_GE(window()->height(), controller->sheet()->sizeHint().height());
    EXPECT_TRUE(window()->windowFlags().testFlag(Qt::FramelessWindowHint));
    EXPECT_FALSE(window()->windowFlags().testFlag(Qt::Tool));
    EXPECT_TRUE(Theme::shared().dark());
    // The dark look reaches the form's own controls, the styled buttons included.
    EXPECT_EQ(controller->sheet()->palette().color(QPalette::Window), darkPalette().color(QPalette::Window));
    EXPECT_EQ(controller->sheet()->nameField()->palette().color(QPalette::Text), darkPalette().color(QPalette::Text));
    auto *cancel = child<QPushButton>(window(), "cancel");
    const QImage drawn = cancel->grab().toImage();
    EXPECT_LT(QColor(drawn.pixel(cancel->width() / 2, 3)).lightness(), 128) << "a light button in a dark window";
    auto *backdrop = window()->findChild<SheetBackdrop *>();
    ASSERT_NE(backdrop, nullptr);
    EXPECT_EQ(backdrop->cornerRadius(), 22);
    EXPECT_EQ(backdrop->strokeOpacity(), 0.6);
    EXPECT_TRUE(backdrop->seeThrough());
    EXPECT_EQ(QApplication::focusWidget(), controller->sheet()->nameField());

    // A framed, empty field saying what it wants, its text from the left.
    QLineEdit *name = controller->sheet()->nameField();
    EXPECT_TRUE(name->hasFrame());
    EXPECT_EQ(name->placeholderText(), "Name");
    EXPECT_TRUE(name->text().isEmpty());
    EXPECT_TRUE(name->alignment().testFlag(Qt::AlignLeft));
    // The whole form shows without scrolling, and the window grows with the temporary section.
    auto *scroll = child<QScrollArea>(window(), "formScroll");
    EXPECT_FALSE(scroll->verticalScrollBar()->isVisible());
    const int permanent = window()->height();
    QTest::mouseClick(child<QPushButton>(window(), "type.temporary"), Qt::LeftButton);
    for (int round = 0; round < 3; ++round) // the form's layout, then the window's
        QCoreApplication::sendPostedEvents();
    EXPECT_GT(window()->height(), permanent);
}

TEST_F(NewDesktopWindow, ARefusalIsExplainedAndTheWindowStaysAsLeft)
{
    open();
    const QByteArray before = readFile(paths.config());
    LogCapture log;
    // A file in the way of the new desktop's folder: only trying tells.
    writeFile(paths.workspaces() + "/Blocked", "x");
    type(window(), QStringLiteral("Blocked"));
    QTest::mouseClick(child<QPushButton>(window(), "type.temporary"), Qt::LeftButton);
    QTest::keyClick(controller->sheet()->nameField(), Qt::Key_Return);

    ASSERT_EQ(dialogs.asked.size(), 1u);
    const ScriptedDialogs::Asked &alert = dialogs.asked.front();
    EXPECT_EQ(alert.parent, window());
    ASSERT_TRUE(model->errorMessage());
    const QString message = *model->errorMessage();
    EXPECT_TRUE(message.startsWith("Couldn't create the workspace folder: ")) << qPrintable(message);
    EXPECT_EQ(alert.question.message, message);
    EXPECT_EQ(alert.question.buttons, (std::vector<DialogButton>{{QStringLiteral("OK"), ButtonRole::normal}}));
    EXPECT_TRUE(window()->isVisible());
    EXPECT_EQ(closed, 0);
    bool logged = false;
    for (const LogCapture::Entry &entry : log.entries)
        logged |= entry.category.endsWith(QLatin1String(".error")) && entry.text == "surfaced to the user: " + message;
    EXPECT_TRUE(logged);

    EXPECT_TRUE(model->errorMessage());
    dialogs.answer(0);
    EXPECT_FALSE(model->errorMessage()) << "closing the alert clears the message";
    EXPECT_TRUE(window()->isVisible());
    EXPECT_EQ(controller->sheet()->nameField()->name(), "Blocked");
    EXPECT_TRUE(child<QPushButton>(window(), "type.temporary")->isChecked());
    EXPECT_EQ(readFile(paths.config()), before);
}

// Keys typed at the window reach whichever control has the focus; Return and Escape answer
// wherever it is.
TEST_F(NewDesktopWindow, ReturnCreatesAndEscapeCancelsFromAnyControl)
{
    open();
    type(window(), QStringLiteral("Keys"));
    child<QWidget>(window(), "cancel")->setFocus();
    QTest::keyClick(window()->windowHandle(), Qt::Key_Return);
    EXPECT_TRUE(storedWorkspace(QStringLiteral("Keys")));
    EXPECT_EQ(closed, 1);

    open();
    type(window(), QStringLiteral("Gone"));
    child<QWidget>(window(), "create")->setFocus();
    QTest::keyClick(window()->windowHandle(), Qt::Key_Escape);
    EXPECT_FALSE(storedWorkspace(QStringLiteral("Gone")));
    EXPECT_EQ(closed, 2);
}

TEST_F(NewDesktopWindow, WithTheSettingsWindowOpenARefusalIsShownOnceOverTheNewDesktopWindow)
{
    open();
    ManualScheduler scheduler;
    SettingsViewServices services;
    services.dialogs = &dialogs;
    services.scheduler = &scheduler;
    SettingsView settings(*model, services);
    settings.show();
    window()->activateWindow();
    ASSERT_TRUE(QTest::qWaitForWindowActive(window()));

    writeFile(paths.workspaces() + "/Blocked", "x");
    type(window(), QStringLiteral("Blocked"));
    QTest::mouseClick(child<QPushButton>(window(), "create"), Qt::LeftButton);
    ASSERT_EQ(dialogs.asked.size(), 1u);
    EXPECT_EQ(dialogs.asked.front().parent, window());
    dialogs.answer(0);
    EXPECT_FALSE(model->errorMessage());

    // The settings window's own refusals are still its own.
    model->setErrorMessage(QStringLiteral("Something else."));
    ASSERT_EQ(dialogs.asked.size(), 2u);
    EXPECT_EQ(dialogs.asked.back().question.message, "Something else.");
    EXPECT_EQ(dialogs.asked.back().parent, settings.window());
}

TEST_F(NewDesktopWindow, EscapeClosesWithoutCreatingAndCreateCloses)
{
    open();
    type(window(), QStringLiteral("Nope"));
    QTest::keyClick(controller->sheet()->nameField(), Qt::Key_Escape);
    EXPECT_EQ(closed, 1);
    EXPECT_FALSE(window()->isVisible());
    EXPECT_FALSE(storedWorkspace(QStringLiteral("Nope")));

    open();
    type(window(), QStringLiteral("Yes"));
    QTest::mouseClick(child<QPushButton>(window(), "create"), Qt::LeftButton);
    EXPECT_EQ(closed, 2);
    EXPECT_FALSE(window()->isVisible());
    EXPECT_TRUE(storedWorkspace(QStringLiteral("Yes")));
    EXPECT_TRUE(dialogs.asked.empty());
}
