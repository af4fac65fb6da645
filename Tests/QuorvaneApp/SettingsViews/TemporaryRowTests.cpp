#include "SettingsViewHarness.h"
#include "ShownText.h"

#include "SettingsViews/DetailPane.h"
#include "SettingsViews/OrganisationTab.h"
#include "SettingsViews/TemporaryRow.h"
#include "Shared/SymbolIcon.h"

#include <QAbstractItemView>
#include <QComboBox>
#include <QPushButton>
#include <QSpinBox>

using namespace quorvane;
using namespace quorvane::test;

namespace {

// Opens the menu and clicks the entry showing text, as a user would.
void choose(QComboBox *menu, const QString &text)
{
    const int index = menu->findText(text);
    ASSERT_GE(index, 0) << text.toStdString();
    menu->showPopup();
    QAbstractItemView *list = menu->view();
    const QRect entry = list->visualRect(list->model()->index(index, 0));
    QTest::mouseClick(list->viewport(), Qt::LeftButton, {}, entry.center());
}

// Whether a label of that text shows in the row.
bool shownIn(QWidget *row, const QString &text)
{
    for (QLabel *label : row->findChildren<QLabel *>()) {
        if (label->text() == text && label->isVisibleTo(row))
            return true;
    }
    return false;
}

QStringList entries(QComboBox *menu)
{
    QStringList texts;
    for (int i = 0; i < menu->count(); ++i)
        texts << menu->itemText(i);
    return texts;
}

void makeTemporary(Config &config, const QString &name, const std::function<void(Workspace &)> &edit = {})
{
    Workspace *w = config.workspace(name);
    w->type = WorkspaceType::temporary;
    if (edit)
        edit(*w);
}

} // namespace

struct TemporaryDesktopRow : SettingsViewHarness {
    TemporaryRow *row(const QString &name)
    {
        auto *page = qobject_cast<OrganisationTab *>(view->pane()->content());
        return page ? page->temporaryRow(name) : nullptr;
    }
    TemporaryRow *showRow(const QString &name)
    {
        show(SettingsSection::organisation);
        QCoreApplication::sendPostedEvents();
        return row(name);
    }
    Workspace storedDesk(const QString &name) { return *stored().workspace(name); }
};

TEST_F(TemporaryDesktopRow, AStaleMoveTargetShowsArchiveAndArchivesBehindItsQuestion)
{
    // Home was made temporary after Trip chose it.
    openWith({"Base", "Home", "Trip"}, [](Config &c) {
        makeTemporary(c, "Home");
        makeTemporary(c, "Trip", [](Workspace &w) {
            w.clearMode = ClearMode::move;
            w.drainTarget = "Home";
            w.timerDrains = true;
            w.timer = ArchiveTimer{ArchiveTimerMode::idle, 3};
        });
    });
    TemporaryRow *trip = showRow("Trip");
    ASSERT_NE(trip, nullptr);
    EXPECT_EQ(trip->destinationMenu()->currentText(), "Archive");
    EXPECT_EQ(entries(trip->destinationMenu()), QStringList({"Keep", "Archive", "→ Base"}));
    EXPECT_EQ(trip->clearButton()->toolTip(), "Archive this desktop now.");

    choose(trip->whenMenu(), "after fixed time");
    Workspace stored = storedDesk("Trip");
    EXPECT_EQ(stored.timer, (ArchiveTimer{ArchiveTimerMode::fixed, 3}));
    EXPECT_FALSE(stored.timerDrains);
    EXPECT_EQ(stored.drainTarget, std::optional<QString>("Home")); // the stored route stays

    QTest::mouseClick(trip->clearButton(), Qt::LeftButton);
    ASSERT_EQ(dialogs.pending(), 1);
    const Question &question = lastQuestion();
    EXPECT_EQ(question.title, "Archive “Trip”?");
    EXPECT_EQ(question.informativeText,
              "Moves this desktop's folder into your archive — nothing is deleted. You can restore it anytime.");
    EXPECT_EQ(question.buttons, (std::vector<DialogButton>{{"Archive"}, {"Archive, don't ask again"}, {"Cancel", ButtonRole::cancel}}));
    dialogs.answer(2);
    EXPECT_EQ(storedDesk("Trip").state, WorkspaceState::active);
    EXPECT_TRUE(stored.type == WorkspaceType::temporary);

    QTest::mouseClick(trip->clearButton(), Qt::LeftButton);
    dialogs.answer(1);
    EXPECT_FALSE(this->stored().settings.confirmArchive);
    EXPECT_NE(storedDesk("Trip").state, WorkspaceState::active);
    EXPECT_EQ(row("Trip"), nullptr);
    // Asked no more: the next one archives at once.
    QTest::mouseClick(row("Home")->clearButton(), Qt::LeftButton);
    EXPECT_EQ(dialogs.pending(), 0);
    EXPECT_NE(storedDesk("Home").state, WorkspaceState::active);
}

