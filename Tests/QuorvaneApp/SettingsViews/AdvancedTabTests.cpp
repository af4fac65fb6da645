#include "SettingsViewHarness.h"

#include "SettingsViews/AdvancedTab.h"
#include "SettingsViews/CustomFilterRow.h"
#include "SettingsViews/DetailPane.h"
#include "SettingsViews/SettingRow.h"
#include "Shared/ElidedLabel.h"
#include "Shared/SymbolIcon.h"
#include "Triggers/KeyRecorder.h"

#include <QCheckBox>
#include <QLineEdit>
#include <QMenu>
#include <QPushButton>
#include <QToolButton>

using namespace quorvane;
using namespace quorvane::test;

namespace {

const QString sweepQuestion = QStringLiteral("Sweep screenshots already on this desktop?");

void submit(QLineEdit *field, const QString &text)
{
    field->clear();
    QTest::keyClicks(field, text);
    QTest::keyClick(field, Qt::Key_Return);
}

} // namespace

struct AdvancedSection : SettingsViewHarness {
    int sweeps = 0;

    AdvancedTab *tab() { return qobject_cast<AdvancedTab *>(view->pane()->content()); }
    void showAdvanced()
    {
        show(SettingsSection::advanced);
        model->onSweepNow = [this] { ++sweeps; };
    }
    void turnSweepingOn() { click<QCheckBox>("Filter screenshots into a collection"); }
    const ScriptedDialogs::Asked &lastAsked() const { return dialogs.asked.back(); }
    CustomFilterRow *row(int index) { return tab()->ruleRows().at(std::size_t(index)); }
    QUuid ruleId(int index) { return stored().settings.customFilters.at(std::size_t(index)).id; }
    QAction *menuItem(CustomFilterRow *row, const QString &text)
    {
        for (QAction *action : row->destinationMenu()->actions()) {
            if (action->text() == text)
                return action;
        }
        return nullptr;
    }
    // Where Tab goes from w.
    QWidget *nextTab(QWidget *w)
    {
        for (QWidget *next = w->nextInFocusChain(); next != w; next = next->nextInFocusChain()) {
            if ((next->focusPolicy() & Qt::TabFocus) && next->isVisibleTo(view.get()) && next->isEnabled())
                return next;
        }
        return nullptr;
    }
    void newDesktop(CustomFilterRow *row, int button, const QString &name)
    {
        QAction *item = menuItem(row, "New desktop…");
        ASSERT_NE(item, nullptr);
        EXPECT_EQ(item->property(SymbolIcon::property).toString(), "plus");
        item->trigger();
        ASSERT_EQ(dialogs.pending(), 1);
        const Question &q = lastQuestion();
        EXPECT_EQ(q.message, "New desktop");
        EXPECT_EQ(q.informativeText, "Create a new permanent desktop to sort matching files into.");
        ASSERT_TRUE(q.field);
        EXPECT_EQ(q.field->placeholder, "Name");
        EXPECT_EQ(q.buttons, (std::vector<DialogButton>{{"Create"}, {"Cancel", ButtonRole::cancel}}));
        dialogs.answer(button, name);
    }
};

TEST_F(AdvancedSection, SweepingOnOffersOnlyTheSweepAndShowsTheNameWithNoWarning)
{
    openWith({"Default", "Screenshots"});
    showAdvanced();
    EXPECT_EQ(find<QLineEdit>("Screenshot name"), nullptr); // the group is absent while sweeping is off
    turnSweepingOn();
    EXPECT_TRUE(stored().settings.filterScreenshots);
    EXPECT_EQ(stored().settings.screenshotsWorkspace, "Screenshots 2");
    // Names are the only record of a screenshot: no index warning, no detour, no switch.
    ASSERT_EQ(dialogs.pending(), 1); // screenshots save to the Desktop here: the sweep follows
    EXPECT_TRUE(lastAsked().modal);
    EXPECT_EQ(lastQuestion().message, sweepQuestion);
    EXPECT_EQ(lastQuestion().informativeText, "Move any screenshots currently on your desktop into “Screenshots” now. "
                                              "Otherwise, filtering starts with your next desktop switch.");
    EXPECT_EQ(lastQuestion().buttons, (std::vector<DialogButton>{{"Sweep Now"}, {"Not Now"}}));
    EXPECT_EQ(find<QCheckBox>("Match by filename"), nullptr);
    ASSERT_NE(find<QLineEdit>("Screenshot name"), nullptr);
    EXPECT_FALSE(stored().settings.screenshotFilenameFallback); // the stored key is left as it was
    dialogs.answer(0);
    EXPECT_EQ(sweeps, 1);
    click<QCheckBox>("Show a pause toggle in the panel");
    EXPECT_TRUE(stored().settings.showScreenshotPauseInMenu);

    // Turning off asks nothing and removes every gated row.
    turnSweepingOn();
    EXPECT_FALSE(stored().settings.filterScreenshots);
    EXPECT_EQ(dialogs.pending(), 0);
    EXPECT_EQ(dialogs.asked.size(), 1u);
    EXPECT_EQ(find<QCheckBox>("Show a pause toggle in the panel"), nullptr);
    EXPECT_EQ(find<QLineEdit>("Screenshot name"), nullptr);

    turnSweepingOn();
    dialogs.answer(1);
    EXPECT_EQ(sweeps, 1);
    auto *row = qobject_cast<SettingRow *>(find<QCheckBox>("Filter screenshots into a collection")->parentWidget());
    ASSERT_NE(row, nullptr);
    EXPECT_EQ(row->subtitleLabel()->text(), "Whenever you switch desktops, screenshots are swept off the current one "
                                            "into a “Screenshots” desktop — keeping the rest clean.");
    QStringList symbols;
    for (QLabel *l : row->findChildren<QLabel *>())
        symbols << l->property(SymbolIcon::property).toString();
    EXPECT_TRUE(symbols.contains("scissors"));
}

