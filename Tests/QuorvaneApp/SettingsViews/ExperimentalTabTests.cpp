#include "SettingsViewHarness.h"

#include "Fakes/FakeSpaceProvider.h"
#include "SettingsViews/ColorSwatch.h"
#include "SettingsViews/DetailPane.h"
#include "SettingsViews/EpilepsyWarningSheet.h"
#include "SettingsViews/ExperimentalTab.h"
#include "SettingsViews/SpaceBindingRow.h"
#include "Shared/Style.h"
#include "Shared/SymbolIcon.h"
#include "Triggers/SpaceIdentifier.h"
#include "Windows/QtDialogs.h"

#include <QApplication>
#include <QCheckBox>
#include <QDialog>
#include <QLayout>
#include <QPushButton>
#include <QToolButton>

#include <algorithm>

using namespace quorvane;
using namespace quorvane::test;

namespace {

const QString fullScreenTip = "Leave the full-screen app first — full-screen workspaces can't be bound.";
const QString explanation = "Quorvane can't read workspaces on this desktop, so workspace-following is unavailable. "
                            "Everything else works normally.";

// The next control Tab reaches from w.
QWidget *nextStop(QWidget *w)
{
    for (QWidget *next = w->nextInFocusChain(); next && next != w; next = next->nextInFocusChain()) {
        if ((next->focusPolicy() & Qt::TabFocus) && next->isVisibleTo(next->window()) && next->isEnabled())
            return next;
    }
    return nullptr;
}

} // namespace

struct ExperimentalSection : SettingsViewHarness {
    FakeSpaceProvider provider;
    SpaceIdentifier spaces{provider};

    ExperimentalTab *tab() { return qobject_cast<ExperimentalTab *>(view->pane()->content()); }
    SettingsView &showExperimental(bool withSpaces = true)
    {
        services.spaces = withSpaces ? &spaces : nullptr;
        return show(SettingsSection::experimental);
    }
    // Desktops Default (active), Work and Receipts with following on, on the second of four workspaces.
    void openFollowing()
    {
        provider.desktops(4, 1);
        openWith({"Default", "Work", "Receipts"}, [](Config &c) { c.settings.followSpaces = true; });
        showExperimental();
    }
    SpaceBindingRow *row(const QString &name) { return tab()->bindingRow(name); }
    std::optional<QString> storedSpace(const QString &name) { return stored().workspace(name)->spaceUUID; }
    EpilepsyWarningSheet *sheet(std::size_t index)
    {
        return index < dialogs.forms.size() ? qobject_cast<EpilepsyWarningSheet *>(dialogs.forms[index].form.data())
                                            : nullptr;
    }
};

TEST_F(ExperimentalSection, NoCloudSyncToggleAndTheArchiveFolder)
{
    openWith({"Default"});
    showExperimental();
    EXPECT_EQ(label("iCloud"), nullptr); // no cloud-synced Desktop to warn about
    EXPECT_EQ(find<QCheckBox>("Warn about iCloud Desktop sync"), nullptr);

    // The chooser starts in the default archive folder, then in the one stored.
    click("Choose custom archive placement");
    ASSERT_EQ(dialogs.choosers.size(), 1u);
    const auto &first = dialogs.choosers[0];
    EXPECT_EQ(first.kind, ScriptedDialogs::Chooser::folder);
    EXPECT_EQ(first.parent, view->window());
    EXPECT_EQ(first.options.directory, paths.defaultArchiveRoot());
    EXPECT_EQ(first.options.acceptLabel, "Use Folder");
    const QString chosen = home.path() + "/Archives";
    QDir().mkpath(chosen);
    dialogs.choose(chosen);
    EXPECT_EQ(stored().settings.archiveRoot, chosen);

    const int saves = store.saves;
    click("Choose custom archive placement");
    EXPECT_EQ(dialogs.choosers[1].options.directory, chosen);
    dialogs.choose(std::nullopt); // cancelled
    EXPECT_EQ(store.saves, saves);
}

TEST_F(ExperimentalSection, WithoutWorkspacesOnlyTheExplanationShows)
{
    openWith({"Default"}, [](Config &c) { c.settings.followSpaces = true; });
    showExperimental(false);
    EXPECT_NE(label(explanation), nullptr);
    EXPECT_EQ(find<QCheckBox>("Follow workspaces"), nullptr);
    EXPECT_EQ(tab()->bindingRow("Default"), nullptr);

    // A window manager without workspaces reads the same; once it has them the controls show.
    provider.isAvailable = false;
    showExperimental();
    EXPECT_NE(label(explanation), nullptr);
    EXPECT_EQ(find<QCheckBox>("Follow workspaces"), nullptr);
    EXPECT_EQ(row("Default"), nullptr);
    provider.isAvailable = true;
    provider.desktops(2, 0);
    scheduler.advance(ExperimentalTab::refreshInterval);
    EXPECT_EQ(label(explanation), nullptr);
    ASSERT_NE(find<QCheckBox>("Follow workspaces"), nullptr);
    EXPECT_NE(label("You're on workspace 1 of 2."), nullptr);
    ASSERT_NE(row("Default"), nullptr);
    EXPECT_TRUE(row("Default")->bindButton()->isVisibleTo(view.get()));
}

