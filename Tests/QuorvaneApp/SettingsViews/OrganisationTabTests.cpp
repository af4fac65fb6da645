#include "SettingsViewHarness.h"

#include "Fakes/RecordingDesktopServices.h"
#include "SettingsViews/ArchivedSortRow.h"
#include "SettingsViews/ArchivedTrashButton.h"
#include "SettingsViews/CleanupLedgerRow.h"
#include "SettingsViews/ColorSwatch.h"
#include "SettingsViews/DetailPane.h"
#include "SettingsViews/HintBar.h"
#include "SettingsViews/OrganisationTab.h"
#include "Shared/Style.h"
#include "Shared/SymbolIcon.h"

#include <QCheckBox>
#include <QDateEdit>
#include <QInputMethodEvent>
#include <QPushButton>
#include <QTimeEdit>
#include <QToolButton>

using namespace quorvane;
using namespace quorvane::test;

namespace {

constexpr Date now = 800000000.0; // the harness's clock

// The local start of the harness's today, shifted by whole days.
Date day(int offset)
{
    return CleanupLedgerRow::startOf(CleanupLedgerRow::localDay(now).addDays(offset));
}

CleanupTask task(const QStringList &members, Date date)
{
    CleanupTask t;
    t.members = members;
    t.date = date;
    return t;
}

Workspace archived(const QString &name, WorkspaceState state)
{
    Workspace w = Workspace::make(name, QStringLiteral("#112233"));
    w.state = state;
    return w;
}

} // namespace

struct OrganizeSection : SettingsViewHarness {
    RecordingDesktopServices desktop;
    int calendars = 0;

    OrganisationTab *tab() { return qobject_cast<OrganisationTab *>(view->pane()->content()); }
    OrganisationTab *showOrganize()
    {
        services.desktop = &desktop;
        services.showCalendar = [this] { ++calendars; };
        show(SettingsSection::organisation);
        QCoreApplication::sendPostedEvents();
        return tab();
    }
    std::vector<CleanupTask> storedTasks() { return stored().cleanupTasks; }
};

TEST_F(OrganizeSection, TheScheduleListsEachDesktopOnceAtItsEarliestDay)
{
    openWith({"Base"}, [](Config &c) {
        c.workspaces.insert(c.workspaces.begin(), archived("Old", WorkspaceState::archivedUnsorted));
        c.workspace("Base")->colorHex = "#445566";
        c.cleanupTasks = {task({"Old", "Base"}, day(0)), task({"Old"}, day(-1))};
    });
    const Config &config = model->config();
    EXPECT_EQ(OrganisationTab::ledgerEntries(config.openCleanupTasks(), config),
              (std::vector<OrganisationTab::LedgerEntry>{{"Old", "#112233", day(-1)}, {"Base", "#445566", day(0)}}));
    // A member without a desktop is listed in grey.
    EXPECT_EQ(OrganisationTab::ledgerEntries({task({"Ghost"}, day(2))}, config),
              (std::vector<OrganisationTab::LedgerEntry>{{"Ghost", "#888888", day(2)}}));

    OrganisationTab *page = showOrganize();
    CleanupLedgerRow *old = page->ledgerRow("Old");
    CleanupLedgerRow *ghost = page->ledgerRow("Base");
    ASSERT_TRUE(old && ghost);
    EXPECT_EQ(hexString(ghost->swatch()->color()), "#445566");
    EXPECT_TRUE(old->overdueLabel()->isVisibleTo(page));
    EXPECT_FALSE(ghost->overdueLabel()->isVisibleTo(page));
    // Yesterday's entry still offers its own day; today's starts at today.
    EXPECT_EQ(old->dateEditor()->minimumDate(), CleanupLedgerRow::localDay(day(-1)));
    EXPECT_EQ(ghost->dateEditor()->minimumDate(), CleanupLedgerRow::localDay(day(0)));
    EXPECT_EQ(ghost->removeButton()->toolTip(), "Remove this reminder");
    EXPECT_EQ(ghost->removeButton()->property(SymbolIcon::property).toString(), "xmark.circle.fill");

    // One day later moves Old into today's task, beside Base; the row stays and is no longer overdue.
    QDateEdit *picker = old->dateEditor();
    picker->setFocus();
    picker->setCurrentSection(QDateTimeEdit::DaySection);
    QTest::keyClick(picker, Qt::Key_Up);
    ASSERT_EQ(storedTasks().size(), 1u);
    EXPECT_EQ(storedTasks()[0].members, QStringList({"Base", "Old"}));
    EXPECT_EQ(storedTasks()[0].date, day(0));
    EXPECT_EQ(page->ledgerRow("Old"), old);
    EXPECT_FALSE(old->overdueLabel()->isVisibleTo(page));

    QTest::mouseClick(ghost->removeButton(), Qt::LeftButton);
    EXPECT_EQ(storedTasks()[0].members, QStringList({"Old"}));
    EXPECT_EQ(page->ledgerRow("Base"), nullptr);
    QTest::mouseClick(page->ledgerRow("Old")->removeButton(), Qt::LeftButton);
    EXPECT_TRUE(storedTasks().empty());
    EXPECT_NE(label("No cleanups scheduled — open the calendar and tap a date to add one."), nullptr);

    click<QPushButton>("Open calendar…");
    EXPECT_EQ(calendars, 1);
}

