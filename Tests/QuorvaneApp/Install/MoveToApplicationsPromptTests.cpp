#include "Controller/ControllerHarness.h"
#include "Fakes/FakeLoginItem.h"
#include "Install/InstallError.h"
#include "Install/MoveToApplicationsView.h"
#include "Install/MoveToApplicationsWindowController.h"
#include "Install/RelocationGraphic.h"

#include <QApplication>
#include <QIcon>
#include <QLabel>
#include <QPixmap>
#include <QPushButton>
#include <QSignalSpy>
#include <QTest>

using namespace quorvane;
using quorvane::test::LogCapture;
using quorvane::test::readFile;
using quorvane::test::writeFile;

namespace {

const QString downloadsText = QStringLiteral(
    "Quorvane is running from \u201CSub\u201D. Apps left in Downloads get swept up in a tidy-up, and moving one breaks "
    "the autostart entry that starts it for you. Quorvane reopens from its new home.");

QStringList labelTexts(QWidget *root)
{
    QStringList texts;
    for (const QLabel *label : root->findChildren<QLabel *>()) {
        if (!label->text().isEmpty())
            texts << label->text();
    }
    return texts;
}

} // namespace

TEST(MoveToApplicationsPrompt, ShowsItsTextsAndReportsAFailedMoveInPlace)
{
    int moves = 0, declines = 0, closes = 0;
    bool refuse = true;
    auto owned = std::make_unique<MoveToApplicationsWindowController>(
        InstallLocation::Situation::inDownloads, "Sub",
        [&] {
            ++moves;
            if (refuse)
                throw InstallError("the Trash is full.");
        },
        [&] { ++declines; });
    auto *prompt = owned.get();
    // The owner lets it go as it closes.
    prompt->onClose = [&] {
        ++closes;
        owned.reset();
    };
    QWidget *window = prompt->window();
    window->show();
    ASSERT_TRUE(QTest::qWaitForWindowExposed(window));
    EXPECT_EQ(window->width(), 420);
    EXPECT_GE(window->height(), 340) << "as high as the texts' lines need, at least";
    EXPECT_TRUE(prompt->view()->graphic()->animating()); // pulsing once shown
    const QStringList texts = labelTexts(window);
    EXPECT_TRUE(texts.contains("Move Quorvane to your applications folder?"));
    EXPECT_TRUE(texts.contains(downloadsText));
    EXPECT_EQ(prompt->view()->moveButton()->text(), "Move to your applications folder");
    EXPECT_TRUE(prompt->view()->moveButton()->isDefault());
    EXPECT_EQ(prompt->view()->declineButton()->text(), "Not now");

    // Return is the move; its failure stays on screen in the prompt, which stays open.
    window->activateWindow();
    QTest::keyClick(prompt->view()->moveButton(), Qt::Key_Return);
    EXPECT_EQ(moves, 1);
    const QString failure = QStringLiteral("Couldn\u2019t move it: the Trash is full. You can drag Quorvane into your "
                                           "applications folder yourself instead.");
    EXPECT_EQ(prompt->view()->errorText(), failure);
    const auto *error = window->findChild<QLabel *>("errorText");
    ASSERT_NE(error, nullptr);
    EXPECT_TRUE(error->isVisible());
    EXPECT_EQ(error->text(), failure);
    EXPECT_TRUE(window->isVisible());
    // A second try clears the text first.
    refuse = false;
    QTest::mouseClick(prompt->view()->moveButton(), Qt::LeftButton);
    EXPECT_EQ(moves, 2);
    EXPECT_TRUE(prompt->view()->errorText().isEmpty());
    EXPECT_FALSE(error->isVisible());

    // "Not now": declined, then closed and let go.
    QTest::mouseClick(prompt->view()->declineButton(), Qt::LeftButton);
    EXPECT_EQ(declines, 1);
    EXPECT_EQ(closes, 1);
    EXPECT_EQ(owned, nullptr);
}