TEST_F(ExperimentalSection, FollowingIsTurnedOnOnlyThroughTheWarning)
{
    provider.desktops(2, 0);
    openWith({"Default"});
    showExperimental();
    auto *follow = find<QCheckBox>("Follow workspaces");
    ASSERT_NE(follow, nullptr);
    EXPECT_EQ(label("Bindings"), nullptr); // only while following

    // Cancel, Escape and closing the window each leave it off, writing nothing.
    for (int answer = 0; answer < 3; ++answer) {
        QTest::mouseClick(follow, Qt::LeftButton);
        ASSERT_EQ(dialogs.forms.size(), std::size_t(answer + 1));
        EpilepsyWarningSheet *warning = sheet(answer);
        ASSERT_NE(warning, nullptr);
        EXPECT_EQ(dialogs.forms.back().parent, view->window());
        EXPECT_EQ(warning->windowTitle(), "Photosensitivity warning");
        EXPECT_EQ(tab()->warningSheet(), warning);
        EXPECT_FALSE(follow->isChecked()); // the stored value while the warning is up
        if (answer == 0)
            QTest::mouseClick(warning->cancelButton(), Qt::LeftButton);
        else if (answer == 1)
            QTest::keyClick(warning, Qt::Key_Escape);
        else
            dialogs.closeForm(dialogs.forms.back());
        EXPECT_FALSE(dialogs.forms.back().open);
        EXPECT_EQ(tab()->warningSheet(), nullptr);
        EXPECT_FALSE(follow->isChecked());
    }
    EXPECT_EQ(store.saves, 0);
    EXPECT_FALSE(stored().settings.followSpaces);

    QTest::mouseClick(follow, Qt::LeftButton);
    QTest::keyClick(sheet(3), Qt::Key_Return);
    EXPECT_TRUE(stored().settings.followSpaces);
    EXPECT_FALSE(dialogs.forms.back().open);
    EXPECT_TRUE(follow->isChecked());
    EXPECT_NE(label("Bindings"), nullptr);

    // Off at once, without asking.
    QTest::mouseClick(follow, Qt::LeftButton);
    EXPECT_FALSE(stored().settings.followSpaces);
    EXPECT_EQ(dialogs.forms.size(), 4u);
    EXPECT_EQ(label("Bindings"), nullptr);
}

TEST_F(ExperimentalSection, TheWarningAnswersItsKeysInsideARealDialog)
{
    QtDialogs real;
    QWidget parent;
    parent.show();
    int cancels = 0;
    int enables = 0;
    auto *warning = new EpilepsyWarningSheet([&] { ++cancels; }, [&] { ++enables; });
    real.presentForm(&parent, warning, [] {});
    auto *dialog = qobject_cast<QDialog *>(warning->window());
    ASSERT_NE(dialog, nullptr);
    EXPECT_EQ(dialog->windowTitle(), "Photosensitivity warning");
    EXPECT_EQ(warning->size(), QSize(EpilepsyWarningSheet::width, EpilepsyWarningSheet::height));
    // Workspaces change by key or pager here, not by a swipe.
    for (const QLabel *text : warning->findChildren<QLabel *>())
        EXPECT_FALSE(text->text().contains("swip", Qt::CaseInsensitive)) << text->text().toStdString();
    EXPECT_TRUE(warning->findChildren<QLabel *>().size() > 1);
    // Return is "Enable" even with the focus on "Cancel"; Escape is "Cancel" from either.
    warning->cancelButton()->setFocus();
    QTest::keyClick(warning->cancelButton(), Qt::Key_Return);
    EXPECT_EQ(enables, 1);
    EXPECT_EQ(cancels, 0);
    QTest::keyClick(warning->enableButton(), Qt::Key_Escape);
    EXPECT_EQ(cancels, 1);
    EXPECT_EQ(enables, 1);
    real.dismissForm(warning);
}