TEST_F(OrganizeSection, ArchivedDesktopsAreTickedAsSortedInPlace)
{
    openWith({"Base"});
    showOrganize();
    EXPECT_NE(label("Nothing archived yet."), nullptr);

    const QString location = home.path() + "/Archive/Done";
    Config config = stored();
    Workspace done = archived("Done", WorkspaceState::archivedSorted);
    done.archiveLocation = location;
    done.archivedAt = now - 86400;
    config.workspaces.insert(config.workspaces.begin(), {done, archived("Loose", WorkspaceState::archivedUnsorted)});
    store.saveConfig(config);
    model->reload();
    OrganisationTab *page = tab();

    ArchivedSortRow *sorted = page->archivedRow("Done");
    ArchivedSortRow *loose = page->archivedRow("Loose");
    ASSERT_TRUE(sorted && loose);
    EXPECT_EQ(label("Nothing archived yet."), nullptr);
    EXPECT_TRUE(sorted->sortedBox()->isChecked());
    EXPECT_TRUE(sorted->trashButton()->isVisibleTo(page));
    EXPECT_TRUE(sorted->dateLabel()->text().startsWith("archived "));
    EXPECT_FALSE(loose->sortedBox()->isChecked());
    EXPECT_FALSE(loose->trashButton()->isVisibleTo(page));
    EXPECT_FALSE(loose->revealButton()->isVisibleTo(page));
    EXPECT_FALSE(loose->dateLabel()->isVisibleTo(page));

    QTest::mouseClick(sorted->revealButton(), Qt::LeftButton);
    ASSERT_EQ(desktop.revealed.size(), 1u);
    EXPECT_EQ(desktop.revealed[0], QStringList{location});

    QTest::mouseClick(sorted->sortedBox(), Qt::LeftButton);
    EXPECT_EQ(stored().workspace("Done")->state, WorkspaceState::archivedUnsorted);
    EXPECT_EQ(page->archivedRow("Done"), sorted);
    EXPECT_FALSE(sorted->trashButton()->isVisibleTo(page));
    QTest::mouseClick(loose->sortedBox(), Qt::LeftButton);
    EXPECT_EQ(stored().workspace("Loose")->state, WorkspaceState::archivedSorted);
    ASSERT_TRUE(loose->trashButton()->isVisibleTo(page));

    QTest::mouseClick(loose->trashButton(), Qt::LeftButton);
    ASSERT_EQ(dialogs.pending(), 1);
    EXPECT_EQ(lastQuestion().title, "Move “Loose” to the Trash?");
    EXPECT_EQ(lastQuestion().buttons.back(), (DialogButton{"Cancel", ButtonRole::cancel}));
    dialogs.answer(0);
    EXPECT_EQ(stored().workspace("Loose"), nullptr);
    EXPECT_EQ(page->archivedRow("Loose"), nullptr);
}

TEST_F(OrganizeSection, RemindersFollowTheMuteAndStoreTheTimeInMinutes)
{
    openWith({"Base"}, [](Config &c) {
        c.settings.muteCleanupNotifications = true;
        c.settings.cleanupNotifyMinutes = 0;
        c.settings.cleanupNotifyRepeat = true;
        c.settings.cleanupNotifySound = false;
    });
    OrganisationTab *page = showOrganize();
    EXPECT_FALSE(page->remindToggle()->isChecked());
    EXPECT_FALSE(page->reminderBlock()->isEnabled());
    EXPECT_EQ(page->timeEditor()->text(), "00:00");
    EXPECT_TRUE(find<QCheckBox>("Repeat two times weekly while overdue")->isChecked());
    EXPECT_FALSE(find<QCheckBox>("Sound")->isChecked());

    QTest::mouseClick(page->remindToggle(), Qt::LeftButton);
    EXPECT_FALSE(stored().settings.muteCleanupNotifications);
    EXPECT_TRUE(page->reminderBlock()->isEnabled());

    QTimeEdit *time = page->timeEditor();
    view->activateWindow();
    ASSERT_TRUE(QTest::qWaitForWindowActive(view.get()));
    time->setFocus();
    time->setSelectedSection(QDateTimeEdit::HourSection);
    QTest::keyClicks(time, "2359");
    EXPECT_EQ(time->text(), "23:59");
    EXPECT_EQ(stored().settings.cleanupNotifyMinutes, 0); // nothing is taken while typing
    QTest::keyClick(time, Qt::Key_Return);
    EXPECT_EQ(stored().settings.cleanupNotifyMinutes, 1439);

    click<QCheckBox>("Sound");
    EXPECT_TRUE(stored().settings.cleanupNotifySound);
    click<QCheckBox>("Repeat two times weekly while overdue");
    EXPECT_FALSE(stored().settings.cleanupNotifyRepeat);
    click<QCheckBox>("Show in the panel menu");
    EXPECT_FALSE(stored().settings.showCleanupCalendarInMenu);
}