TEST_F(TemporaryDesktopRow, MovingIntoAHomeAsksAndDontAskAgainClearsTheFlagFirst)
{
    openWith({"Base", "Home", "Trip"}, [](Config &c) {
        makeTemporary(c, "Trip");
        c.settings.screenshotsWorkspace = "Base"; // never a home
    });
    QFile file(folder("Trip") + "/ticket.pdf");
    ASSERT_TRUE(file.open(QIODevice::WriteOnly));
    file.close();
    TemporaryRow *trip = showRow("Trip");
    ASSERT_NE(trip, nullptr);
    EXPECT_EQ(entries(trip->destinationMenu()), QStringList({"Keep", "Archive", "→ Home"}));
    EXPECT_FALSE(trip->clearButton()->isVisibleTo(trip)); // kept: nothing to clear

    choose(trip->destinationMenu(), "→ Home");
    Workspace stored = storedDesk("Trip");
    EXPECT_EQ(stored.clearMode, ClearMode::move);
    EXPECT_EQ(stored.drainTarget, std::optional<QString>("Home"));
    EXPECT_TRUE(stored.timerDrains);
    ASSERT_TRUE(trip->clearButton()->isVisibleTo(trip));
    EXPECT_EQ(trip->clearButton()->toolTip(), "Move its files into “Home” now.");
    EXPECT_EQ(trip->clearButton()->property(SymbolIcon::property).toString(), "arrow.clockwise");

    QTest::mouseClick(trip->clearButton(), Qt::LeftButton);
    ASSERT_EQ(dialogs.pending(), 1);
    EXPECT_EQ(lastQuestion().title, "Move “Trip” into “Home”?");
    EXPECT_EQ(lastQuestion().informativeText, "Its files move into “Home” under a folder named “Trip”. Nothing is "
                                              "deleted or overwritten, and the emptied desktop is removed.");
    EXPECT_EQ(lastQuestion().buttons.back(), (DialogButton{"Cancel", ButtonRole::cancel}));
    // The flag is cleared before the move, which a switch under way refuses.
    busy = true;
    dialogs.answer(1);
    EXPECT_FALSE(this->stored().settings.confirmDrain);
    EXPECT_EQ(errorMessage(), "Quorvane is mid-switch. Try again in a moment.");
    EXPECT_TRUE(QFile::exists(folder("Trip") + "/ticket.pdf"));
    dialogs.answer(0); // the window's "Can't do that"
    busy = false;

    QTest::mouseClick(row("Trip")->clearButton(), Qt::LeftButton);
    EXPECT_EQ(dialogs.pending(), 0); // no longer asked
    EXPECT_FALSE(this->stored().settings.confirmDrain);
    EXPECT_TRUE(QFile::exists(folder("Home") + "/Trip/ticket.pdf"));
    EXPECT_EQ(this->stored().workspace("Trip"), nullptr);
    EXPECT_EQ(row("Trip"), nullptr);
}

TEST_F(TemporaryDesktopRow, TheTargetsNameReadsAsWrittenInTheClearButtonsTip)
{
    openWith({"<i>Home", "Trip"}, [](Config &c) { makeTemporary(c, "Trip"); });
    TemporaryRow *trip = showRow("Trip");
    ASSERT_NE(trip, nullptr);
    choose(trip->destinationMenu(), "→ <i>Home");
    EXPECT_EQ(shownToolTip(trip->clearButton()), "Move its files into “<i>Home” now.");
}

TEST_F(TemporaryDesktopRow, TheTimerPickerAndStepperWriteTheTimer)
{
    openWith({"Base", "Trip"}, [](Config &c) {
        makeTemporary(c, "Trip", [](Workspace &w) { w.clearMode = ClearMode::archive; });
    });
    TemporaryRow *trip = showRow("Trip");
    ASSERT_NE(trip, nullptr);
    EXPECT_EQ(trip->whenMenu()->currentText(), "off");
    EXPECT_FALSE(trip->daysStepper()->isVisibleTo(trip));

    choose(trip->whenMenu(), "after idle");
    EXPECT_EQ(storedDesk("Trip").timer, (ArchiveTimer{ArchiveTimerMode::idle, 7}));
    QSpinBox *days = trip->daysStepper();
    ASSERT_TRUE(days->isVisibleTo(trip));
    EXPECT_EQ(days->text(), "7 days");

    days->setFocus();
    days->selectAll();
    QTest::keyClicks(days, "1");
    QTest::keyClick(days, Qt::Key_Return);
    EXPECT_EQ(storedDesk("Trip").timer, (ArchiveTimer{ArchiveTimerMode::idle, 1}));
    EXPECT_EQ(days->text(), "1 day");
    QTest::keyClick(days, Qt::Key_Down);
    EXPECT_EQ(storedDesk("Trip").timer, (ArchiveTimer{ArchiveTimerMode::idle, 0}));
    EXPECT_EQ(days->text(), "same day");
    days->selectAll();
    QTest::keyClicks(days, "365");
    QTest::keyClick(days, Qt::Key_Return);
    QTest::keyClick(days, Qt::Key_Up);
    EXPECT_EQ(storedDesk("Trip").timer, (ArchiveTimer{ArchiveTimerMode::idle, 365}));
    EXPECT_EQ(days->text(), "365 days");

    // Keeping the files drops the timer, and with it the timer's controls and "now".
    choose(trip->destinationMenu(), "Keep");
    const Workspace kept = storedDesk("Trip");
    EXPECT_EQ(kept.clearMode, ClearMode::keep);
    EXPECT_EQ(kept.timer, std::nullopt);
    EXPECT_FALSE(trip->whenMenu()->isVisibleTo(trip));
    EXPECT_FALSE(trip->clearButton()->isVisibleTo(trip));
}

