#include "SettingsViewHarness.h"

#include "SettingsViews/DebouncedCommit.h"
#include "SettingsViews/DetailPane.h"
#include "SettingsViews/SegmentedControl.h"
#include "SettingsViews/SettingsSection.h"
#include "Shared/Style.h"
#include "Shared/Theme.h"

#include <QLabel>
#include <QListWidget>
#include <QPushButton>
#include <QSignalSpy>
#include <QSplitter>
#include <QToolButton>

using namespace quorvane;
using namespace quorvane::test;

TEST(SettingsSection, RawValuesTitlesAndOrder)
{
    QStringList titles;
    for (SettingsSection s : allSettingsSections) {
        titles << title(s);
        EXPECT_EQ(settingsSectionFromRaw(rawValue(s)), s);
    }
    EXPECT_EQ(titles, QStringList({"General", "Desktops", "Pinned items", "Organize", "Appearance", "Floating dock", "Shortcuts", "Advanced", "Experimental"}));
    EXPECT_EQ(rawValue(SettingsSection::pinnedFolders), "pinnedFolders");
    EXPECT_EQ(symbol(SettingsSection::experimental), "testtube.2");
    EXPECT_FALSE(settingsSectionFromRaw("General"));
    EXPECT_FALSE(settingsSectionFromRaw(""));
}

using SettingsViewShell = SettingsViewHarness;

TEST_F(SettingsViewShell, SidebarClicksAndKeysChangeThePageAndTheHeaderButton)
{
    openWith({"Default", "Work"});
    SettingsView &shell = show();
    EXPECT_EQ(shell.minimumSize(), QSize(700, 470));
    EXPECT_EQ(shell.sizeHint(), QSize(865, 480));
    EXPECT_EQ(shell.footer()->text(), "QUORVANE 0.1 (dev)");
    EXPECT_EQ(SettingsView::footerText("2.3"), "QUORVANE 2.3");
    EXPECT_EQ(shell.pane()->title(), "General");
    EXPECT_EQ(shell.pane()->trailing(), nullptr);

    // A click on a row selects its section; the page is built anew.
    QListWidget *list = shell.sidebar();
    QPointer<QWidget> first = shell.pane()->content();
    QTest::mouseClick(list->viewport(), Qt::LeftButton, {}, list->visualItemRect(list->item(1)).center());
    EXPECT_EQ(shell.section(), SettingsSection::workspaces);
    EXPECT_EQ(shell.pane()->title(), "Desktops");
    QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
    EXPECT_TRUE(first.isNull());
    auto *create = qobject_cast<QPushButton *>(shell.pane()->trailing());
    ASSERT_NE(create, nullptr);
    EXPECT_EQ(create->text(), "New desktop…");
    EXPECT_EQ(create->property("symbol").toString(), "plus");
    QTest::mouseClick(create, Qt::LeftButton);
    EXPECT_EQ(createSheets, 1);

    // Up and Down move through the sections as clicks do.
    list->setFocus();
    QTest::keyClick(list, Qt::Key_Down);
    EXPECT_EQ(shell.section(), SettingsSection::pinnedFolders);
    EXPECT_EQ(shell.pane()->trailing(), nullptr);
    QTest::keyClick(list, Qt::Key_Up);
    QTest::keyClick(list, Qt::Key_Up);
    EXPECT_EQ(shell.section(), SettingsSection::general);
    EXPECT_EQ(store.saves, 0); // selecting writes nothing
}

TEST_F(SettingsViewShell, BothAlertsAtOnceEachClearedAlone)
{
    openWith({"Default", "Work"});
    show();
    model->setErrorMessage(QStringLiteral("That name is taken."));
    model->setDeleteFailure(DeleteFailure{"Work", false, "Permission denied"});
    ASSERT_EQ(dialogs.asked.size(), 2u);
    const Question &error = dialogs.asked[0].question;
    EXPECT_EQ(error.title, "Can't do that");
    // The heading is the window's title, the model's text the message, once.
    EXPECT_EQ(error.message, "That name is taken.");
    EXPECT_TRUE(error.informativeText.isEmpty());
    ASSERT_EQ(error.buttons.size(), 1u);
    EXPECT_EQ(error.buttons[0], (DialogButton{"OK", ButtonRole::cancel}));
    const Question &trash = dialogs.asked[1].question;
    EXPECT_EQ(trash.title, "Couldn’t move that desktop to the Trash");
    EXPECT_EQ(trash.message, "Permission denied\n\nRemoving “Work” clears the entry from Quorvane; the folder "
                             "and its files stay where they are.");
    EXPECT_TRUE(trash.informativeText.isEmpty());
    EXPECT_EQ(trash.buttons, (std::vector<DialogButton>{{"Remove from Quorvane", ButtonRole::normal}, {"Cancel", ButtonRole::cancel}}));
    // Another publish while both are open asks nothing more.
    model->reload();
    EXPECT_EQ(dialogs.asked.size(), 2u);

    dialogs.answer(0); // OK clears the error alone
    EXPECT_FALSE(model->errorMessage());
    EXPECT_TRUE(model->deleteFailure());
    dialogs.answer(0); // "Remove from Quorvane": the entry goes, the folder stays
    EXPECT_FALSE(model->deleteFailure());
    EXPECT_EQ(storedNames(), QStringList({"Default", Config::blankWorkspaceName}));
    EXPECT_TRUE(QDir(folder("Work")).exists());

    model->setDeleteFailure(DeleteFailure{"Default", true, "ignored"});
    ASSERT_EQ(dialogs.asked.size(), 3u);
    EXPECT_EQ(lastQuestion().message, "The folder for “Default” isn’t in your desktops folder any more. "
                                      "Removing it clears the entry — there’s nothing left on disk.");
    dialogs.answer(1); // Cancel keeps the entry
    EXPECT_FALSE(model->deleteFailure());
    EXPECT_EQ(storedNames().front(), "Default");
}