TEST_F(OrganizeSection, ATimeTypedIntoRemindAtIsTakenWhenTheFieldIsLeft)
{
    openWith({"Base"}, [](Config &c) {
        c.settings.muteCleanupNotifications = false;
        c.settings.cleanupNotifyMinutes = 0;
    });
    OrganisationTab *page = showOrganize();
    QTimeEdit *time = page->timeEditor();
    view->activateWindow();
    ASSERT_TRUE(QTest::qWaitForWindowActive(view.get()));
    QTest::mouseClick(time, Qt::LeftButton, {}, QPoint(6, time->height() / 2));
    ASSERT_TRUE(time->hasFocus());
    QTest::keyClicks(time, "0930");
    EXPECT_EQ(time->text(), "09:30");
    QTest::mouseClick(find<QCheckBox>("Sound"), Qt::LeftButton);
    EXPECT_EQ(stored().settings.cleanupNotifyMinutes, 570);
}

TEST_F(OrganizeSection, RemindAtTakesDigitsFromAnInputMethodAndKeepsThemThroughAChangeOfTheDocument)
{
    openWith({"Base"}, [](Config &c) {
        c.settings.muteCleanupNotifications = false;
        c.settings.cleanupNotifyMinutes = 0;
    });
    OrganisationTab *page = showOrganize();
    QTimeEdit *time = page->timeEditor();
    view->activateWindow();
    ASSERT_TRUE(QTest::qWaitForWindowActive(view.get()));
    QTest::mouseClick(time, Qt::LeftButton, {}, QPoint(6, time->height() / 2));
    ASSERT_TRUE(time->hasFocus());
    // An input method's session commits what is typed as text, not as keys.
    QInputMethodEvent first;
    first.setCommitString(QStringLiteral("07"));
    QCoreApplication::sendEvent(time, &first);
    EXPECT_EQ(time->text(), "07:00");
    // Another setting saved meanwhile does not type over the field.
    model->setCleanupNotifySound(true);
    QCoreApplication::sendPostedEvents();
    EXPECT_EQ(time->text(), "07:00");
    QInputMethodEvent second;
    second.setCommitString(QStringLiteral("45"));
    QCoreApplication::sendEvent(time, &second);
    EXPECT_EQ(time->text(), "07:45");
    QTest::keyClick(time, Qt::Key_Return);
    EXPECT_EQ(stored().settings.cleanupNotifyMinutes, 7 * 60 + 45);
    // Left unchanged while the document took another time, the field shows the stored one.
    model->setCleanupNotifyMinutes(8 * 60);
    QTest::mouseClick(find<QCheckBox>("Sound"), Qt::LeftButton);
    QCoreApplication::sendPostedEvents();
    EXPECT_EQ(time->text(), "08:00");
}

TEST_F(OrganizeSection, TheHintBarIsDismissedAndBroughtBack)
{
    openWith({"Base"});
    OrganisationTab *page = showOrganize();
    ASSERT_NE(page->hintBar(), nullptr);
    EXPECT_FALSE(page->hintButton()->isVisibleTo(page));
    EXPECT_NE(label("No temporary desktops. Set one to Temporary in the desktops tab to move or archive it."), nullptr);

    QTest::mouseClick(page->hintBar()->dismissButton(), Qt::LeftButton);
    EXPECT_FALSE(stored().settings.showMoveHint);
    EXPECT_EQ(page->hintBar(), nullptr);
    ASSERT_TRUE(page->hintButton()->isVisibleTo(page));
    EXPECT_EQ(page->hintButton()->toolTip(), "What are temporary desktops?");
    EXPECT_EQ(page->hintButton()->property(SymbolIcon::property).toString(), "questionmark.circle");

    QTest::mouseClick(page->hintButton(), Qt::LeftButton);
    EXPECT_TRUE(stored().settings.showMoveHint);
    EXPECT_NE(page->hintBar(), nullptr);
    EXPECT_FALSE(page->hintButton()->isVisibleTo(page));
}