TEST_F(AdvancedSection, TheScreenshotNameIsTrimmedOnReturnOnly)
{
    openWith({"Default"}, [](Config &c) {
        c.settings.filterScreenshots = true;
        c.settings.screenshotNamePrefix = "Capture";
    });
    showAdvanced();
    auto *name = find<QLineEdit>("Screenshot name");
    ASSERT_NE(name, nullptr);
    EXPECT_EQ(name->text(), "Capture");
    EXPECT_EQ(name->placeholderText(), "Capture");
    submit(name, "  Shot\t ");
    EXPECT_EQ(stored().settings.screenshotNamePrefix, "Shot");
    submit(name, "   ");
    EXPECT_EQ(stored().settings.screenshotNamePrefix, std::nullopt);
    EXPECT_EQ(name->placeholderText(), "Screenshot");

    // Typing without Return writes nothing, and a refresh leaves the draft alone; showing
    // the page again takes the stored word.
    const int saves = store.saves;
    QTest::keyClicks(name, "Draft");
    model->setShowScreenshotPauseInMenu(true);
    EXPECT_EQ(name->text(), "   Draft");
    EXPECT_EQ(store.saves, saves + 1);
    EXPECT_EQ(stored().settings.screenshotNamePrefix, std::nullopt);
}

TEST_F(AdvancedSection, TheRulesBlockAddsFocusesSortsAndUninstalls)
{
    openWith({"Default"}, [](Config &c) { c.settings.customFilters.clear(); });
    showAdvanced();
    int uninstalls = 0;
    model->onUninstall = [&] { ++uninstalls; };
    EXPECT_EQ(find<QPushButton>("Add rule"), nullptr);
    click<QCheckBox>("Sort files by name into desktops");
    EXPECT_TRUE(stored().settings.customFiltersEnabled);
    EXPECT_NE(label("No rules yet. Add one, then type a word and the desktop to sort matching files into."), nullptr);
    EXPECT_EQ(find<QPushButton>("Sort now"), nullptr);
    EXPECT_EQ(find<QCheckBox>("Screenshots take priority over rules"), nullptr); // sweeping is off

    click<QPushButton>("Add rule");
    ASSERT_EQ(stored().settings.customFilters.size(), 1u);
    const CustomFilter rule = stored().settings.customFilters.front();
    EXPECT_TRUE(rule.enabled);
    EXPECT_TRUE(rule.pattern.isEmpty());
    EXPECT_TRUE(rule.collection.isEmpty());
    ASSERT_EQ(tab()->ruleRows().size(), 1u);
    EXPECT_EQ(view->focusWidget(), row(0)->wordField());
    EXPECT_EQ(label("No rules yet. Add one, then type a word and the desktop to sort matching files into."), nullptr);
    click<QPushButton>("Sort now");
    EXPECT_EQ(sweeps, 1);

    click<QCheckBox>("Sort automatically on desktop changes");
    EXPECT_TRUE(stored().settings.customFiltersWatch);
    auto *shortcut = find<KeyRecorderView>("Sort now shortcut");
    QTest::mouseClick(shortcut, Qt::LeftButton);
    QTest::keyClick(shortcut, Qt::Key_S, Qt::ControlModifier | Qt::AltModifier);
    EXPECT_TRUE(stored().settings.sortNowShortcut);

    click<QPushButton>("Uninstall Quorvane…");
    EXPECT_EQ(uninstalls, 1);

    // Off: only the first row; the rules stay stored.
    click<QCheckBox>("Sort files by name into desktops");
    EXPECT_EQ(find<QPushButton>("Add rule"), nullptr);
    EXPECT_EQ(stored().settings.customFilters.size(), 1u);
}