TEST_F(SettingsViewShell, TheStoredAccentTintsTheWindowElseTheSystemsAndTheModeSwapsThePalette)
{
    openWith({"Default"}, [](Config &c) {
        c.settings.appearance.accentHex.reset();
        c.settings.appearance.mode = AppearanceMode::light;
    });
    SettingsView &shell = show();
    EXPECT_FALSE(shell.testAttribute(Qt::WA_SetPalette)) << "the window follows the application's palette";
    EXPECT_EQ(shell.palette().color(QPalette::Highlight), lightPalette().color(QPalette::Highlight));
    model->setAccent(QStringLiteral("#3366CC"));
    EXPECT_EQ(shell.palette().color(QPalette::Highlight), QColor("#3366CC"));
    model->setAppearanceMode(AppearanceMode::dark);
    EXPECT_TRUE(Theme::shared().dark());
    EXPECT_EQ(shell.palette().color(QPalette::Window), darkPalette().color(QPalette::Window));
    EXPECT_EQ(shell.palette().color(QPalette::Highlight), QColor("#3366CC"));
    // Text on the accent stays readable: dark text on a light accent.
    model->setAccent(QStringLiteral("#C79A5B"));
    EXPECT_EQ(shell.palette().color(QPalette::HighlightedText), QColor(Qt::black));
    model->setAccent(std::nullopt);
    EXPECT_EQ(shell.palette().color(QPalette::Highlight), darkPalette().color(QPalette::Highlight));
    EXPECT_EQ(QApplication::palette().color(QPalette::Window), darkPalette().color(QPalette::Window));
}

TEST(DebouncedCommit, ALaterStartReplacesThePendingOneCancelDropsItFlushWritesItNow)
{
    ManualScheduler scheduler;
    QStringList written;
    auto commit = std::make_unique<DebouncedCommit>(scheduler, 0.12);
    commit->start([&] { written << "a"; });
    scheduler.advance(0.1);
    commit->start([&] { written << "b"; });
    scheduler.advance(0.1);
    EXPECT_TRUE(written.isEmpty());
    scheduler.advance(0.03);
    EXPECT_EQ(written, QStringList({"b"}));
    EXPECT_FALSE(commit->pending());
    commit->start([&] { written << "c"; });
    commit->cancel();
    scheduler.advance(1);
    EXPECT_EQ(written, QStringList({"b"}));
    commit->start([&] { written << "e"; });
    commit->flush(); // now, and only once
    scheduler.advance(1);
    commit->flush();
    EXPECT_EQ(written, QStringList({"b", "e"}));
    EXPECT_FALSE(commit->pending());
    written = {"b"};
    commit->start([&] { written << "d"; });
    commit.reset(); // gone with its owner
    scheduler.advance(1);
    EXPECT_EQ(written, QStringList({"b"}));
}

TEST(SegmentedControl, OnlyAClickReportsAChoice)
{
    SegmentedControl control;
    control.addSegment(QStringLiteral("\u200AOne\u200A"), 1);
    control.addSegment(QStringLiteral("Two"), 2);
    control.show();
    QSignalSpy spy(&control, &SegmentedControl::chosen);
    control.setCurrent(2);
    EXPECT_EQ(control.current(), 2);
    EXPECT_EQ(spy.count(), 0);
    EXPECT_EQ(control.segment(1)->accessibleName(), "One");
    QTest::mouseClick(control.segment(1), Qt::LeftButton);
    ASSERT_EQ(spy.count(), 1);
    EXPECT_EQ(spy.at(0).at(0).toInt(), 1);
    EXPECT_EQ(control.current(), 1);
    control.setCurrent(-1); // a value without a segment shows none chosen
    EXPECT_EQ(control.current(), -1);
}

// The sidebar opens 181 wide and its edge drags it wider or narrower, never past 165 or 240.
TEST_F(SettingsViewShell, TheSidebarEdgeWidensItBetweenItsBounds)
{
    openWith({"Default"});
    SettingsView &shell = show();
    auto *split = shell.findChild<QSplitter *>(QStringLiteral("sidebarSplit"));
    ASSERT_NE(split, nullptr);
    QWidget *column = split->widget(0);
    EXPECT_EQ(column->width(), 181);
    QSplitterHandle *edge = split->handle(1);
    const auto drag = [&](int dx) {
        const QPoint start = edge->rect().center();
        QTest::mousePress(edge, Qt::LeftButton, {}, start);
        QMouseEvent move(QEvent::MouseMove, QPointF(start + QPoint(dx, 0)), edge->mapToGlobal(QPointF(start + QPoint(dx, 0))),
                         Qt::NoButton, Qt::LeftButton, Qt::NoModifier);
        QApplication::sendEvent(edge, &move);
        QTest::mouseRelease(edge, Qt::LeftButton, {}, start + QPoint(dx, 0));
    };
    drag(30);
    EXPECT_NEAR(column->width(), 211, 3);
    drag(200);
    EXPECT_EQ(column->width(), 240);
    drag(-300);
    EXPECT_EQ(column->width(), 165);
}