TEST_F(ExperimentalSection, DescribesTheSpaceShownNowWhileThePageIsOnScreen)
{
    openFollowing();
    EXPECT_NE(label("You're on workspace 2 of 4."), nullptr);
    EXPECT_EQ(tab()->spaceCount(), 4);
    EXPECT_EQ(row("Work")->bindButton()->toolTip(), "Bind “Work” to the workspace you're on now.");

    // Read again every two seconds, not in between.
    provider.desktops(3, 2);
    scheduler.advance(1.9);
    EXPECT_NE(label("You're on workspace 2 of 4."), nullptr);
    scheduler.advance(0.1);
    EXPECT_NE(label("You're on workspace 3 of 3."), nullptr);

    // A full-screen Space, an unreadable one and one outside the list.
    for (const auto &[situation, text] : {std::pair{0, QString("You're in a full-screen app — that workspace can't be bound.")},
                                          std::pair{1, QString("Can't read the current workspace right now.")}}) {
        if (situation == 0)
            provider.moveTo("full-screen", false);
        else
            provider.entries.reset();
        scheduler.advance(ExperimentalTab::refreshInterval);
        EXPECT_NE(label(text), nullptr) << text.toStdString();
        for (const QString name : {"Default", "Work", "Receipts"}) {
            QPushButton *bind = row(name)->bindButton();
            EXPECT_FALSE(bind->isEnabled()) << name.toStdString();
            EXPECT_EQ(bind->text(), "Bind");
            EXPECT_EQ(bind->toolTip(), fullScreenTip);
        }
    }
    provider.entries = QVariantList{QVariantMap{{"Display Identifier", "Main"},
                                                {"Spaces", QVariantList{FakeSpaceProvider::space("a")}},
                                                {"Current Space", FakeSpaceProvider::space("b")}}};
    scheduler.advance(ExperimentalTab::refreshInterval);
    EXPECT_NE(label("You're on an unrecognised workspace."), nullptr);
    EXPECT_TRUE(row("Work")->bindButton()->isEnabled());

    // Hidden (another page, or the window closed): no more reading.
    const std::size_t pending = scheduler.pendingCount();
    view->hide();
    EXPECT_EQ(scheduler.pendingCount(), pending - 1);
    provider.desktops(4, 0);
    scheduler.advance(10.0);
    EXPECT_EQ(tab()->currentSpace()->identity, "b");
    view->show();
    EXPECT_EQ(tab()->currentSpace()->identity, "ewmh-desktop-0"); // read again on showing
    view->select(SettingsSection::general);
    QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
    view->hide();
    EXPECT_EQ(scheduler.pendingCount(), 0u);
}

TEST_F(ExperimentalSection, BindingMovesAndAMissingSpaceCanBeUnbound)
{
    openFollowing();
    SpaceBindingRow *work = row("Work");
    SpaceBindingRow *receipts = row("Receipts");
    ASSERT_NE(work, nullptr);
    ASSERT_NE(receipts, nullptr);
    EXPECT_EQ(work->binding()->text(), "Not bound");
    EXPECT_FALSE(work->unbindButton()->isVisibleTo(view.get()));
    // The keyboard goes from the toggle down the rows.
    EXPECT_EQ(nextStop(tab()->followToggle()), row("Default")->bindButton());
    EXPECT_EQ(nextStop(row("Default")->bindButton()), work->bindButton()); // the hidden unbind is passed

    QTest::mouseClick(work->bindButton(), Qt::LeftButton);
    EXPECT_EQ(storedSpace("Work"), "ewmh-desktop-1");
    EXPECT_EQ(row("Work"), work); // rows are kept by name
    EXPECT_EQ(work->binding()->text(), "Workspace 2");
    EXPECT_EQ(work->bindButton()->text(), "Bound to this workspace");
    EXPECT_FALSE(work->bindButton()->isEnabled());
    ASSERT_TRUE(work->unbindButton()->isVisibleTo(view.get()));
    EXPECT_EQ(work->unbindButton()->toolTip(), "Unbind");
    EXPECT_EQ(work->unbindButton()->property(SymbolIcon::property).toString(), "xmark.circle");

    // The same Space for another desktop moves it there.
    QTest::mouseClick(receipts->bindButton(), Qt::LeftButton);
    EXPECT_EQ(storedSpace("Receipts"), "ewmh-desktop-1");
    EXPECT_EQ(storedSpace("Work"), std::nullopt);
    EXPECT_EQ(work->binding()->text(), "Not bound");
    EXPECT_EQ(work->bindButton()->text(), "Bind");
    EXPECT_FALSE(work->unbindButton()->isVisibleTo(view.get()));
    EXPECT_EQ(receipts->binding()->text(), "Workspace 2");

    // The workspace goes away: "Workspace missing" in orange, then unbound.
    provider.desktops(1, 0);
    scheduler.advance(ExperimentalTab::refreshInterval);
    EXPECT_EQ(receipts->binding()->text(), "Workspace missing");
    EXPECT_EQ(receipts->binding()->foregroundRole(), QPalette::WindowText);
    EXPECT_EQ(receipts->binding()->palette().color(QPalette::WindowText), Style::warningColor(QApplication::palette()));
    EXPECT_NE(work->binding()->palette().color(work->binding()->foregroundRole()), Style::warningColor(QApplication::palette()));
    EXPECT_EQ(receipts->bindButton()->text(), "Bind");
    QTest::mouseClick(receipts->unbindButton(), Qt::LeftButton);
    EXPECT_EQ(storedSpace("Receipts"), std::nullopt);
    EXPECT_EQ(receipts->binding()->text(), "Not bound");
    EXPECT_NE(receipts->binding()->palette().color(receipts->binding()->foregroundRole()), QColor(0xFF, 0x95, 0x00));

    // "Bind" takes the Space shown at the click, even between two readings.
    provider.desktops(3, 2);
    QTest::mouseClick(row("Default")->bindButton(), Qt::LeftButton);
    EXPECT_EQ(storedSpace("Default"), "ewmh-desktop-2");
    EXPECT_EQ(row("Default")->binding()->text(), "Workspace 3");
    provider.moveTo("full-screen", false);
    QTest::mouseClick(row("Work")->bindButton(), Qt::LeftButton); // still enabled until it reads
    EXPECT_EQ(storedSpace("Work"), std::nullopt);
    EXPECT_FALSE(row("Work")->bindButton()->isEnabled());
}