TEST_F(TemporaryDesktopRow, HomesLeaveOutTheScreenshotsBlankArchivedAndTemporaryDesktops)
{
    openWith({"Trip", "Home", "Shots", "Other", "Gone"}, [](Config &c) {
        makeTemporary(c, "Other");
        c.workspace("Gone")->state = WorkspaceState::archivedUnsorted;
        c.settings.screenshotsWorkspace = "Shots";
        makeTemporary(c, "Trip", [](Workspace &w) {
            w.clearMode = ClearMode::move;
            w.drainTarget = "Shots";
            w.timerDrains = true;
        });
    });
    const Config before = stored();
    TemporaryRow *trip = showRow("Trip");
    ASSERT_NE(trip, nullptr);
    EXPECT_EQ(entries(trip->destinationMenu()), QStringList({"Keep", "Archive", "→ Home"}));
    // The screenshots desktop still takes the files, but the menu has no entry for it.
    EXPECT_EQ(trip->destinationMenu()->currentIndex(), -1);
    EXPECT_EQ(stored(), before);

    // Trip is the active desktop: it cannot be cleared from here.
    EXPECT_FALSE(trip->clearButton()->isEnabled());
    EXPECT_EQ(trip->clearButton()->toolTip(), "Switch to another desktop first.");
    QTest::mouseClick(trip->clearButton(), Qt::LeftButton);
    EXPECT_EQ(dialogs.pending(), 0);
    EXPECT_EQ(stored(), before);
}

TEST_F(TemporaryDesktopRow, TheRowIsOneLineWhenItFitsElseStacked)
{
    openWith({"Base", "A desktop with a rather long name", "Trip"}, [](Config &c) {
        makeTemporary(c, "A desktop with a rather long name",
                      [](Workspace &w) { w.clearMode = ClearMode::archive; w.timer = ArchiveTimer{ArchiveTimerMode::fixed, 30}; });
        makeTemporary(c, "Trip");
    });
    show(SettingsSection::organisation);
    view->resize(1800, 600);
    QCoreApplication::sendPostedEvents();
    QCoreApplication::processEvents();
    TemporaryRow *wide = row("A desktop with a rather long name");
    ASSERT_NE(wide, nullptr);
    EXPECT_EQ(wide->arrangement(), TemporaryRow::Arrangement::sentence);

    view->resize(700, 600);
    QCoreApplication::sendPostedEvents();
    QCoreApplication::processEvents();
    EXPECT_EQ(wide->arrangement(), TemporaryRow::Arrangement::stacked);
    EXPECT_LE(wide->width(), 700);
    EXPECT_TRUE(shownIn(wide, "Automatically"));
    EXPECT_FALSE(shownIn(wide, "automatically"));
    EXPECT_GT(wide->whenMenu()->mapTo(wide, QPoint()).y(), wide->destinationMenu()->mapTo(wide, QPoint()).y());
    // Kept, a row is short enough for one line.
    EXPECT_EQ(row("Trip")->arrangement(), TemporaryRow::Arrangement::sentence);

    view->resize(1800, 600);
    QCoreApplication::sendPostedEvents();
    QCoreApplication::processEvents();
    EXPECT_EQ(wide->arrangement(), TemporaryRow::Arrangement::sentence);
    EXPECT_TRUE(shownIn(wide, "automatically"));
    EXPECT_FALSE(shownIn(wide, "Automatically"));
}

TEST_F(TemporaryDesktopRow, AnsweringMovesOnlyIntoTheDesktopTheQuestionNamed)
{
    openWith({"Base", "Home", "Trip"}, [](Config &c) {
        makeTemporary(c, "Trip", [](Workspace &w) {
            w.clearMode = ClearMode::move;
            w.drainTarget = "Home";
            w.timerDrains = true;
        });
    });
    TemporaryRow *trip = showRow("Trip");
    ASSERT_NE(trip, nullptr);
    QTest::mouseClick(trip->clearButton(), Qt::LeftButton);
    ASSERT_EQ(dialogs.pending(), 1);
    // Before the answer the desktop's destination becomes the archive.
    choose(trip->destinationMenu(), "Archive");
    dialogs.answer(0);
    EXPECT_EQ(storedDesk("Trip").state, WorkspaceState::active);
    EXPECT_FALSE(QDir(folder("Home") + "/Trip").exists());
}
