#include "SettingsViewHarness.h"

#include "Fakes/RecordingDesktopServices.h"
#include "SettingsViews/ColorSwatch.h"
#include "SettingsViews/DeskMetadataRow.h"
#include "SettingsViews/DeskTexts.h"
#include "SettingsViews/DetailPane.h"
#include "SettingsViews/ReorderableDesksList.h"
#include "SettingsViews/SegmentedControl.h"
#include "SettingsViews/TrashCircleLabel.h"
#include "SettingsViews/WorkspaceRow.h"
#include "SettingsViews/WorkspacesTab.h"
#include "Shared/Style.h"

#include <QLabel>
#include <QLineEdit>
#include <QMouseEvent>
#include <QPushButton>
#include <QToolButton>
#include <QVariantAnimation>

using namespace quorvane;
using namespace quorvane::test;

namespace {

void touch(const QString &path)
{
    QFile file(path);
    ASSERT_TRUE(file.open(QIODevice::WriteOnly));
}

} // namespace

TEST(DeskTexts, TrashMessagesAgesAndDates)
{
    EXPECT_EQ(itemsText(1), "1 item");
    EXPECT_EQ(itemsText(0), "0 items");
    EXPECT_EQ(itemsText(3), "3 items");
    EXPECT_EQ(trashConfirmationMessage(0), "");
    EXPECT_EQ(trashConfirmationMessage(1),
              "Its 1 file goes to the Trash with it, where you can recover it until you empty it.");
    EXPECT_EQ(trashConfirmationMessage(2),
              "Its 2 files go to the Trash with it, where you can recover them until you empty it.");
    const Date now = 800000000.0;
    EXPECT_EQ(relativeAge(now - 5 * 60 - 20, now), "5 min. ago");
    EXPECT_EQ(relativeAge(now - 2 * 3600 - 59, now), "2 hr. ago");
    EXPECT_EQ(relativeAge(now - 86400 - 5, now), "1 day ago");
    EXPECT_EQ(relativeAge(now - 3 * 86400, now), "3 days ago");
    EXPECT_EQ(relativeAge(now - 8 * 86400, now), "1 wk. ago");
    EXPECT_EQ(relativeAge(now - 65 * 86400, now), "2 mo. ago");
    EXPECT_EQ(relativeAge(now - 400 * 86400, now), "1 yr. ago");
    EXPECT_EQ(lastActiveText(std::nullopt, now), "Not visited yet");
    EXPECT_EQ(lastActiveText(now - 120, now), "Active 2 min. ago");
    const Date december9 = fromDateTime(QDateTime(QDate(2025, 12, 9), QTime(12, 0)));
    EXPECT_EQ(abbreviatedDate(december9, QLocale(QLocale::English, QLocale::UnitedStates)), "Dec 9, 2025");
}

struct DesktopsSection : SettingsViewHarness {
    RecordingDesktopServices desktop;
    QStringList switched;

    WorkspacesTab *tab() { return qobject_cast<WorkspacesTab *>(view->pane()->content()); }
    ReorderableDesksList *list() { return tab()->desksList(); }
    WorkspaceRow *row(const QString &name) { return list()->row(name); }
    SettingsView &showDesktops()
    {
        services.desktop = &desktop;
        SettingsView &shell = show(SettingsSection::workspaces);
        model->onSwitch = [this](const QString &name) { switched << name; };
        return shell;
    }
    // Presses on a part of the row, moves by dy in steps with the button held, then releases
    // unless told not to; positions are taken in the list, which stays still while the row
    // follows the pointer.
    void dragFrom(QWidget *grip, int dy, bool releases = true)
    {
        const QPoint start = grip->mapTo(list(), QPoint(grip->width() / 2, grip->height() / 2));
        send(grip, QEvent::MouseButtonPress, start, Qt::LeftButton);
        const int steps = 4;
        for (int i = 1; i <= steps; ++i)
            send(grip, QEvent::MouseMove, start + QPoint(0, dy * i / steps), Qt::LeftButton);
        dragEnd = start + QPoint(0, dy);
        if (releases)
            send(grip, QEvent::MouseButtonRelease, dragEnd, Qt::NoButton);
    }
    void send(QWidget *grip, QEvent::Type type, QPoint atInList, Qt::MouseButtons held)
    {
        const QPointF global = list()->mapToGlobal(QPointF(atInList));
        QMouseEvent event(type, grip->mapFromGlobal(global), global, Qt::LeftButton, held, Qt::NoModifier);
        QCoreApplication::sendEvent(grip, &event);
    }
    QPoint dragEnd;
    void dragFiller(const QString &name, int dy) { dragFrom(row(name)->filler(), dy); }
};

