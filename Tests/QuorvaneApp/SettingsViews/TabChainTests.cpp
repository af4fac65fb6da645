#include "SettingsViewHarness.h"

#include "Fakes/FakeLoginItem.h"
#include "SettingsViews/DetailPane.h"
#include "SettingsViews/WorkspaceRow.h"

#include <QListWidget>
#include <QVariantAnimation>

using namespace quorvane;
using namespace quorvane::test;

namespace {

QString describe(const QList<QWidget *> &widgets)
{
    QStringList names;
    for (QWidget *w : widgets)
        names << QStringLiteral("%1(%2)").arg(w->accessibleName(), QString::fromLatin1(w->metaObject()->className()));
    return names.join(QStringLiteral(", "));
}

} // namespace

// Tab from the sidebar runs through the page's controls as they are shown, top to bottom and
// left to right within a line, each once, and comes back to the sidebar.
struct TabChain : SettingsViewHarness {
    FakeLoginItem login;

    QWidget *page() const { return view->pane()->content(); }
    QRect placed(QWidget *w) const { return QRect(w->mapTo(page(), QPoint(0, 0)), w->size()); }

    // The controls Tab can reach on the page: shown, enabled, not a part of another control.
    QList<QWidget *> reachable() const
    {
        QCoreApplication::sendPostedEvents();
        QList<QWidget *> found;
        for (QWidget *w : page()->findChildren<QWidget *>()) {
            if (!(w->focusPolicy() & Qt::TabFocus) || !w->isVisibleTo(view.get()) || !w->isEnabled())
                continue;
            bool part = false;
            for (QWidget *up = w->parentWidget(); up && up != page(); up = up->parentWidget())
                part = part || (up->focusPolicy() & Qt::TabFocus);
            if (!part)
                found << w;
        }
        return found;
    }
    QList<QWidget *> tabRound() const
    {
        QTest::qWait(20); // rows a refresh added show, and are laid out, then
        QListWidget *sidebar = view->sidebar();
        sidebar->setFocus(Qt::OtherFocusReason);
        QList<QWidget *> visited;
        for (int i = 0; i < 200; ++i) {
            QTest::keyClick(QApplication::focusWidget(), Qt::Key_Tab);
            QWidget *now = QApplication::focusWidget();
            if (!now || now == sidebar)
                break;
            visited << now;
        }
        return visited;
    }
    void expectVisualRound()
    {
        QList<QWidget *> visited = tabRound();
        // The header's button comes first, before the page.
        if (QWidget *header = view->pane()->trailing()) {
            ASSERT_FALSE(visited.isEmpty());
            EXPECT_EQ(visited.takeFirst(), header);
        }
        const QList<QWidget *> expected = reachable();
        ASSERT_FALSE(expected.isEmpty());
        EXPECT_EQ(QSet<QWidget *>(visited.begin(), visited.end()), QSet<QWidget *>(expected.begin(), expected.end()))
            << "visited: " << describe(visited).toStdString() << "\nreachable: " << describe(expected).toStdString();
        EXPECT_EQ(visited.size(), expected.size()) << describe(visited).toStdString();
        for (int i = 1; i < visited.size(); ++i) {
            const QRect a = placed(visited[i - 1]);
            const QRect b = placed(visited[i]);
            const bool sameLine = a.top() < b.bottom() && b.top() < a.bottom();
            EXPECT_TRUE(sameLine ? b.left() > a.left() : b.top() >= a.bottom())
                << describe({visited[i - 1]}).toStdString() << " at " << a.top() << "," << a.left() << " h" << a.height() << " then "
                << describe({visited[i]}).toStdString() << " at " << b.top() << "," << b.left() << " h" << b.height();
        }
    }
    void showActive(SettingsSection section)
    {
        services.info.identifier = "app.quorvane.Quorvane";
        services.loginItem = &login;
        show(section);
        view->activateWindow();
        ASSERT_TRUE(QTest::qWaitForWindowActive(view.get()));
    }
};

TEST_F(TabChain, GeneralRunsInItsRowsOrder)
{
    openWith({"Default", "Work"});
    showActive(SettingsSection::general);
    expectVisualRound();
    // The login toggle is the page's first stop.
    view->sidebar()->setFocus();
    QTest::keyClick(view->sidebar(), Qt::Key_Tab);
    EXPECT_EQ(QApplication::focusWidget()->accessibleName(), "Launch Quorvane on startup");
}

TEST_F(TabChain, FloatingDockRunsInItsRowsOrder)
{
    openWith({"Default", "Work"});
    showActive(SettingsSection::floatingDock);
    expectVisualRound();
}

TEST_F(TabChain, RowsARefreshAddsTakeTheirPlace)
{
    openWith({"Default", "Work"});
    showActive(SettingsSection::shortcuts);
    expectVisualRound();
    // A new desktop's recorder joins the per-desktop rows; a carousel stop joins its group.
    ASSERT_TRUE(model->createWorkspace("Later", WorkspaceType::permanent, std::nullopt, std::nullopt, false,
                                       std::nullopt, false));
    model->setOptionClickCarousel({"Work"});
    expectVisualRound();

    // An opened desktop row's details come right after the row.
    view->select(SettingsSection::workspaces);
    click<QAbstractButton>("Details of Work");
    for (WorkspaceRow *row : view->findChildren<WorkspaceRow *>())
        row->openAnimation()->setCurrentTime(WorkspaceRow::openMilliseconds);
    expectVisualRound();
}
