// Pages of many rows: the first rows at once, the rest right after the first paint, and not
// one read of the document of their own.
#include "SettingsViewHarness.h"

#include "SettingsViews/DetailPane.h"
#include "SettingsViews/GradualRows.h"
#include "SettingsViews/OrganisationTab.h"
#include "SettingsViews/ReorderableDesksList.h"
#include "SettingsViews/WorkspaceRow.h"
#include "SettingsViews/WorkspacesTab.h"

#include <QLineEdit>
#include <QMouseEvent>

using namespace quorvane;
using namespace quorvane::test;

namespace {

constexpr int desktops = 200;

QStringList names()
{
    QStringList out;
    for (int i = 0; i < desktops; ++i)
        out << QStringLiteral("Desk %1").arg(i, 3, 10, QLatin1Char('0'));
    return out;
}

} // namespace

struct LongPages : SettingsViewHarness {
    // 200 desktops, every fourth temporary, and 500 cleanups over them.
    void openLarge()
    {
        openWith(names(), [](Config &config) {
            for (std::size_t i = 3; i < config.workspaces.size(); i += 4)
                config.workspaces[i].type = WorkspaceType::temporary;
            for (int i = 0; i < 500; ++i)
                config.cleanupTasks.push_back(
                    CleanupTask{QUuid::createUuid(), {names()[i % desktops]}, 800000000.0 + 86400.0 * (i % 40)});
            config.settings.pinnedFolders = names().mid(0, 40);
        });
    }
    GradualRows *gradual() { return view->pane()->content()->findChild<GradualRows *>(); }
    // Until the page has painted and built its last row.
    bool settle()
    {
        for (int i = 0; i < 200 && !gradual()->finished(); ++i)
            QTest::qWait(10);
        return gradual()->finished();
    }
};

TEST_F(LongPages, EverySectionRefreshesFromTheOneLoadedDocument)
{
    openLarge();
    show();
    store.loads = 0;
    for (SettingsSection section : {SettingsSection::workspaces, SettingsSection::pinnedFolders,
                                    SettingsSection::organisation, SettingsSection::shortcuts}) {
        view->select(section);
        ASSERT_TRUE(settle()) << rawValue(section).toStdString();
        EXPECT_EQ(store.loads, 0) << rawValue(section).toStdString();
        // A refresh of every row reads the document once, the model's own load.
        model->reload();
        EXPECT_EQ(store.loads, 1) << rawValue(section).toStdString();
        store.loads = 0;
    }
    view->select(SettingsSection::organisation);
    ASSERT_TRUE(settle());
    auto *organize = qobject_cast<OrganisationTab *>(view->pane()->content());
    ASSERT_NE(organize, nullptr);
    EXPECT_NE(organize->temporaryRow(names()[199]), nullptr);
    EXPECT_NE(organize->ledgerRow(names()[199]), nullptr);
}

TEST_F(LongPages, TheDesktopsListBuildsItsLastRowsAfterItsFirstPaintInOrder)
{
    openLarge();
    show(SettingsSection::workspaces);
    auto *list = qobject_cast<WorkspacesTab *>(view->pane()->content())->desksList();
    EXPECT_EQ(list->order(), names());
    ASSERT_NE(list->row(names().front()), nullptr);
    EXPECT_EQ(list->row(names().back()), nullptr); // not yet

    // A drag before the rest is built still writes every desktop, in the new order.
    WorkspaceRow *first = list->row(names().front());
    const QPoint start = first->filler()->mapTo(list, first->filler()->rect().center());
    const auto send = [&](QEvent::Type type, QPoint at, Qt::MouseButtons held) {
        const QPointF global = list->mapToGlobal(QPointF(at));
        QMouseEvent event(type, first->filler()->mapFromGlobal(global), global, Qt::LeftButton, held, Qt::NoModifier);
        QCoreApplication::sendEvent(first->filler(), &event);
    };
    send(QEvent::MouseButtonPress, start, Qt::LeftButton);
    for (int step = 1; step <= 4; ++step)
        send(QEvent::MouseMove, start + QPoint(0, 11 * step), Qt::LeftButton);
    send(QEvent::MouseButtonRelease, start + QPoint(0, 44), Qt::NoButton);
    QStringList moved = names();
    moved.swapItemsAt(0, 1);
    EXPECT_EQ(storedNames().mid(0, desktops), moved);

    ASSERT_TRUE(settle());
    for (const QString &name : moved)
        ASSERT_NE(list->row(name), nullptr) << name.toStdString();
    // The last rows joined the keyboard's order after the ones before them.
    WorkspaceRow *secondLast = list->row(moved[desktops - 2]);
    QWidget *next = secondLast->nameField()->nextInFocusChain();
    while (next && (secondLast->isAncestorOf(next) || !(next->focusPolicy() & Qt::TabFocus)))
        next = next->nextInFocusChain();
    EXPECT_EQ(next, list->row(moved.back())->nameField());
}