TEST_F(DesktopsSection, ClicksSwitchExceptTheActiveOneAndDragsReorder)
{
    openWith({"Default", "Work", "Play"});
    showDesktops();
    EXPECT_EQ(list()->order(), QStringList({"Default", "Work", "Play"}));
    QTest::mouseClick(row("Work")->filler(), Qt::LeftButton);
    QTest::mouseClick(row("Default")->filler(), Qt::LeftButton); // the active one
    EXPECT_EQ(switched, QStringList({"Work"}));
    EXPECT_EQ(store.saves, 0);

    // Work down past Play.
    dragFiller("Work", 44);
    EXPECT_EQ(storedNames(), QStringList({"Default", "Play", "Work", Config::blankWorkspaceName}));
    EXPECT_EQ(list()->order(), QStringList({"Default", "Play", "Work"}));
    // A drag ending where it began still saves the unchanged order, and is no click.
    const int saves = store.saves;
    dragFiller("Play", 20);
    EXPECT_EQ(store.saves, saves + 1);
    EXPECT_EQ(storedNames().mid(0, 3), QStringList({"Default", "Play", "Work"}));
    EXPECT_EQ(switched, QStringList({"Work"}));
}

TEST_F(DesktopsSection, ADragOnTheNameMovesTheRowAndSelectsNoText)
{
    openWith({"Default", "Work", "Play"});
    showDesktops();
    QLineEdit *name = row("Work")->nameField();
    dragFrom(name, 44);
    EXPECT_EQ(storedNames().mid(0, 3), QStringList({"Default", "Play", "Work"}));
    EXPECT_FALSE(name->hasSelectedText());
    // A click on a name is no switch.
    QTest::mouseClick(row("Play")->nameField(), Qt::LeftButton);
    EXPECT_TRUE(switched.isEmpty());
}

TEST_F(DesktopsSection, TheDraggedRowLiftsAndTheOthersSpringAside)
{
    openWith({"Default", "Work", "Play"});
    showDesktops();
    WorkspaceRow *work = row("Work");
    WorkspaceRow *play = row("Play");
    const QPoint corner(20, 2); // inside the rounded fill, clear of the row's controls
    const QRgb resting = work->grab().toImage().pixel(corner);
    const int playAt = play->y();

    dragFrom(work->filler(), 36, false); // more than two thirds of a row: Play makes room
    EXPECT_TRUE(work->isLifted());
    EXPECT_GT(work->height(), WorkspaceRow::rowHeight);
    EXPECT_GT(work->width(), list()->width());
    EXPECT_NE(work->grab().toImage().pixel(corner), resting);
    EXPECT_FALSE(play->isLifted());

    QVariantAnimation *spring = list()->spring();
    ASSERT_EQ(spring->state(), QAbstractAnimation::Running);
    spring->setCurrentTime(0);
    EXPECT_EQ(play->y(), playAt);
    spring->setCurrentTime(60);
    EXPECT_LT(play->y(), playAt);
    EXPECT_GT(play->y(), playAt - WorkspaceRow::rowHeight);
    spring->setCurrentTime(spring->duration());
    EXPECT_EQ(play->y(), playAt - WorkspaceRow::rowHeight);

    send(work->filler(), QEvent::MouseButtonRelease, dragEnd, Qt::NoButton);
    EXPECT_FALSE(work->isLifted());
    EXPECT_EQ(storedNames().mid(0, 3), QStringList({"Default", "Play", "Work"}));
}