TEST_F(ExperimentalSection, RowsFollowTheLiveDesktopsInStoredOrder)
{
    provider.desktops(2, 0);
    openWith({}, [](Config &c) { c.settings.followSpaces = true; });
    showExperimental();
    EXPECT_NE(label("Create a desktop first, then bind it to a workspace."), nullptr);

    for (const QString name : {"Work", "Home"})
        ASSERT_TRUE(model->createWorkspace(name, WorkspaceType::permanent, std::nullopt, std::nullopt, false,
                                           std::nullopt, false));
    EXPECT_EQ(label("Create a desktop first, then bind it to a workspace."), nullptr);
    ASSERT_NE(row("Work"), nullptr);
    ASSERT_NE(row("Home"), nullptr);
    EXPECT_EQ(row("Home")->nameLabel()->text(), "Home");
    EXPECT_EQ(row("Home")->dot()->color(), colorFromHex(stored().workspace("Home")->colorHex));
    auto order = [this] {
        QStringList names;
        tab()->layout()->activate();
        std::vector<SpaceBindingRow *> rows;
        for (const QString name : {"Work", "Home", "House"}) {
            if (SpaceBindingRow *r = row(name))
                rows.push_back(r);
        }
        std::sort(rows.begin(), rows.end(), [](auto *a, auto *b) { return a->y() < b->y(); });
        for (SpaceBindingRow *r : rows)
            names.append(r->name());
        return names;
    };
    EXPECT_EQ(order(), (QStringList{"Work", "Home"}));
    model->setDeskOrder({"Home", "Work"});
    EXPECT_EQ(order(), (QStringList{"Home", "Work"}));
    SpaceBindingRow *work = row("Work");
    model->rename("Home", "House");
    EXPECT_EQ(row("Home"), nullptr);
    EXPECT_EQ(order(), (QStringList{"House", "Work"}));
    EXPECT_EQ(row("Work"), work);
    const int saves = store.saves;
    model->reload(); // a refresh writes nothing
    EXPECT_EQ(store.saves, saves);
}

// sway's workspaces are known by their names: the section says which one is current by its
// name, a binding shows the name it was bound to, and a workspace sway removed while it was
// empty (it makes it again when it is asked for) is still bound, not missing.
TEST_F(ExperimentalSection, SwaysWorkspacesGoByTheirNamesAndOneRemovedWhileEmptyStaysBound)
{
    provider.namedWorkspaces({"2"}, "2");
    openWith({"Default", "Work"}, [](Config &c) { c.settings.followSpaces = true; });
    showExperimental();
    EXPECT_NE(label("You're on workspace 2."), nullptr);
    SpaceBindingRow *work = row("Work");
    QTest::mouseClick(work->bindButton(), Qt::LeftButton);
    EXPECT_EQ(storedSpace("Work"), "wm-workspace-2");
    EXPECT_EQ(work->binding()->text(), "Workspace 2");

    provider.namedWorkspaces({"mail"}, "mail"); // sway left "2", empty, which it removes
    scheduler.advance(ExperimentalTab::refreshInterval);
    EXPECT_NE(label("You're on workspace mail."), nullptr);
    EXPECT_EQ(work->binding()->text(), "Workspace 2");
    EXPECT_EQ(work->binding()->foregroundRole(), QPalette::PlaceholderText);
    EXPECT_EQ(storedSpace("Work"), "wm-workspace-2");
}