// Keys go to the window as the user types them: to whichever control has the focus, here
// "Not now", the first in the tab order.
TEST(MoveToApplicationsPrompt, ReturnMovesAndEscapeDeclinesWhereverTheFocusIs)
{
    int moves = 0, declines = 0;
    auto owned = std::make_unique<MoveToApplicationsWindowController>(
        InstallLocation::Situation::inDownloads, "Downloads",
        [&] {
            ++moves;
            throw InstallError("the folder is read-only.");
        },
        [&] { ++declines; });
    owned->onClose = [&] { owned.reset(); };
    QWidget *window = owned->window();
    QPushButton *decline = owned->view()->declineButton();
    window->show();
    window->activateWindow();
    ASSERT_TRUE(QTest::qWaitForWindowActive(window));
    decline->setFocus();
    ASSERT_EQ(QApplication::focusWidget(), decline);

    QTest::keyClick(window->windowHandle(), Qt::Key_Return);
    EXPECT_EQ(moves, 1);
    EXPECT_EQ(declines, 0);
    QTest::keyClick(window->windowHandle(), Qt::Key_Enter, Qt::KeypadModifier);
    EXPECT_EQ(moves, 2);
    EXPECT_TRUE(window->isVisible());

    QTest::keyClick(window->windowHandle(), Qt::Key_Escape);
    EXPECT_EQ(declines, 1);
    EXPECT_EQ(moves, 2);
    EXPECT_EQ(owned, nullptr);
}

TEST(MoveToApplicationsPrompt, TheGraphicPulses)
{
    RelocationGraphic graphic;
    graphic.resize(graphic.sizeHint().width(), 92);
    graphic.setAnimating(true);
    QTest::qWait(RelocationGraphic::halfPeriodMs / 2);
    const qreal midway = graphic.phase();
    EXPECT_GT(midway, 0.05);
    EXPECT_LT(midway, 0.95);
    graphic.setAnimating(false);
    EXPECT_EQ(graphic.phase(), 0);
}

// The application's own icon in its tile, and every text clear of the buttons, a failure's too.
TEST(MoveToApplicationsPrompt, TheApplicationsIconAndTextsClearOfTheButtons)
{
    QPixmap mark(64, 64);
    mark.fill(QColor(255, 0, 255));
    QApplication::setWindowIcon(QIcon(mark));
    {
        RelocationGraphic graphic;
        graphic.resize(graphic.sizeHint().width(), 92);
        const QImage drawn = graphic.grab().toImage();
        int marked = 0;
        for (int y = 0; y < drawn.height(); ++y)
            for (int x = 0; x < drawn.width(); ++x)
                marked += drawn.pixelColor(x, y) == QColor(255, 0, 255);
        EXPECT_GT(marked, 30 * 30) << "the application's icon fills its tile";
    }
    QApplication::setWindowIcon(QIcon());

    MoveToApplicationsWindowController prompt(
        InstallLocation::Situation::inDownloads, "A folder with a rather long name indeed",
        [] { throw InstallError("the Trash is full and the disk is nearly full as well."); }, [] {});
    QWidget *window = prompt.window();
    window->show();
    ASSERT_TRUE(QTest::qWaitForWindowExposed(window));
    const auto clear = [&] {
        QCoreApplication::sendPostedEvents();
        const int buttonsTop = prompt.view()->moveButton()->mapTo(window, QPoint(0, 0)).y();
        for (const QLabel *label : window->findChildren<QLabel *>()) {
            if (!label->isVisible())
                continue;
            const int bottom = label->mapTo(window, QPoint(0, label->height())).y();
            EXPECT_LE(bottom + MoveToApplicationsView::textToButtons, buttonsTop) << label->text().toStdString();
            EXPECT_GE(label->height(), label->heightForWidth(label->width())) << "no line cut off";
        }
    };
    clear();
    QTest::mouseClick(prompt.view()->moveButton(), Qt::LeftButton);
    ASSERT_FALSE(prompt.view()->errorText().isEmpty());
    clear();
}