TEST_F(DesktopsSection, DetailsOpenAndShutWithAnEaseOut)
{
    openWith({"Default", "Work", "Play"});
    showDesktops();
    WorkspaceRow *work = row("Work");
    QTest::mouseClick(work->chevron(), Qt::LeftButton);
    QVariantAnimation *opening = work->openAnimation();
    ASSERT_EQ(opening->state(), QAbstractAnimation::Running);
    EXPECT_EQ(opening->duration(), 180);
    ASSERT_NE(work->metadata(), nullptr);
    const int full = WorkspaceRow::rowHeight + work->metadata()->sizeHint().height();
    opening->setCurrentTime(0);
    EXPECT_EQ(work->height(), WorkspaceRow::rowHeight);
    opening->setCurrentTime(90); // easing out: past half the height at half the time
    EXPECT_GT(work->height(), (WorkspaceRow::rowHeight + full) / 2);
    EXPECT_LT(work->height(), full);
    opening->setCurrentTime(180);
    EXPECT_EQ(work->height(), full);
    EXPECT_EQ(row("Play")->y(), work->y() + full);
    // A click on the details' free space is no switch.
    QTest::mouseClick(work, Qt::LeftButton, {}, QPoint(work->width() / 2, full - 2));
    EXPECT_TRUE(switched.isEmpty());

    QTest::mouseClick(work->chevron(), Qt::LeftButton);
    EXPECT_FALSE(work->isExpanded());
    EXPECT_NE(work->metadata(), nullptr); // still shown while it shuts
    opening->setCurrentTime(180);
    EXPECT_EQ(work->height(), WorkspaceRow::rowHeight);
    EXPECT_EQ(work->metadata(), nullptr);
}

TEST_F(DesktopsSection, RenameKeepsItsRowTrimsAndRefusesInPlace)
{
    openWith({"Default", "Work"});
    showDesktops();
    WorkspaceRow *work = row("Work");
    QLineEdit *field = work->nameField();
    EXPECT_EQ(field->accessibleName(), "Name of Work");

    // Blanks around the stored name rename nothing.
    field->setFocus();
    field->setText("  Work ");
    QTest::keyClick(field, Qt::Key_Return);
    EXPECT_EQ(store.saves, 0);

    // A typed draft survives a republish of another change.
    field->setText("Proj");
    model->setStartMinimized(true);
    EXPECT_EQ(row("Work")->nameField()->text(), "Proj");

    field->setText("Projects");
    QTest::keyClick(field, Qt::Key_Return);
    EXPECT_EQ(storedNames(), QStringList({"Default", "Projects", Config::blankWorkspaceName}));
    EXPECT_TRUE(QDir(folder("Projects")).exists());
    EXPECT_EQ(row("Projects"), work); // the same row, re-keyed
    EXPECT_EQ(field->text(), "Projects");
    const int saves = store.saves;
    field->clearFocus(); // the focus-out after Return commits nothing
    EXPECT_EQ(store.saves, saves);

    // A refused name restores the field and leaves its reason for the shell's alert.
    field->setFocus();
    field->setText("Default");
    QTest::keyClick(field, Qt::Key_Return);
    EXPECT_EQ(field->text(), "Projects");
    EXPECT_TRUE(model->errorMessage());
    ASSERT_FALSE(dialogs.asked.empty());
    EXPECT_EQ(lastQuestion().title, "Can't do that");
}

TEST_F(DesktopsSection, DetailsColourTypeAndTrash)
{
    openWith({"Default", "Work"}, [](Config &c) {
        c.workspaces[1].lastActiveAt = 800000000.0 - 3 * 3600;
        c.settings.screenshotsWorkspace = "Work";
    });
    touch(folder("Work") + "/a.txt");
    touch(folder("Work") + "/b.txt");
    touch(folder("Work") + "/.hidden");
    showDesktops();
    view->resize(900, 600);
    QTest::mouseClick(row("Work")->chevron(), Qt::LeftButton);
    DeskMetadataRow *details = row("Work")->metadata();
    ASSERT_NE(details, nullptr);
    EXPECT_EQ(details->itemsLabel()->text(), "2 items");
    EXPECT_EQ(details->lastVisitLabel()->toolTip(), "Active 3 hr. ago");

    // The identity colour: one write for the one choice.
    QTest::mouseClick(details->colorSwatch(), Qt::LeftButton);
    ASSERT_EQ(dialogs.colorPicks.size(), 1u);
    dialogs.pick(QColor("#112233"));
    EXPECT_EQ(stored().workspaces[1].colorHex, "#112233");
    EXPECT_EQ(store.saves, 1);

    // The screenshot collection asks before it becomes temporary.
    details = row("Work")->metadata();
    QTest::mouseClick(details->typeToggle()->segment(int(WorkspaceType::temporary)), Qt::LeftButton);
    EXPECT_EQ(stored().workspaces[1].type, WorkspaceType::permanent);
    EXPECT_EQ(lastQuestion().title, "Make the Screenshots desktop temporary?");
    EXPECT_EQ(details->typeToggle()->current(), int(WorkspaceType::permanent));
    dialogs.answer(0);
    EXPECT_EQ(stored().workspaces[1].type, WorkspaceType::temporary);

    // The trash asks with the count of visible items.
    details = row("Work")->metadata();
    QTest::mouseClick(details->deleteButton(), Qt::LeftButton);
    EXPECT_EQ(lastQuestion().title, "Move “Work” to the Trash?");
    EXPECT_EQ(lastQuestion().informativeText,
              "Its 2 files go to the Trash with it, where you can recover them until you empty it.");
    EXPECT_EQ(lastQuestion().buttons[0], (DialogButton{"Move to Trash", ButtonRole::destructive}));
    dialogs.answer(1); // Cancel
    EXPECT_TRUE(QDir(folder("Work")).exists());

    // The active desktop's trash is off.
    QTest::mouseClick(row("Default")->chevron(), Qt::LeftButton);
    TrashCircleLabel *activeTrash = row("Default")->metadata()->deleteButton();
    EXPECT_FALSE(activeTrash->isEnabled());
    EXPECT_EQ(activeTrash->toolTip(), "Switch to another desktop first.");
}