TEST_F(AdvancedSection, ARuleRowEditsItsOwnRuleByIdentity)
{
    openWith({"Default", "Work", "Receipts", "Old"}, [](Config &c) {
        c.settings.customFiltersEnabled = true;
        c.workspaces[3].state = WorkspaceState::archivedSorted;
        c.settings.customFilters = {CustomFilter{}, CustomFilter{}, CustomFilter{}};
        c.settings.customFilters[2].collection = "Old";
    });
    showAdvanced();
    ASSERT_EQ(tab()->ruleRows().size(), 3u);
    CustomFilterRow *first = row(0);
    CustomFilterRow *last = row(2);
    EXPECT_EQ(first->wordField()->placeholderText(), "name contains…");
    EXPECT_EQ(first->destinationLabel()->text(), "Choose desktop");
    EXPECT_EQ(first->enabledToggle()->toolTip(), "Rule is on");
    EXPECT_EQ(last->destinationLabel()->text(), "Old"); // shown, though never offered
    QStringList offered;
    for (QAction *action : last->destinationMenu()->actions())
        offered << action->text();
    EXPECT_EQ(offered, QStringList({"Default", "Work", "Receipts", "", "New desktop…"}));
    EXPECT_EQ(last->destinationButton()->popupMode(), QToolButton::InstantPopup);

    QTest::mouseClick(row(1)->enabledToggle(), Qt::LeftButton);
    EXPECT_FALSE(stored().settings.customFilters[1].enabled);
    EXPECT_TRUE(stored().settings.customFilters[0].enabled);
    EXPECT_EQ(row(1)->enabledToggle()->toolTip(), "Rule is off");

    // Typing survives a refresh until the stored word itself changes.
    QTest::keyClicks(first->wordField(), "draft");
    model->setCustomFiltersWatch(true);
    EXPECT_EQ(first->wordField()->text(), "draft");
    submit(last->wordField(), "  invoice ");
    EXPECT_EQ(stored().settings.customFilters[2].pattern, "invoice");
    EXPECT_EQ(last->wordField()->text(), "invoice");
    EXPECT_EQ(first->wordField()->text(), "draft");
    model->setCustomFilterPattern(ruleId(0), "bill");
    EXPECT_EQ(first->wordField()->text(), "bill");

    menuItem(first, "Receipts")->trigger();
    EXPECT_EQ(stored().settings.customFilters[0].collection, "Receipts");
    EXPECT_EQ(first->destinationLabel()->text(), "Receipts");
    EXPECT_TRUE(menuItem(first, "Receipts")->isChecked());
    EXPECT_FALSE(menuItem(first, "Work")->isChecked());

    // Removal by identity: the others keep their rows and their typing.
    const QUuid kept[] = {ruleId(0), ruleId(2)};
    QTest::keyClicks(last->wordField(), "s");
    QTest::mouseClick(row(1)->trashButton(), Qt::LeftButton);
    ASSERT_EQ(stored().settings.customFilters.size(), 2u);
    EXPECT_EQ(ruleId(0), kept[0]);
    EXPECT_EQ(ruleId(1), kept[1]);
    ASSERT_EQ(tab()->ruleRows().size(), 2u);
    EXPECT_EQ(row(0), first);
    EXPECT_EQ(row(1), last);
    EXPECT_EQ(last->wordField()->text(), "invoices");

    // Tab runs through the rules in their order, then on to the buttons under them.
    EXPECT_EQ(nextTab(find<KeyRecorderView>("Sort now shortcut")), first->enabledToggle());
    EXPECT_EQ(nextTab(first->wordField()), first->destinationButton());
    EXPECT_EQ(nextTab(first->trashButton()), last->enabledToggle());
    EXPECT_EQ(nextTab(last->trashButton()), find<QPushButton>("Add rule"));
}

TEST_F(AdvancedSection, TheNewDesktopAlertCreatesSelectsRefusesAndIgnoresABlankName)
{
    openWith({"Default", "Work"}, [](Config &c) {
        c.settings.customFiltersEnabled = true;
        c.settings.customFilters = {CustomFilter{}};
        c.settings.customFilters[0].collection = "Work";
    });
    showAdvanced();
    const int desktops = int(stored().workspaces.size());

    newDesktop(row(0), 0, "  \t ");
    EXPECT_EQ(stored().settings.customFilters[0].collection, "Work"); // a blank name changes nothing
    EXPECT_TRUE(errorMessage().isEmpty());

    newDesktop(row(0), 0, "_x");
    EXPECT_EQ(errorMessage(), "Names can't start with “_” (reserved).");
    EXPECT_EQ(stored().settings.customFilters[0].collection, "Work");
    EXPECT_EQ(row(0)->destinationLabel()->text(), "Work");
    ASSERT_EQ(dialogs.pending(), 1); // the window's own alert shows it
    EXPECT_EQ(lastQuestion().title, "Can't do that");
    EXPECT_EQ(lastQuestion().message, "Names can't start with “_” (reserved).");
    dialogs.answer(0);

    newDesktop(row(0), 1, "Bills"); // Cancel
    EXPECT_EQ(stored().settings.customFilters[0].collection, "Work");
    newDesktop(row(0), 0, "Default"); // an existing desktop is chosen, not made
    EXPECT_EQ(stored().settings.customFilters[0].collection, "Default");
    EXPECT_EQ(int(stored().workspaces.size()), desktops);

    newDesktop(row(0), 0, " Bills ");
    EXPECT_EQ(stored().settings.customFilters[0].collection, "Bills");
    EXPECT_EQ(int(stored().workspaces.size()), desktops + 1);
    EXPECT_TRUE(QDir(folder("Bills")).exists());
    EXPECT_NE(menuItem(row(0), "Bills"), nullptr);
}