namespace {

struct MovePrompt : test::ControllerHarness {
    test::FakeLoginItem loginItem;
    QString source;
    QString entry;

    void SetUp() override
    {
        test::ControllerHarness::SetUp();
        source = home.filePath("Downloads/Sub/quorvane-1.0/bin/quorvane");
        entry = home.filePath("Downloads/Sub/quorvane-1.0/share/applications/app.quorvane.Quorvane.desktop");
        writeFile(source, "not a program"); // starting it fails: no second instance runs
        writeFile(entry, "[Desktop Entry]\n");
        info = AppInfo::installed(source, entry);
    }
    AppEnvironment moveEnvironment()
    {
        AppEnvironment env = environment();
        env.loginItem = &loginItem;
        return env;
    }
};

} // namespace

TEST_F(MovePrompt, NotNowStoresTheDeclineAndTheNextLaunchOffersNothing)
{
    {
        LogCapture log;
        AppController controller(moveEnvironment());
        controller.applicationDidFinishLaunching();
        EXPECT_EQ(log.count("running from a poor location (inDownloads) — offering to relocate"), 1);
        auto *prompt = controller.windows().movePrompt();
        ASSERT_NE(prompt, nullptr);
        EXPECT_TRUE(prompt->window()->isVisible());
        EXPECT_EQ(activation.mode(), ActivationPolicy::Mode::regular);
        EXPECT_TRUE(labelTexts(prompt->window()).contains(downloadsText));
        QTest::mouseClick(prompt->view()->declineButton(), Qt::LeftButton);
        EXPECT_EQ(controller.windows().movePrompt(), nullptr);
        EXPECT_EQ(activation.mode(), ActivationPolicy::Mode::accessory);
        EXPECT_TRUE(load().settings.declinedMoveToApplications);
    }
    AppController again(moveEnvironment());
    again.applicationDidFinishLaunching();
    EXPECT_EQ(again.windows().movePrompt(), nullptr);
}

TEST_F(MovePrompt, TheMovePutsTheCopyInThePerUserInstallAndQuitsEvenWhenTheRelaunchFails)
{
    loginItem.enabled = true;
    AppController controller(moveEnvironment());
    controller.applicationDidFinishLaunching();
    auto *prompt = controller.windows().movePrompt();
    ASSERT_NE(prompt, nullptr);
    LogCapture log;
    QTest::mouseClick(prompt->view()->moveButton(), Qt::LeftButton);
    const QString moved = home.filePath(".local/bin/quorvane");
    EXPECT_EQ(readFile(moved), "not a program");
    EXPECT_EQ(readFile(home.filePath(".local/share/applications/app.quorvane.Quorvane.desktop")), "[Desktop Entry]\n");
    EXPECT_FALSE(QFileInfo::exists(source));
    EXPECT_FALSE(loginItem.enabled);
    EXPECT_EQ(log.count("relocated to " + moved + " — relaunching"), 1);
    EXPECT_EQ(log.lines.filter("relaunch after relocation failed: ").size(), 1);
    EXPECT_EQ(terminations, 1);
}

TEST_F(MovePrompt, APackagesCopyIsOfferedNoMove)
{
    // A download folder that holds the package's copy, which would otherwise ask for the prompt.
    writeFile(qEnvironmentVariable("XDG_CONFIG_HOME") + "/user-dirs.dirs", "XDG_DOWNLOAD_DIR=\"/usr\"\n");
    info = AppInfo::installed("/usr/bin/quorvane", "/usr/share/applications/app.quorvane.Quorvane.desktop");
    LogCapture log;
    AppController controller(moveEnvironment());
    controller.applicationDidFinishLaunching();
    EXPECT_EQ(controller.windows().movePrompt(), nullptr);
    EXPECT_EQ(log.lines.filter("offering to relocate").size(), 0);
    EXPECT_NE(activation.mode(), ActivationPolicy::Mode::regular);
    QFile::remove(qEnvironmentVariable("XDG_CONFIG_HOME") + "/user-dirs.dirs");
}