// The last visit's text never shows cut: where it does not fit, the short word stands in.
TEST_F(DesktopsSection, TheLastVisitFallsBackToAShortWordWhereItsTextDoesNotFit)
{
    openWith({"Default", "Work", "Fresh"}, [](Config &c) { c.workspaces[1].lastActiveAt = 800000000.0 - 3 * 3600; });
    showDesktops();
    const auto opened = [&](const QString &name) {
        QTest::mouseClick(row(name)->chevron(), Qt::LeftButton);
        row(name)->openAnimation()->setCurrentTime(180);
        QCoreApplication::sendPostedEvents();
        return row(name)->metadata()->lastVisitLabel();
    };
    const auto fits = [](QLabel *label) {
        return label->fontMetrics().horizontalAdvance(label->text()) <= label->contentsRect().width();
    };
    view->resize(900, 600);
    QLabel *work = opened("Work");
    EXPECT_EQ(work->text(), "Active 3 hr. ago");
    EXPECT_TRUE(fits(work));
    QTest::mouseClick(row("Work")->chevron(), Qt::LeftButton);
    row("Work")->openAnimation()->setCurrentTime(180);

    view->resize(view->minimumWidth(), 600);
    QCoreApplication::sendPostedEvents();
    work = opened("Work");
    EXPECT_EQ(work->text(), "Active");
    EXPECT_GT(work->fontMetrics().horizontalAdvance(work->toolTip()), work->contentsRect().width());
    QLabel *fresh = opened("Fresh");
    EXPECT_EQ(fresh->text(), "New");
    EXPECT_EQ(fresh->toolTip(), "Not visited yet");
}

TEST_F(DesktopsSection, FoundFoldersArchivedRowsAndTheHint)
{
    openWith({"Default"}, [this](Config &c) {
        Workspace old = Workspace::make("Old");
        old.state = WorkspaceState::archivedUnsorted;
        old.archivedAt = 790000000.0;
        old.archiveLocation = home.path() + "/Archive/Old";
        QDir().mkpath(*old.archiveLocation);
        c.workspaces.push_back(old);
    });
    touch(home.path() + "/Archive/Old/one.txt");
    touch(home.path() + "/Archive/Old/.DS_Store");
    QDir().mkpath(folder("Loose"));
    touch(folder("Loose") + "/x");
    showDesktops();

    EXPECT_NE(label("Found in your desktops folder"), nullptr);
    click<QPushButton>("Open Containing Folder of Loose");
    EXPECT_EQ(desktop.revealed, (std::vector<QStringList>{{folder("Loose")}}));
    click<QPushButton>("Add Loose");
    EXPECT_TRUE(storedNames().contains("Loose"));
    EXPECT_NE(row("Loose"), nullptr);
    EXPECT_EQ(label("Found in your desktops folder"), nullptr);

    // The archived desktop: its trash confirmation counts the visible file alone.
    click<TrashCircleLabel>("Move Old to the Trash");
    EXPECT_EQ(lastQuestion().informativeText,
              "Its 1 file goes to the Trash with it, where you can recover it until you empty it.");
    dialogs.answer(1);
    click<QPushButton>("Open Containing Folder of Old");
    EXPECT_EQ(desktop.revealed.back(), QStringList({home.path() + "/Archive/Old"}));

    // The hint goes for good.
    click<QToolButton>("Dismiss");
    EXPECT_FALSE(stored().settings.showDeskListHint);
    EXPECT_EQ(find<QToolButton>("Dismiss"), nullptr);
}
